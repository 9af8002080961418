#include "platform/desktop/yield.h"

#include <QCoreApplication>
#include <ctime>
#include <future>

namespace platform {
namespace {

std::chrono::milliseconds interval{16};
// How long a wait for a thread's work lasts between two yields: well inside the interval.
constexpr std::chrono::milliseconds kWaitStep{4};
qint64 lastYield = -1; // milliseconds, -1 before the first

// The coarse clock costs a few nanoseconds where the precise one costs tens,
// and a long operation asks it several times per row; its steps of a few
// milliseconds are well inside a frame.
qint64 nowMilliseconds()
{
    timespec now{};
    ::clock_gettime(CLOCK_MONOTONIC_COARSE, &now);
    return qint64(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

} // namespace

void Yield()
{
    if (interval == kNeverYield)
        return;
    const qint64 now = nowMilliseconds();
    if (lastYield >= 0 && now - lastYield < interval.count())
        return;
    QCoreApplication::processEvents();
    lastYield = nowMilliseconds();
}

void YieldUntilDone(const std::function<void()>& work)
{
    if (interval == kNeverYield) {
        work();
        return;
    }
    std::future<void> done = std::async(std::launch::async, work);
    while (done.wait_for(kWaitStep) != std::future_status::ready)
        Yield();
    done.get();
}

void setYieldInterval(std::chrono::milliseconds value) { interval = value; }

} // namespace platform
