#include "platform/dialogs/fixedwindow.h"

#include <QEvent>
#include <QGuiApplication>
#include <QTimer>

namespace platform {
namespace {

constexpr Qt::WindowStates kLarger = Qt::WindowMaximized | Qt::WindowFullScreen;

// A Wayland compositor may configure the maximized state with the size of
// its screen all the same (a keyboard shortcut, a double click on the title
// bar), and takes it as a protocol error, which ends the program, when the
// window then keeps a size of its own. There the window takes any size it
// is given, its controls where they are, and asks for its own size and
// state back at once; elsewhere the window system keeps it at its size.
class SizeKeeper final : public QObject {
public:
    explicit SizeKeeper(QWidget* window)
        : QObject(window)
        , window_(window)
        , anySize_(QGuiApplication::platformName().startsWith(QLatin1String("wayland")))
    {
        window->installEventFilter(this);
    }

    bool eventFilter(QObject*, QEvent* event) override
    {
        // From the event loop: the event is still being delivered.
        // A message box fixes its size again whenever it lays itself out.
        if (anySize_ && !lifting_ && window_->maximumSize() != kAnySize) {
            lifting_ = true;
            later([this] {
                lifting_ = false;
                window_->setMaximumSize(kAnySize);
            });
        }
        switch (event->type()) {
        case QEvent::WindowStateChange:
            if (window_->windowState() & kLarger)
                later([this] { window_->setWindowState(window_->windowState() & ~kLarger); });
            break;
        case QEvent::Resize:
            if (anySize_ && !(window_->windowState() & kLarger) &&
                window_->size() != window_->minimumSize())
                later([this] { window_->resize(window_->minimumSize()); });
            break;
        default:
            break;
        }
        return false;
    }

private:
    template <typename F> void later(F action) { QTimer::singleShot(0, this, action); }

    static constexpr QSize kAnySize{QWIDGETSIZE_MAX, QWIDGETSIZE_MAX};
    QWidget* window_;
    bool anySize_;
    bool lifting_ = false;
};

} // namespace

void keepFixedSize(QWidget* window)
{
    const Qt::WindowFlags type = window->windowFlags() & Qt::WindowType_Mask;
    Qt::WindowFlags hints = Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                            Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    if (type == Qt::Window)
        hints |= Qt::WindowMinimizeButtonHint;
    window->setWindowFlags(type | hints);
    new SizeKeeper(window);
}

} // namespace platform
