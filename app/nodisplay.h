#pragma once
// Whether the window has somewhere to open. Qt aborts when the platform it
// loads finds no display; Meridane says so in one line instead.

#include <QProcessEnvironment>
#include <QStringList>

namespace app {

// True when every platform that Qt would try (`-platform`, else
// QT_QPA_PLATFORM, else X11 or Wayland) needs a display and none is named:
// no DISPLAY or `-display` for X11, no WAYLAND_DISPLAY for Wayland.
// Platforms without a display (offscreen, minimal, vnc, ...) always have one.
bool NoDisplay(const QStringList& arguments, const QProcessEnvironment& environment);

// Prints why no window opens, and where the job without a window is
// described, on standard error; returns the exit status, 1.
int ReportNoDisplay();

} // namespace app
