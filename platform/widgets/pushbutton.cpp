#include "platform/widgets/pushbutton.h"

#include <QKeyEvent>

namespace widgets {

PushButton::PushButton(QWidget* parent)
    : QPushButton(parent)
{
    setMouseTracking(true);
}

void PushButton::mouseMoveEvent(QMouseEvent* event)
{
    emit MouseMove();
    QPushButton::mouseMoveEvent(event);
}

void PushButton::keyPressEvent(QKeyEvent* event)
{
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    const auto others = event->modifiers() & ~Qt::KeypadModifier;
    if (!enter || others != Qt::NoModifier) {
        QPushButton::keyPressEvent(event);
        return;
    }
    // One click per press: a held key does not repeat it.
    if (!event->isAutoRepeat())
        click();
    event->accept();
}

} // namespace widgets
