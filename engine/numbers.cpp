#include "engine/numbers.h"

#include "core/failure.h"

#include <QLocale>
#include <charconv>
#include <cmath>
#include <string_view>

namespace engine {
namespace {

// What the conversions need of the user's locale, worked out again only when
// the locale changes: QLocale's own conversions cost microseconds a call,
// and a run makes four of them per pair.
struct LocaleNumbers {
    QLocale source; // the default locale these were worked out for
    QLocale locale; // the same, with the number options that the conversions use
    QChar decimal;
    // Plain ASCII digits, "-" and an ASCII separator: the fast paths apply.
    bool plain = false;
};

const LocaleNumbers& numbers()
{
    static LocaleNumbers cached{QLocale(QLocale::C), QLocale(QLocale::C), QChar(), false};
    static bool ready = false;
    const QLocale current;
    if (!ready || current != cached.source) {
        cached.source = current;
        cached.locale = current;
        cached.locale.setNumberOptions(QLocale::RejectGroupSeparator | QLocale::OmitGroupSeparator);
        const QString half = cached.locale.toString(1.0 / 2, 'f', 1);
        cached.decimal = half.size() == 3 ? half[1] : QLatin1Char('.');
        cached.plain = half == QLatin1String("0") + cached.decimal + QLatin1String("5") &&
                       cached.decimal.unicode() < 0x80 &&
                       cached.locale.negativeSign() == QLatin1String("-") &&
                       cached.locale.zeroDigit() == QLatin1String("0");
        ready = true;
    }
    return cached;
}

bool isSpace(QChar c) { return c == QLatin1Char(' ') || c == QLatin1Char('\t'); }
bool isDigit(QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); }

// Sign, digits and an optional decimal part: the shape of nearly every
// coordinate, copied into `out` as plain ASCII with "." as separator.
struct PlainDecimal {
    char text[64];
    qsizetype length = 0;
    qsizetype wholeDigits = 0;
};

// False for anything else, which QLocale then decides.
bool readPlain(QStringView text, const LocaleNumbers& n, PlainDecimal& out)
{
    while (!text.isEmpty() && isSpace(text.front()))
        text = text.mid(1);
    while (!text.isEmpty() && isSpace(text.back()))
        text.chop(1);
    if (text.isEmpty() || text.size() >= qsizetype(sizeof out.text))
        return false;
    qsizetype i = 0;
    if (text[0] == QLatin1Char('-') || text[0] == QLatin1Char('+')) {
        if (text[0] == QLatin1Char('-'))
            out.text[out.length++] = '-';
        ++i;
    }
    const qsizetype firstDigit = i;
    while (i < text.size() && isDigit(text[i]))
        out.text[out.length++] = char(text[i++].unicode());
    out.wholeDigits = i - firstDigit;
    if (out.wholeDigits == 0)
        return false;
    // "." stands for the locale's separator here, as it does for QLocale.
    if (i < text.size() && (text[i] == n.decimal || text[i] == QLatin1Char('.'))) {
        out.text[out.length++] = '.';
        const qsizetype firstDecimal = ++i;
        while (i < text.size() && isDigit(text[i]))
            out.text[out.length++] = char(text[i++].unicode());
        if (i == firstDecimal)
            return false;
    }
    return i == text.size();
}

std::optional<double> convertPlain(const PlainDecimal& plain)
{
    double value = 0;
    const char* end = plain.text + plain.length;
    const auto [stop, error] = std::from_chars(plain.text, end, value);
    if (error != std::errc() || stop != end || !std::isfinite(value))
        return std::nullopt; // out of range: no number
    return value;
}

std::optional<double> convertByLocale(const QString& text, const LocaleNumbers& n)
{
    bool ok = false;
    const double value =
        n.decimal == QLatin1Char('.') || !text.contains(QLatin1Char('.'))
            ? n.locale.toDouble(text, &ok)
            : n.locale.toDouble(QString(text).replace(QLatin1Char('.'), n.decimal), &ok);
    // QLocale takes "nan" and "inf", and gives infinity for values out of range.
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

} // namespace

std::optional<double> toNumber(const QString& text)
{
    const LocaleNumbers& n = numbers();
    PlainDecimal plain;
    if (n.plain && readPlain(text, n, plain))
        return convertPlain(plain);
    return convertByLocale(text, n);
}

double numberOf(const QString& text)
{
    if (const auto value = toNumber(text))
        return *value;
    throw Failure::typeMismatch();
}

bool isNumeric(const QString& text)
{
    const LocaleNumbers& n = numbers();
    PlainDecimal plain;
    // Fewer than 300 whole digits is always in range: no need to convert.
    if (n.plain && readPlain(text, n, plain))
        return plain.wholeDigits < 300 || convertPlain(plain).has_value();
    return convertByLocale(text, n).has_value();
}

QChar decimalSeparator() { return numbers().decimal; }

namespace {

// The value at `places` decimals in plain ASCII ("-", digits, "."), without
// trailing zeros, without a separator for a whole value, and "0" for a
// negative value that rounds to zero. std::to_chars rounds the exact binary
// value, halves to even: scaling by a power of ten first could itself land on
// a half and round the wrong way.
std::string_view roundedDigits(double value, int places, char (&buffer)[400])
{
    if (!std::isfinite(value) || places < 0 || places > 60)
        throw Failure::overflow();
    const auto [end, error] =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, places);
    if (error != std::errc())
        throw Failure::overflow();
    std::string_view digits(buffer, static_cast<size_t>(end - buffer));
    if (places > 0) {
        digits.remove_suffix(digits.size() - 1 - digits.find_last_not_of('0'));
        if (digits.back() == '.')
            digits.remove_suffix(1);
    }
    if (digits == "-0")
        digits.remove_prefix(1);
    return digits;
}

// The ASCII number in the locale's own digits, sign and separator.
QString localized(std::string_view digits, const QLocale& locale, QChar decimal)
{
    const char32_t zero = locale.zeroDigit().toUcs4().value(0, U'0');
    QString text;
    text.reserve(qsizetype(digits.size()) + 8);
    for (const char c : digits) {
        if (c == '-')
            text += locale.negativeSign();
        else if (c == '.')
            text += decimal;
        else
            text += QChar::fromUcs4(zero + char32_t(c - '0'));
    }
    return text;
}

} // namespace

QString numberText(double value, int places)
{
    const LocaleNumbers& n = numbers();
    char buffer[400];
    const std::string_view digits = roundedDigits(value, places, buffer);
    if (!n.plain)
        return localized(digits, n.locale, n.decimal);
    QString text = QString::fromLatin1(digits.data(), qsizetype(digits.size()));
    if (const qsizetype separatorAt = text.indexOf(QLatin1Char('.')); separatorAt >= 0)
        text[separatorAt] = n.decimal;
    return text;
}

} // namespace engine
