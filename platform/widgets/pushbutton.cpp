#include "platform/widgets/pushbutton.h"

namespace platform {

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

} // namespace platform
