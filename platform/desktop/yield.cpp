#include "platform/desktop/yield.h"

#include <QCoreApplication>
#include <ctime>

namespace platform {
namespace {

std::chrono::milliseconds interval{16};
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

void setYieldInterval(std::chrono::milliseconds value) { interval = value; }

} // namespace platform
