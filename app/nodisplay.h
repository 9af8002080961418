#pragma once
// Whether the window has somewhere to open. Qt aborts when the platform it
// loads finds no display, or cannot load the platform at all; Meridane picks
// the platforms that can open a window first, and says so in one line when
// none can.

#include <QProcessEnvironment>
#include <QStringList>
#include <functional>
#include <vector>

namespace app {

// The platforms for Qt to try, in order ("wayland;xcb"), of those that
// `-platform`, else QT_QPA_PLATFORM, else the desktop's session asks for:
// X11 where DISPLAY or `-display` names a display; Wayland where its plugin
// lies in one of pluginFolders (under platforms/) and a compositor answers
// at WAYLAND_DISPLAY. Platforms without a display (offscreen, minimal, vnc,
// ...) always can. Empty when none can. An X11 display counts when `answers`
// says it answers (without one, when it is named).
using DisplayProbe = std::function<bool(const QString& display)>;
QString UsablePlatforms(const QStringList& arguments, const QProcessEnvironment& environment,
                        const QStringList& pluginFolders, const DisplayProbe& answers = {});

// The same with the folders Qt looks in for its plugins, and an X11 display
// that must answer a connection.
QString UsablePlatforms(const QStringList& arguments, const QProcessEnvironment& environment);

// True when no platform can open the window.
bool NoDisplay(const QStringList& arguments, const QProcessEnvironment& environment);

// Hands the usable platforms to Qt through QT_QPA_PLATFORM, which Qt reads
// when the application object is made (`-platform` on the command line
// stays as it is), and turns input methods off (QT_IM_MODULE) where Wayland
// is first and its compositor has no seat (see waylandseat.h); restore()
// puts the variables back as they were, so that the programs started later
// see them unchanged.
class PlatformChoice {
public:
    explicit PlatformChoice(const QString& platforms);
    void restore();

private:
    void set(const char* name, const QByteArray& value);
    struct Before {
        const char* name;
        QByteArray value;
        bool wasSet;
    };
    std::vector<Before> before_;
};

// Prints why no window opens, and where the job without a window is
// described, on standard error; returns the exit status, 1.
int reportNoDisplay();

} // namespace app
