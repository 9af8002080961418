#include "platform/widgets/statusline.h"

#include <QAccessible>

namespace widgets {

StatusLine::StatusLine(QWidget* parent)
    : QLabel(parent)
{
    setTextFormat(Qt::PlainText);
    setTextInteractionFlags(Qt::TextSelectableByMouse);
    setFocusPolicy(Qt::NoFocus);
}

void StatusLine::tell(const QString& text)
{
    if (text == this->text())
        return;
    setText(text);
    setToolTip(text); // the whole text where the window is too narrow for it
    if (QAccessible::isActive()) {
        QAccessibleEvent event(this, QAccessible::NameChanged);
        QAccessible::updateAccessibility(&event);
    }
}

} // namespace widgets
