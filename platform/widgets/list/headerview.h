#pragma once
// A list's column headers: the section as the desktop's style draws it, the
// label in the header's full text colour. Some styles draw the label at half
// opacity, which leaves it too faint on the skin's light headers.

#include <QHeaderView>

namespace widgets {

class HeaderView : public QHeaderView {
    Q_OBJECT
public:
    using QHeaderView::QHeaderView;

protected:
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;
};

} // namespace widgets
