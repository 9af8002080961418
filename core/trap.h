#pragma once
// The error trap of a procedure. Each labelled step runs through it; a step
// that fails (throws) is reported with the procedure's location and the
// step's label, and the procedure goes on with the next step:
//
//   core::Trap trap(core::location("Form1", "PushButton1_Click"));
//   if (trap.test(100, [&] { return MousePointer() != 11; }))
//       trap.step(100, [&] { ListView1->clearItems(); });
//
// A failing test counts as passed, so the guarded steps run. Inside a loop the
// loop goes on. step() tells whether its body ran through, so a procedure can
// look at why a step failed (a row that is gone) and leave its loop. A
// procedure without a trap lets its failure fly to the trapped caller, which
// reports it at the label of the calling step.
// Nothing ever leaves a step: steps are safe to run from Qt slots.

#include "core/failure.h"

#include <QString>
#include <functional>
#include <utility>

namespace core {

// "Orvanta2021/08/31.Form1.PushButton17_Click" from "Form1" and "PushButton17_Click":
// where a failure happened, as the report names it.
inline QString location(const char* holder, const char* procedure)
{
    return QLatin1String("Orvanta2021/08/31.") + QLatin1String(holder) + QLatin1Char('.') +
           QLatin1String(procedure);
}

class Trap {
public:
    explicit Trap(QString location)
        : location_(std::move(location))
    {
    }
    // The location spelled out only when a step fails: a procedure that runs
    // once per pair of a long list builds and copies no text.
    Trap(const char* holder, const char* procedure)
        : holder_(holder)
        , procedure_(procedure)
    {
    }

    template <typename F> bool step(int label, F&& body)
    {
        if (ended_)
            return false;
        try {
            std::forward<F>(body)();
            return true;
        } catch (...) {
            failed(label);
            return false;
        }
    }

    template <typename F> bool test(int label, F&& condition)
    {
        if (ended_)
            return false;
        try {
            return static_cast<bool>(std::forward<F>(condition)());
        } catch (...) {
            failed(label);
            return !ended_;
        }
    }

    // A failure with this number is handed to the handler instead of being
    // reported, and the procedure ends: every later step and test is skipped.
    void endOn(int number, std::function<void()> handler);
    // True once the procedure has been ended by endOn.
    bool ended() const { return ended_; }

private:
    void failed(int label);

    QString location_;
    const char* holder_ = nullptr;
    const char* procedure_ = nullptr;
    int endNumber_ = 0;
    std::function<void()> endHandler_;
    bool ended_ = false;
};

// The failure that is being handled, whatever was thrown.
Failure currentFailure();

} // namespace core
