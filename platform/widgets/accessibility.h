#pragma once
// What a screen reader is told about widgets Qt knows nothing special about:
// a plain top-level widget is a frame named by its title, the progress bar
// a progress bar with its position (0 to 100) and its text. Installed once,
// before the first window is shown.

namespace widgets {

void installAccessibility();

} // namespace widgets
