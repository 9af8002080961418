#pragma once
// Numbers as text in the user's locale (QLocale's default).
//
// Text to number: every "." becomes the locale's decimal separator, then the
// locale converts (surrounding spaces and tabs are ignored). NaN, infinity,
// out-of-range values and texts that hold a line break are refused. This is
// also the numeric test of every point that enters the coordinate list, so
// each such point can be computed and its sentence stays on one line.
//
// Number to text: rounded half to even at a number of places, plain decimal
// notation, the locale's digits, sign and separator, no grouping, no trailing
// zeros, no separator for a whole value.
//
// Texts may come as QString, UTF-16 or Latin-1 views (rows of a list store)
// or UTF-8: QAnyStringView takes them all without a copy.

#include <QAnyStringView>
#include <QString>
#include <optional>
#include <string_view>

namespace engine {

std::optional<double> toNumber(QAnyStringView text);
// toNumber, failing with "Type mismatch" when the text is no number.
double numberOf(QAnyStringView text);
// The numeric test of typed-in and file points.
bool isNumeric(QAnyStringView text);
// The locale's decimal separator, as it shows in the text of one half.
QChar decimalSeparator();

// The value rounded half to even at `places` decimals (the exact binary
// value is rounded); fails with "Overflow" for infinity and NaN.
QString numberText(double value, int places);
// The same rounding in plain ASCII whatever the locale: "-", digits and ".".
QString plainNumberText(double value, int places);

// The digit writer of plainNumberText for the figures of a table: the value
// rounded half to even at `places` decimals as a whole number of units of the
// last place (1234.5 at 2 places is 123450), and such a number as its plain
// ASCII text, without trailing zeros ("1234.5"), at the end of `buffer`.
// roundedUnits fails with "Overflow" beyond 63 bits, for infinity and NaN.
qint64 roundedUnits(double value, int places);
std::string_view unitsText(qint64 units, int places, char (&buffer)[400]);

// numberText's characters in `buffer`, when the locale writes numbers in
// plain ASCII (digits, "-" and an ASCII separator); nothing otherwise, and
// numberText is the way. Fails as numberText does.
std::optional<std::string_view> plainNumberText(double value, int places, char (&buffer)[400]);

// While a LocaleScope lives, conversions use the locale as it was when the
// outermost scope began, instead of looking it up again for every number: a
// long operation holds one around its loop.
class LocaleScope {
public:
    LocaleScope();
    ~LocaleScope();
    LocaleScope(const LocaleScope&) = delete;
    LocaleScope& operator=(const LocaleScope&) = delete;
};

} // namespace engine
