#include "engine/vectorstate.h"

namespace engine {
namespace {

// Asked once: the answer does not change while the program runs.
const bool hasAvx = [] {
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx") != 0;
}();

} // namespace

void clearUpperVectorState()
{
#if defined(__x86_64__) || defined(__i386__)
    if (hasAvx)
        asm volatile("vzeroupper");
#endif
}

} // namespace engine
