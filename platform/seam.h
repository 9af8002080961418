#pragma once
// A seam: a piece of the desktop that is the real one unless something was
// put in its place (tests, or the command line's console dialogs).
//
//   platform::get<Dialogs>().message(...);          // the replacement or the real one
//   platform::replace<Dialogs>(&console);           // nullptr puts the real one back
//   platform::Replacement<Dialogs> scoped(&script); // for one scope (tests)
//
// Each interface's real one is defined beside its implementation.

#include <utility>

namespace platform {

template <typename Interface> Interface& real();

template <typename Interface> inline Interface* replacement = nullptr;

template <typename Interface> Interface& get()
{
    Interface* current = replacement<Interface>;
    return current ? *current : real<Interface>();
}

// Gives back the one it replaces.
template <typename Interface> Interface* replace(Interface* other)
{
    return std::exchange(replacement<Interface>, other);
}

// Puts a replacement in place while it lives, then the one before it back.
template <typename Interface> class Replacement {
public:
    explicit Replacement(Interface* other)
        : previous_(replace(other))
    {
    }
    ~Replacement() { replace(previous_); }
    Replacement(const Replacement&) = delete;
    Replacement& operator=(const Replacement&) = delete;

private:
    Interface* previous_;
};

} // namespace platform
