#include "app/nodisplay.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <cstdio>
#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

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
    const QString name = environment.value(QStringLiteral("WAYLAND_DISPLAY"));
    const QString folder = environment.value(QStringLiteral("XDG_RUNTIME_DIR"));
    if (name.isEmpty() || (!name.startsWith(QLatin1Char('/')) && folder.isEmpty()))
        return false;
    const QByteArray path = QFile::encodeName(
        name.startsWith(QLatin1Char('/')) ? name : folder + QLatin1Char('/') + name);
    sockaddr_un address{};
    if (path.size() >= qsizetype(sizeof address.sun_path))
        return false;
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, path.constData(), size_t(path.size()));
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    const bool answered =
        ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
    ::close(fd);
    return answered;
}

} // namespace

QString UsablePlatforms(const QStringList& arguments, const QProcessEnvironment& environment,
                        const QStringList& pluginFolders)
{
    QString platforms = optionValue(arguments, QStringLiteral("-platform"));
    if (platforms.isEmpty())
        platforms = environment.value(QStringLiteral("QT_QPA_PLATFORM"));
    if (platforms.isEmpty())
        platforms = defaultPlatforms(environment);
    const bool x11 = !environment.value(QStringLiteral("DISPLAY")).isEmpty() ||
                     !optionValue(arguments, QStringLiteral("-display")).isEmpty();
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
    return UsablePlatforms(arguments, environment, folders);
}

bool NoDisplay(const QStringList& arguments, const QProcessEnvironment& environment)
{
    return UsablePlatforms(arguments, environment).isEmpty();
}

PlatformChoice::PlatformChoice(const QString& platforms)
    : before_(qgetenv("QT_QPA_PLATFORM"))
    , wasSet_(qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
{
    qputenv("QT_QPA_PLATFORM", platforms.toLocal8Bit());
}

void PlatformChoice::restore()
{
    if (wasSet_)
        qputenv("QT_QPA_PLATFORM", before_);
    else
        qunsetenv("QT_QPA_PLATFORM");
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
