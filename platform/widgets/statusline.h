#pragma once
// One line of text under the window's controls that says what the last load,
// run or change of the results did. A screen reader knows it as a status bar
// and hears each new text.

#include <QLabel>

namespace widgets {

class StatusLine : public QLabel {
    Q_OBJECT
public:
    explicit StatusLine(QWidget* parent = nullptr);
    void tell(const QString& text);
};

} // namespace widgets
