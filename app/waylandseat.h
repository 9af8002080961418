#pragma once
// Whether a Wayland compositor offers a seat (a keyboard and pointer).
// Qt 6.4's input method for Wayland reaches for the seat's text input at
// every change of focus and crashes where there is none (a headless
// compositor): there the start turns input methods off.

#include <QProcessEnvironment>

namespace app {

// The compositor at WAYLAND_DISPLAY announces a wl_seat; true also when it
// cannot be asked (no answer within a few seconds, a handed-over socket).
bool CompositorHasSeat(const QProcessEnvironment& environment);

// Connected to the compositor at WAYLAND_DISPLAY: the socket, else -1.
int ConnectToCompositor(const QProcessEnvironment& environment);

} // namespace app
