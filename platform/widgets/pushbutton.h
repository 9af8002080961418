#pragma once
// A push button with a click and a mouse-move event.

#include <QPushButton>

namespace platform {

class PushButton : public QPushButton {
    Q_OBJECT
public:
    explicit PushButton(QWidget* parent = nullptr);

signals:
    void MouseMove();

protected:
    void mouseMoveEvent(QMouseEvent* event) override;
};

} // namespace platform
