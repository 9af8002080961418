#include "platform/widgets/list/headerview.h"

#include <QPainter>
#include <QStyleOptionHeader>
#include <utility>

namespace widgets {

void HeaderView::paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const
{
    if (!rect.isValid())
        return;
    QStyleOptionHeader option;
    initStyleOption(&option);
    initStyleOptionForIndex(&option, logicalIndex);
    option.rect = rect;
    const QString text = std::exchange(option.text, QString());
    style()->drawControl(QStyle::CE_Header, &option, painter, this);
    const QRect label = style()->subElementRect(QStyle::SE_HeaderLabel, &option, this);
    // In the section's own clip and at full opacity, whatever the style left.
    painter->save();
    painter->setOpacity(1);
    painter->setClipRect(rect);
    painter->setPen(option.palette.color(QPalette::ButtonText));
    painter->drawText(label, int(option.textAlignment),
                      fontMetrics().elidedText(text, Qt::ElideRight, label.width()));
    painter->restore();
}

} // namespace widgets
