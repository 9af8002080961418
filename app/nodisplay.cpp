#include "app/nodisplay.h"

#include "app/waylandseat.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <cstdio>
#include <cstring>
#include <unistd.h>
#include <xcb/xcb.h>

namespace app {
namespace {

// The value of Qt's option `name` ("-platform xcb", "-platform=xcb", "--platform xcb").
QString optionValue(const QStringList& arguments, const QString& name)
{
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString argument =
            arguments[i].startsWith(QLatin1String("--")) ? arguments[i].mid(1) : arguments[i];
        if (argument == name)
            return arguments.value(i + 1);
        if (argument.startsWith(name + QLatin1Char('=')))
            return argument.mid(name.size() + 1);
    }
    return {};
}

// What Qt tries when nothing names a platform: X11, or Wayland first in a
// Wayland session.
QString defaultPlatforms(const QProcessEnvironment& environment)
{
    const bool waylandSession =
        environment.value(QStringLiteral("XDG_SESSION_TYPE")) == QLatin1String("wayland");
    return waylandSession ? QStringLiteral("wayland;xcb") : QStringLiteral("xcb;wayland");
}

bool hasWaylandPlugin(const QStringList& pluginFolders)
{
    for (const QString& folder : pluginFolders) {
        const QDir platforms(folder + QLatin1String("/platforms"));
        if (!platforms.entryList({QStringLiteral("libqwayland-*.so")}, QDir::Files).isEmpty())
            return true;
    }
    return false;
}

// A compositor listens at the socket that WAYLAND_DISPLAY names (a name in
// XDG_RUNTIME_DIR, or a path); one handed over as WAYLAND_SOCKET is taken as is.
bool compositorAnswers(const QProcessEnvironment& environment)
{
    if (environment.contains(QStringLiteral("WAYLAND_SOCKET")))
        return true;
    const int fd = ConnectToCompositor(environment);
    if (fd >= 0)
        ::close(fd);
    return fd >= 0;
}

// An X server answers at the display (the environment's DISPLAY when empty):
// one that is named but gone (an ssh session without forwarding) makes Qt abort.
bool displayAnswers(const QString& display)
{
    const QByteArray name = display.toLocal8Bit();
    xcb_connection_t* connection = xcb_connect(name.isEmpty() ? nullptr : name.constData(), nullptr);
    const bool answers = xcb_connection_has_error(connection) == 0;
    xcb_disconnect(connection);
    return answers;
}

} // namespace

QString UsablePlatforms(const QStringList& arguments, const QProcessEnvironment& environment,
                        const QStringList& pluginFolders, const DisplayProbe& answers)
{
    QString platforms = optionValue(arguments, QStringLiteral("-platform"));
    if (platforms.isEmpty())
        platforms = environment.value(QStringLiteral("QT_QPA_PLATFORM"));
    if (platforms.isEmpty())
        platforms = defaultPlatforms(environment);
    const QString display = optionValue(arguments, QStringLiteral("-display"));
    const QString x11Display =
        display.isEmpty() ? environment.value(QStringLiteral("DISPLAY")) : display;
    const bool x11 = !x11Display.isEmpty() && (!answers || answers(x11Display));
    int wayland = -1; // asked once, when a Wayland entry comes
    QStringList usable;
    // "wayland;xcb", each name perhaps with options after a colon.
    for (const QString& entry : platforms.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const QString name = entry.section(QLatin1Char(':'), 0, 0).trimmed();
        if (name.startsWith(QLatin1String("wayland")) && wayland < 0)
            wayland = hasWaylandPlugin(pluginFolders) && compositorAnswers(environment);
        const bool opens = name == QLatin1String("xcb")                ? x11
                           : name.startsWith(QLatin1String("wayland")) ? wayland == 1
                                                                       : true;
        if (opens)
            usable << entry;
    }
    // Where Wayland was asked for alone and cannot open, X11 may still.
    if (usable.isEmpty() && x11 && wayland == 0)
        usable << QStringLiteral("xcb");
    return usable.join(QLatin1Char(';'));
}

QString UsablePlatforms(const QStringList& arguments, const QProcessEnvironment& environment)
{
    QStringList folders = QCoreApplication::libraryPaths();
    const QString platformFolder = environment.value(QStringLiteral("QT_QPA_PLATFORM_PLUGIN_PATH"));
    if (!platformFolder.isEmpty())
        folders << platformFolder + QLatin1String("/..");
    return UsablePlatforms(arguments, environment, folders, displayAnswers);
}

bool NoDisplay(const QStringList& arguments, const QProcessEnvironment& environment)
{
    return UsablePlatforms(arguments, environment).isEmpty();
}

PlatformChoice::PlatformChoice(const QString& platforms)
{
    set("QT_QPA_PLATFORM", platforms.toLocal8Bit());
    // Without a seat there is no keyboard to type with: no input method.
    if (platforms.startsWith(QLatin1String("wayland")) && !qEnvironmentVariableIsSet("QT_IM_MODULE") &&
        !CompositorHasSeat(QProcessEnvironment::systemEnvironment()))
        set("QT_IM_MODULE", "none");
}

void PlatformChoice::set(const char* name, const QByteArray& value)
{
    before_.push_back({name, qgetenv(name), qEnvironmentVariableIsSet(name)});
    qputenv(name, value);
}

void PlatformChoice::restore()
{
    for (const Before& b : before_) {
        if (b.wasSet)
            qputenv(b.name, b.value);
        else
            qunsetenv(b.name);
    }
    before_.clear();
}

int reportNoDisplay()
{
    std::fputs("meridane: no display to open the window on (no DISPLAY, and no Wayland compositor "
               "that Qt can reach at WAYLAND_DISPLAY); 'meridane --help' tells how to run the job "
               "without a window\n",
               stderr);
    return 1;
}

} // namespace app
