#pragma once
// Whether a start runs the job without a window or opens the window.

#include <QStringList>

namespace app {

// True when the arguments (without the program's name) ask for the job
// without a window. Options that a desktop hands any Qt window program (a
// restored session, a style, a display) open the window as usual.
bool IsCommandLineJob(const QStringList& arguments);

} // namespace app
