// Numbers as text in a user's locale. Text to number must agree with what
// QLocale alone makes of the text (the quick road for plain decimals against
// the locale's own); number to text must be the C library's exact rounding,
// halves to even, written as QLocale writes that value in the locale.

#include "engine/numbers.h"
#include "fuzzinput.h"

#include <charconv>
#include <cmath>
#include <optional>
#include <string>

namespace {

std::optional<double> byLocale(const QString& text, QLocale locale)
{
    locale.setNumberOptions(QLocale::RejectGroupSeparator);
    // A line break never belongs to a number, though QLocale skips it as white space.
    if (text.contains(QLatin1Char('\n')) || text.contains(QLatin1Char('\r')))
        return std::nullopt;
    bool ok = false;
    // "." stands for the locale's separator in typed points.
    const double value =
        locale.toDouble(QString(text).replace(QLatin1Char('.'), locale.decimalPoint()), &ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

// printf's rounding of the exact value at the places, without trailing zeros,
// without a separator for a whole value, "0" for a negative zero.
std::string roundedByPrintf(double value, int places)
{
    char buffer[400];
    std::snprintf(buffer, sizeof buffer, "%.*f", places, value);
    std::string text(buffer);
    if (places > 0) {
        text.erase(text.find_last_not_of('0') + 1);
        if (text.back() == '.')
            text.pop_back();
    }
    if (text == "-0")
        text = "0";
    return text;
}

int significantDigits(const std::string& text)
{
    const auto first = text.find_first_not_of("-0.");
    if (first == std::string::npos)
        return 0;
    int digits = 0;
    for (size_t i = first; i < text.size(); ++i)
        digits += text[i] != '.';
    return digits;
}

// As QLocale writes the rounded value in the locale, no grouping.
QString byLocale(const std::string& rounded, QLocale locale)
{
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    double value = 0;
    std::from_chars(rounded.data(), rounded.data() + rounded.size(), value);
    const auto point = rounded.find('.');
    const int places = point == std::string::npos ? 0 : int(rounded.size() - point - 1);
    return locale.toString(value, 'f', places);
}

void checkText(const QLocale& locale, bool plainLocale, double value, int places)
{
    const QString text = engine::numberText(value, places);
    const std::string rounded = roundedByPrintf(value, places);
    const QString detail = QString::number(value, 'g', 17) + QLatin1String(" at ") +
                           QString::number(places) + QLatin1String(": ") + text;
    if (plainLocale) {
        const QString expected =
            QString::fromStdString(rounded).replace(QLatin1Char('.'), locale.decimalPoint());
        fuzz::check(text == expected, "number text differs from printf's rounding", detail);
    }
    // Up to 15 digits the nearest double gives the same digits back.
    if (significantDigits(rounded) <= 15)
        fuzz::check(text == byLocale(rounded, locale), "number text differs from QLocale's",
                    detail);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::Input input(data, size);
    const uint8_t localeChoice = input.byte();
    const int places = input.byte() % 7;
    const QLocale locale = fuzz::locale(localeChoice);
    QLocale::setDefault(locale);
    const QString text = QString::fromUtf8(input.rest());

    const std::optional<double> value = engine::toNumber(text);
    const std::optional<double> expected = byLocale(text, locale);
    fuzz::check(value.has_value() == expected.has_value(), "numeric test differs from QLocale's",
                text);
    fuzz::check(engine::isNumeric(text) == value.has_value(), "isNumeric differs from toNumber",
                text);
    if (!value)
        return 0;
    fuzz::check(*value == *expected, "value differs from QLocale's", text);

    const bool plainLocale = locale.zeroDigit() == QLatin1String("0") &&
                             locale.negativeSign() == QLatin1String("-") &&
                             locale.decimalPoint().front().unicode() < 0x80;
    checkText(locale, plainLocale, *value, places);
    // Values near a half at the places: the cases that scaling got wrong.
    checkText(locale, plainLocale, *value / 1024 + 0.005, 2);
    return 0;
}
