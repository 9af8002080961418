// The window's mouse pointer: its value, the pointer shown for it, and the
// hover handlers that set it. The hand shows over the ten push buttons only;
// the hourglass shows everywhere and no hover replaces it.

#include "window/form1.h"

#include "platform/widgets/cursorfile.h"

#include <QEvent>
#include <QHeaderView>
#include <QMouseEvent>

namespace window {

namespace {

// Hands the mouse moves that reach a widget to a handler, and lets none of
// them travel on to the window behind it.
class MouseMoves final : public QObject {
public:
    MouseMoves(QWidget* widget, std::function<void()> handler)
        : QObject(widget)
        , handler_(std::move(handler))
    {
        widget->setMouseTracking(true);
        widget->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::MouseMove)
            handler_();
        return false;
    }

private:
    std::function<void()> handler_;
};

// While the hourglass shows, the moves that would turn a header's dividers
// into resize arrows do not reach the header; a drag already begun goes on.
class HourglassOverDividers final : public QObject {
public:
    HourglassOverDividers(QHeaderView* header, const Form1& form)
        : QObject(header)
        , form_(form)
    {
        header->viewport()->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        return event->type() == QEvent::MouseMove &&
               static_cast<QMouseEvent*>(event)->buttons() == Qt::NoButton &&
               form_.MousePointer() == Form1::kHourglass;
    }

private:
    const Form1& form_;
};

} // namespace

QList<widgets::PushButton*> Form1::pushButtons() const
{
    return {PushButton1, PushButton2, PushButton3, PushButton4,  PushButton5,
            PushButton6, PushButton7, PushButton8, PushButton13, PushButton17};
}

void Form1::connectHoverHandlers()
{
    const std::pair<widgets::PushButton*, void (Form1::*)()> buttons[] = {
        {PushButton1, &Form1::PushButton1_MouseMove},
        {PushButton2, &Form1::PushButton2_MouseMove},
        {PushButton3, &Form1::PushButton3_MouseMove},
        {PushButton4, &Form1::PushButton4_MouseMove},
        {PushButton5, &Form1::PushButton5_MouseMove},
        {PushButton6, &Form1::PushButton6_MouseMove},
        {PushButton7, &Form1::PushButton7_MouseMove},
        {PushButton8, &Form1::PushButton8_MouseMove},
        {PushButton13, &Form1::PushButton13_MouseMove},
        {PushButton17, &Form1::PushButton17_MouseMove},
    };
    for (const auto& [b, handler] : buttons)
        connect(b, &widgets::PushButton::MouseMove, this, handler);
    connect(ListView1, &widgets::ListView::MouseMove, this, &Form1::ListView1_MouseMove);
    connect(ListView2, &widgets::ListView::MouseMove, this, &Form1::ListView2_MouseMove);
    new MouseMoves(ListView1->horizontalHeader()->viewport(), [this] { ListView1_MouseMove(); });
    new MouseMoves(ListView2->horizontalHeader()->viewport(), [this] { ListView2_MouseMove(); });
    for (widgets::ListView* list : {ListView1, ListView2})
        new HourglassOverDividers(list->horizontalHeader(), *this);
    new MouseMoves(Frame1, [this] { Frame1_MouseMove(); });
    new MouseMoves(this, [this] { Form_MouseMove(); });
    // A move over a control reaches its own handler or none: never the
    // frame's or the window's behind it. Over the option buttons and the
    // progress bar the value stays as it is.
    for (QWidget* control : findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        control->setAttribute(Qt::WA_NoMousePropagation);
    for (int k = 1; k <= 4; ++k)
        option(k)->setAttribute(Qt::WA_NoMousePropagation);
}

void Form1::setMousePointer(int value)
{
    if (value == mousePointer_)
        return;
    mousePointer_ = value;
    showPointer();
}

void Form1::showPointer()
{
    if (mousePointer_ == kHourglass) {
        setCursor(Qt::WaitCursor);
        // A header shows its resize arrows over a divider: not over the hourglass.
        ListView1->horizontalHeader()->unsetCursor();
        ListView2->horizontalHeader()->unsetCursor();
    } else {
        unsetCursor();
    }
    for (widgets::PushButton* b : pushButtons()) {
        if (mousePointer_ == kCustomPointer)
            b->setCursor(customPointer_);
        else
            b->unsetCursor();
    }
}

void Form1::loadCustomPointer(const QString& path)
{
    // At the size of the desktop's cursors: the larger hand on a screen of
    // high density, or where the desktop's cursors are large.
    customPointer_ =
        widgets::loadCursorFile(path, widgets::desktopCursorPixels(devicePixelRatioF()));
    showPointer();
}

void Form1::hover(int value)
{
    if (MousePointer() == kHourglass)
        return;
    setMousePointer(value);
}

void Form1::PushButton1_MouseMove() { hover(kCustomPointer); }
void Form1::PushButton2_MouseMove() { hover(kCustomPointer); }
void Form1::PushButton3_MouseMove() { hover(kCustomPointer); }
void Form1::PushButton4_MouseMove() { hover(kCustomPointer); }
void Form1::PushButton5_MouseMove() { hover(kCustomPointer); }
void Form1::PushButton6_MouseMove() { hover(kCustomPointer); }
void Form1::PushButton7_MouseMove() { hover(kCustomPointer); }
void Form1::PushButton8_MouseMove() { hover(kCustomPointer); }
void Form1::PushButton13_MouseMove() { hover(kCustomPointer); }
void Form1::PushButton17_MouseMove() { hover(kCustomPointer); }
void Form1::Form_MouseMove() { hover(kDefaultPointer); }
void Form1::Frame1_MouseMove() { hover(kDefaultPointer); }
void Form1::ListView1_MouseMove() { hover(kDefaultPointer); }
void Form1::ListView2_MouseMove() { hover(kDefaultPointer); }

} // namespace window
