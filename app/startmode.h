#pragma once
// Whether a start runs the job without a window or opens the window.

#include <QStringList>

namespace app {

// True when the arguments (without the program's name) ask for the job
// without a window. Options that a desktop hands any Qt window program (a
// restored session, a style, a display) open the window as usual, and so
// does "--open" with the files that follow it.
bool isCommandLineJob(const QStringList& arguments);

// The list files that "--open FILE..." names (the desktop's way of opening
// files with the program): the window opens with them loaded. Empty when the
// arguments do not start the window that way.
QStringList filesToOpen(const QStringList& arguments);

} // namespace app
