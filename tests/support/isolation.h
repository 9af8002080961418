#pragma once
// Every test program runs with settings of its own (an empty INI store in a
// temporary folder), a program folder that holds nothing, and a start-up draw
// that never opens the home page. Nothing a test does reaches the user's
// settings or the desktop.

#include "platform/desktop/settingsstore.h"

namespace isolation {

// The store the program uses, in its own temporary folder.
platform::IniSettingsStore& settings();
// Starts over: a new, empty store (a start of the program on a clean
// machine), an empty program folder, and the draw and opener above again.
void reset();

} // namespace isolation
