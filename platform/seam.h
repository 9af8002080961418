#pragma once
// A seam: a piece of the desktop that is the real one unless something was
// put in its place (tests, or the command line's console dialogs). I is the
// interface:
//
//   platform::get<Dialogs>().message(...);          // the replacement or the real one
//   platform::replace<Dialogs>(&console);           // nullptr puts the real one back
//   platform::Replacement<Dialogs> scoped(&script); // for one scope (tests)
//
// Each interface's real one is defined beside its implementation.

#include <utility>

namespace platform {

template <typename I> I& real();
template <typename I> inline I* replacement = nullptr;

template <typename I> I& get() { return replacement<I> ? *replacement<I> : real<I>(); }
// Gives back the one it replaces.
template <typename I> I* replace(I* other) { return std::exchange(replacement<I>, other); }

// The one object of a real implementation, made at first use.
template <typename Real> Real& made()
{
    static Real real;
    return real;
}

// Puts a replacement in place while it lives, then the one before it back.
template <typename I> class Replacement {
public:
    explicit Replacement(I* other) { previous_ = replace(other); }
    Replacement(const Replacement&) = delete;
    ~Replacement() { replace(previous_); }

private:
    I* previous_;
};

} // namespace platform
