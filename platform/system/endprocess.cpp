#include "platform/system/endprocess.h"

#include <cstdio>
#include <cstdlib>

namespace platform {
namespace {
std::function<void()> replacementEnd;
} // namespace

void endProcess()
{
    if (replacementEnd) {
        replacementEnd();
        return;
    }
    std::fflush(nullptr);
    // No unwinding: a run that is yielding further down the stack must not
    // resume against a window that is being torn down.
    std::_Exit(0);
}

void setEndProcess(std::function<void()> replacement) { replacementEnd = std::move(replacement); }

} // namespace platform
