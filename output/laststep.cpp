#include "output/laststep.h"

#include "platform/desktop/yield.h"

#include <QScopeGuard>

#include <atomic>
#include <condition_variable>
#include <mutex>

namespace output {
namespace {

std::mutex lock;
std::condition_variable finished;
int running = 0; // under lock
std::atomic<bool> awaited{false};
std::function<void()> gate;

// Counted before the thread starts, so that a close that comes before the
// step has begun waits for it as well; uncounted on the step's thread, since
// the window's thread may be the one that waits.
struct Count {
    Count()
    {
        const std::lock_guard held(lock);
        ++running;
    }
    void done()
    {
        const std::lock_guard held(lock);
        --running;
        finished.notify_all();
    }
};

} // namespace

void runLastStep(const std::function<void()>& step)
{
    Count count;
    platform::YieldUntilDone([&] {
        const auto uncount = qScopeGuard([&] { count.done(); });
        if (gate)
            gate();
        step();
    });
}

void finishLastSteps()
{
    std::unique_lock held(lock);
    awaited = true;
    finished.wait(held, [] { return running == 0; });
    awaited = false;
}

void setLastStepGate(std::function<void()> value) { gate = std::move(value); }

bool lastStepsAwaited() { return awaited; }

} // namespace output
