#pragma once
// What the number conversions need of the user's locale, shared by the
// parsing and the writing of numbers (engine/numbers.h).

#include <QChar>
#include <QLocale>
#include <array>

namespace engine {

// What the conversions need of the user's locale, worked out again only when
// the locale changes: QLocale's own conversions cost microseconds a call.
struct LocaleNumbers {
    QLocale source; // the default locale these were worked out for
    QLocale locale; // the same, with the number options that the conversions use
    QChar decimal;
    // Plain ASCII digits, "-" and an ASCII separator: the fast paths apply.
    bool plain = false;
};

// The powers of ten that a double holds exactly, for the quick roads of both ways.
inline constexpr std::array<double, 23> kPowersOfTen{1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                                     1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                                     1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// The user's locale as the conversions need it: looked up again unless a
// LocaleScope holds it.
const LocaleNumbers& numbers();

} // namespace engine
