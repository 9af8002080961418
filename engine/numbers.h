#pragma once
// Numbers as text in the user's locale (QLocale's default).
//
// Text to number: every "." becomes the locale's decimal separator, then the
// locale converts (surrounding white space is ignored). NaN, infinity and
// out-of-range values are refused. This is also the numeric test of every
// point that enters the coordinate list, so each such point can be computed.
//
// Number to text: rounded half to even at a number of places, plain decimal
// notation, the locale's digits, sign and separator, no grouping, no trailing
// zeros, no separator for a whole value.

#include <QString>
#include <optional>

namespace engine {

std::optional<double> toNumber(const QString& text);
// toNumber, failing with "Type mismatch" when the text is no number.
double numberOf(const QString& text);
// The numeric test of typed-in and file points.
bool isNumeric(const QString& text);
// The locale's decimal separator, as it shows in the text of one half.
QChar decimalSeparator();

// The value rounded half to even at `places` decimals (the exact binary
// value is rounded); fails with "Overflow" for infinity and NaN.
QString numberText(double value, int places);
// The same rounding in plain ASCII whatever the locale: "-", digits and ".".
QString plainNumberText(double value, int places);

} // namespace engine
