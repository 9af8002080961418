// Run under a Wayland compositor: the main window, then a message box, is
// put into the maximized and the full-screen state at the window system's
// level, as a compositor's own maximize (a keyboard shortcut, a double click
// on the title bar) comes: the compositor configures the state with the
// size of its screen, and the window gets to hear of it only then. Each
// must end up in its own size and state again, and the compositor must have
// found nothing wrong with the sizes it was sent (after a round trip with
// it: a protocol error would have ended the process with status 1).
//
//   keepsize    status 0 and "ok" lines when all held
#include "window/form1.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QTimer>
#include <QWindow>
#include <cstdio>

namespace {

bool failed = false;

void fail(const char* what, QWidget* window)
{
    std::fprintf(stderr, "FAIL: %s (%s: %dx%d, state %d)\n", what,
                 qPrintable(window->windowTitle()), window->width(), window->height(),
                 int(window->windowState()));
    failed = true;
}

// Polls the event loop until `done`, for at most a minute.
template <typename F> bool until(F done)
{
    const QDeadlineTimer deadline(60000);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        QGuiApplication::sync(); // a round trip: the compositor's answers are in
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    }
    return true;
}

// Counts the window states the widget hears of.
struct StateWatch final : QObject {
    int larger = 0;
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::WindowStateChange)
            larger += (static_cast<QWidget*>(parent())->windowState() &
                       (Qt::WindowMaximized | Qt::WindowFullScreen)) != 0;
        return false;
    }
};

void keepsItsSize(QWidget* window, const char* name)
{
    if (!until([&] { return window->windowHandle() && window->windowHandle()->isExposed(); }))
        return fail("never shown", window);
    const QSize size = window->size();
    const std::pair<Qt::WindowState, const char*> states[] = {
        {Qt::WindowMaximized, "maximized"}, {Qt::WindowFullScreen, "full screen"}};
    for (const auto& [state, stateName] : states) {
        auto* watch = new StateWatch;
        watch->setParent(window);
        window->installEventFilter(watch);
        window->windowHandle()->setWindowStates(state);
        const bool back = until([&] {
            return watch->larger > 0 && window->windowState() == Qt::WindowNoState &&
                   window->size() == size;
        });
        delete watch;
        if (!back)
            return fail(stateName, window);
        window->repaint();
        QGuiApplication::sync();
        std::printf("ok: %s, %s: kept %dx%d\n", name, stateName, size.width(), size.height());
    }
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    window::Form1 form;
    form.Form_Load();
    form.show();
    form.PushButton7_Click(); // the example points
    keepsItsSize(&form, "the window");
    // The run's "Done." box, once it is up (looked for at each turn of the event loop).
    QTimer boxUp;
    boxUp.setInterval(10);
    QObject::connect(&boxUp, &QTimer::timeout, [&] {
        QWidget* box = QApplication::activeModalWidget();
        if (!box)
            return;
        boxUp.stop();
        keepsItsSize(box, "the message box");
        box->close();
    });
    boxUp.start();
    form.PushButton17_Click(); // the run, and its "Done."
    QGuiApplication::sync();
    return failed ? 1 : 0;
}
