#pragma once
// Whether the window has somewhere to open. Qt aborts when the platform it
// loads finds no display, or cannot load the platform at all; Meridane picks
// the platforms that can open a window first, and says so in one line when
// none can.

#include <QProcessEnvironment>
#include <QStringList>

namespace app {

// The platforms for Qt to try, in order ("wayland;xcb"), of those that
// `-platform`, else QT_QPA_PLATFORM, else the desktop's session asks for:
// X11 where DISPLAY or `-display` names a display; Wayland where its plugin
// lies in one of pluginFolders (under platforms/) and a compositor answers
// at WAYLAND_DISPLAY. Platforms without a display (offscreen, minimal, vnc,
// ...) always can. Empty when none can.
QString UsablePlatforms(const QStringList& arguments, const QProcessEnvironment& environment,
                        const QStringList& pluginFolders);

// The same with the folders Qt looks in for its plugins.
QString UsablePlatforms(const QStringList& arguments, const QProcessEnvironment& environment);

// True when no platform can open the window.
bool NoDisplay(const QStringList& arguments, const QProcessEnvironment& environment);

// Hands the usable platforms to Qt through QT_QPA_PLATFORM, which Qt reads
// when the application object is made (`-platform` on the command line
// stays as it is); restore() puts the variable back as it was, so that the
// programs started later see it unchanged.
class PlatformChoice {
public:
    explicit PlatformChoice(const QString& platforms);
    void restore();

private:
    QByteArray before_;
    bool wasSet_;
};

// Prints why no window opens, and where the job without a window is
// described, on standard error; returns the exit status, 1.
int reportNoDisplay();

} // namespace app
