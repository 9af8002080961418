#include "platform/widgets/windowgone.h"

#include <QAbstractNativeEventFilter>
#include <QCoreApplication>
#include <xcb/xcb.h>

namespace widgets {
namespace {

// Looks at every event the window system delivers, in any event loop (a
// yielding run's, a message box's), for the end of one window.
class GoneWatch final : public QObject, public QAbstractNativeEventFilter {
public:
    GoneWatch(QWidget* window, std::function<void()> gone)
        : QObject(window)
        , window_(window)
        , gone_(std::move(gone))
    {
        QCoreApplication::instance()->installNativeEventFilter(this);
    }

    ~GoneWatch() override
    {
        if (auto* app = QCoreApplication::instance())
            app->removeNativeEventFilter(this);
    }

    bool nativeEventFilter(const QByteArray& type, void* message, qintptr*) override
    {
        if (gone_ && type == "xcb_generic_event_t" && isOurs(message)) {
            const auto gone = std::exchange(gone_, {});
            gone();
        }
        return false; // the event goes on as usual
    }

private:
    bool isOurs(const void* message) const
    {
        const auto* event = static_cast<const xcb_generic_event_t*>(message);
        if ((event->response_type & ~0x80) != XCB_DESTROY_NOTIFY)
            return false;
        const WId id = window_->internalWinId();
        return id != 0 && id == static_cast<const xcb_destroy_notify_event_t*>(message)->window;
    }

    QWidget* window_;
    std::function<void()> gone_;
};

} // namespace

void onWindowGone(QWidget* window, std::function<void()> gone)
{
    new GoneWatch(window, std::move(gone));
}

} // namespace widgets
