#pragma once
// Ending the process at once, from anywhere (also from inside a long
// operation that is yielding). Tests replace it with a recorder.

#include <functional>

namespace platform {

void endProcess();
void setEndProcess(std::function<void()> replacement);

} // namespace platform
