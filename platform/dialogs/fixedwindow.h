#pragma once
// A window of one size. Its title bar offers no maximize button (the window
// system's, or the one Qt draws itself on Wayland), and a maximized or
// full-screen state that the window system sets anyway is set back at once:
// the window keeps its size and says so, rather than holding a size that it
// does not have.

#include <QWidget>

namespace platform {

// For a window (a top-level widget or dialog), before it is shown.
void keepFixedSize(QWidget* window);

} // namespace platform
