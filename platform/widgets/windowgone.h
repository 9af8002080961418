#pragma once
// Another program can destroy a window behind the program's back (on X11,
// `xdotool windowclose` does so): no close event comes, the window is simply
// gone. onWindowGone() calls `gone` once when the window system reports that
// the native window of `window` no longer exists. A native window that the
// program itself replaces or destroys does not count: by the time the report
// arrives, the widget no longer names it.

#include <QWidget>
#include <functional>

namespace widgets {

void onWindowGone(QWidget* window, std::function<void()> gone);

} // namespace widgets
