#include "core/trap.h"

#include "core/reporterror.h"

#include <exception>
#include <new>

namespace core {

Failure currentFailure()
{
    try {
        throw;
    } catch (const Failure& failure) {
        return failure;
    } catch (const std::bad_alloc&) {
        return Failure::outOfMemory();
    } catch (const std::exception& e) {
        return {5, QString::fromLocal8Bit(e.what())};
    } catch (...) {
        return {5, QStringLiteral("Unknown failure")};
    }
}

void Trap::endOn(int number, std::function<void()> handler)
{
    endNumber_ = number;
    endHandler_ = std::move(handler);
}

void Trap::failed(int label)
{
    const Failure failure = currentFailure();
    if (endHandler_ && failure.number == endNumber_) {
        ended_ = true;
        endHandler_();
        return;
    }
    ReportError(holder_ ? location(holder_, procedure_) : location_, label, failure.description);
}

} // namespace core
