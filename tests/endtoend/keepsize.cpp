// Run under a Wayland compositor: the main window, then a message box, is
// put into the maximized and the full-screen state at the window system's
// level, as a compositor's own maximize (a keyboard shortcut, a double click
// on the title bar) comes: the compositor configures the state with the
// size of its screen, and the window gets to hear of it only then. The main
// window takes that size and its own back when the state is left; the
// message box keeps its size and state. The compositor must have found
// nothing wrong with the sizes it was sent (after a round trip with it: a
// protocol error would have ended the process with status 1). Then both
// file dialogs open and close: the compositor has no seat, where Qt's input
// method would crash.
//
//   keepsize    status 0 and "ok" lines when all held
#include "app/nodisplay.h"
#include "platform/dialogs/dialogs.h"
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

// Sets the state at the window system's level and waits until the window
// has heard of it and is in `shown` state at a size that `fits`.
template <typename Fits>
bool reaches(QWidget* window, Qt::WindowState state, Qt::WindowStates shown, Fits fits)
{
    auto* watch = new StateWatch;
    watch->setParent(window);
    window->installEventFilter(watch);
    window->windowHandle()->setWindowStates(state);
    const bool reached = until([&] {
        return (state == Qt::WindowNoState || watch->larger > 0) &&
               window->windowState() == shown && fits(window->size());
    });
    delete watch;
    return reached;
}

// The main window (`keeps` false) takes the screen's size and gives it back;
// a message box keeps its own.
void answersLarger(QWidget* window, const char* name, bool keeps)
{
    if (!until([&] { return window->windowHandle() && window->windowHandle()->isExposed(); }))
        return fail("never shown", window);
    const QSize size = window->size();
    const auto same = [&](QSize now) { return now == size; };
    const auto larger = [&](QSize now) { return now.width() > size.width() && now.height() > size.height(); };
    const std::pair<Qt::WindowState, const char*> states[] = {
        {Qt::WindowMaximized, "maximized"}, {Qt::WindowFullScreen, "full screen"}};
    for (const auto& [state, stateName] : states) {
        const bool answered = keeps ? reaches(window, state, Qt::WindowNoState, same)
                                    : reaches(window, state, state, larger) &&
                                          reaches(window, Qt::WindowNoState, Qt::WindowNoState, same);
        if (!answered)
            return fail(stateName, window);
        window->repaint();
        QGuiApplication::sync();
        std::printf("ok: %s, %s: %s %dx%d\n", name, stateName, keeps ? "kept" : "took the screen, then",
                    size.width(), size.height());
    }
}

// A file dialog opened through the dialogs' seam, closed once it is up.
void opensAndCloses(bool save)
{
    QTimer up;
    up.setInterval(10);
    QObject::connect(&up, &QTimer::timeout, [&] {
        if (QWidget* dialog = QApplication::activeModalWidget()) {
            up.stop();
            dialog->close();
        }
    });
    up.start();
    platform::FileDialogRequest request;
    request.title = save ? QStringLiteral("Save") : QStringLiteral("Load");
    if (save)
        platform::get<platform::Dialogs>().saveFile(request);
    else
        platform::get<platform::Dialogs>().openFiles(request);
    std::printf("ok: the %s dialog opened and closed\n", save ? "save" : "open");
}

} // namespace

int main(int argc, char* argv[])
{
    // The platform and input method as the program's start chooses them.
    app::PlatformChoice choice(
        app::UsablePlatforms(QStringList(), QProcessEnvironment::systemEnvironment()));
    QApplication app(argc, argv);
    choice.restore();
    window::Form1 form;
    form.Form_Load();
    form.show();
    form.PushButton7_Click(); // the example points
    answersLarger(&form, "the window", false);
    // The run's "Done." box, once it is up (looked for at each turn of the event loop).
    QTimer boxUp;
    boxUp.setInterval(10);
    QObject::connect(&boxUp, &QTimer::timeout, [&] {
        QWidget* box = QApplication::activeModalWidget();
        if (!box)
            return;
        boxUp.stop();
        answersLarger(box, "the message box", true);
        box->close();
    });
    boxUp.start();
    form.PushButton17_Click(); // the run, and its "Done."
    QGuiApplication::sync();
    opensAndCloses(false);
    opensAndCloses(true);
    return failed ? 1 : 0;
}
