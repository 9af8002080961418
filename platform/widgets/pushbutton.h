#pragma once
// A push button with a click and a mouse-move event. Enter and keypad Enter
// click it when it has the focus, as Space does.

#include <QPushButton>

namespace widgets {

class PushButton : public QPushButton {
    Q_OBJECT
public:
    explicit PushButton(QWidget* parent = nullptr);

signals:
    void MouseMove();

protected:
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
};

} // namespace widgets
