#include "app/nodisplay.h"

#include <cstdio>

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

bool opensOn(const QString& platform, bool x11, bool wayland)
{
    if (platform == QLatin1String("xcb"))
        return x11;
    if (platform.startsWith(QLatin1String("wayland")))
        return wayland;
    return true; // offscreen, minimal, vnc, eglfs, ...: no display needed
}

} // namespace

bool NoDisplay(const QStringList& arguments, const QProcessEnvironment& environment)
{
    QString platforms = optionValue(arguments, QStringLiteral("-platform"));
    if (platforms.isEmpty())
        platforms = environment.value(QStringLiteral("QT_QPA_PLATFORM"));
    if (platforms.isEmpty())
        platforms = QStringLiteral("xcb;wayland");
    const bool x11 = !environment.value(QStringLiteral("DISPLAY")).isEmpty() ||
                     !optionValue(arguments, QStringLiteral("-display")).isEmpty();
    const bool wayland = !environment.value(QStringLiteral("WAYLAND_DISPLAY")).isEmpty();
    // "wayland;xcb", each name perhaps with options after a colon.
    for (const QString& entry : platforms.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        if (opensOn(entry.section(QLatin1Char(':'), 0, 0).trimmed(), x11, wayland))
            return false;
    }
    return true;
}

int ReportNoDisplay()
{
    std::fputs("meridane: no display to open the window on (neither DISPLAY nor WAYLAND_DISPLAY "
               "is set); 'meridane --help' tells how to run the job without a window\n",
               stderr);
    return 1;
}

} // namespace app
