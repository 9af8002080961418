#pragma once
// Yield(): lets the window repaint and answer clicks between two items of a
// long operation. It hands control to the event loop only when a few
// milliseconds have passed since the last time, so it stays cheap per row.

#include <chrono>

namespace platform {

void Yield();
// 0 makes every call process events (tests); the default keeps the window
// answering within a frame.
void setYieldInterval(std::chrono::milliseconds interval);
// A job without a window has nothing to yield to: Yield() returns at once.
constexpr std::chrono::milliseconds kNeverYield = std::chrono::milliseconds::max();

} // namespace platform
