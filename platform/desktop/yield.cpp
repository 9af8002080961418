#include "platform/desktop/yield.h"

#include <QCoreApplication>
#include <QElapsedTimer>

namespace platform {
namespace {
std::chrono::milliseconds interval{16};
QElapsedTimer sinceLast;
} // namespace

void Yield()
{
    if (interval == kNeverYield)
        return;
    if (sinceLast.isValid() && sinceLast.elapsed() < interval.count())
        return;
    QCoreApplication::processEvents();
    sinceLast.start();
}

void setYieldInterval(std::chrono::milliseconds value) { interval = value; }

} // namespace platform
