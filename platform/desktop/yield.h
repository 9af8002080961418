#pragma once
// Yield(): lets the window repaint and answer clicks between two items of a
// long operation. It hands control to the event loop only when a few
// milliseconds have passed since the last time, so it stays cheap per row.

#include <chrono>
#include <functional>

namespace platform {

void Yield();
// 0 makes every call process events (tests); the default keeps the window
// answering within a frame.
void setYieldInterval(std::chrono::milliseconds interval);
// A job without a window has nothing to yield to: Yield() returns at once.
constexpr std::chrono::milliseconds kNeverYield = std::chrono::milliseconds::max();

// Runs work on a thread of its own and yields until it has finished, so that a
// call that blocks for long (a flush to disk, the removal of a large file)
// leaves the window answering. What work throws leaves from here.
void YieldUntilDone(const std::function<void()>& work);

} // namespace platform
