#include "engine/numbers.h"

#include "core/failure.h"
#include "core/plaintext.h"
#include "engine/localenumbers.h"

#include <QLocale>
#include <array>
#include <charconv>
#include <cmath>

namespace engine {
namespace {

// One character of a UTF-16, Latin-1 or UTF-8 text (a UTF-8 byte above 0x7f
// is never a digit, sign or ASCII separator, so reading bytes is safe).
char16_t code(QChar c) { return c.unicode(); }
char16_t code(char c) { return static_cast<unsigned char>(c); }
bool isDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

// Sign, digits and an optional decimal part: the shape of nearly every
// coordinate. Its digits as a whole number (while they fit) and, for the few
// that the quick road cannot take, a copy in plain ASCII with "." as
// separator.
struct PlainDecimal {
    quint64 digits = 0; // every digit, the separator left out; exact up to 19 of them
    qsizetype wholeDigits = 0;
    qsizetype decimals = 0;
    bool negative = false;
    char text[64];
    qsizetype length = 0;

    bool fits() const { return wholeDigits + decimals <= 19 && digits <= (quint64(1) << 53); }
};

// The numeric test needs only the shape of a text; a conversion needs its digits too.
enum class Reading { Shape, Value };

template <Reading reading, typename Char>
const Char* readDigits(const Char* p, const Char* end, quint64& digits)
{
    for (; p != end && isDigit(code(*p)); ++p)
        if constexpr (reading == Reading::Value)
            digits = digits * 10 + (code(*p) - u'0');
    return p;
}

template <typename Char> void copyDigits(const Char* from, qsizetype count, PlainDecimal& out)
{
    for (qsizetype i = 0; i < count; ++i)
        out.text[out.length++] = static_cast<char>(code(from[i]));
}

// False for anything else, which QLocale then decides.
template <Reading reading, typename Char>
bool readPlain(const Char* begin, const Char* end, char16_t decimal, PlainDecimal& out)
{
    while (begin != end && core::isBlank(code(*begin)))
        ++begin;
    while (begin != end && core::isBlank(code(end[-1])))
        --end;
    if (begin == end || end - begin >= qsizetype(sizeof out.text))
        return false;
    const Char* p = begin;
    if (code(*p) == u'-' || code(*p) == u'+') {
        out.negative = code(*p) == u'-';
        ++p;
    }
    const Char* const whole = p;
    p = readDigits<reading>(p, end, out.digits);
    out.wholeDigits = p - whole;
    if (out.wholeDigits == 0)
        return false;
    const Char* fraction = p;
    // "." stands for the locale's separator here, as it does for QLocale.
    if (p != end && (code(*p) == decimal || code(*p) == u'.')) {
        fraction = ++p;
        p = readDigits<reading>(p, end, out.digits);
        out.decimals = p - fraction;
        if (out.decimals == 0)
            return false;
    }
    if (p != end)
        return false;
    if (reading == Reading::Value && !out.fits()) {
        if (out.negative)
            out.text[out.length++] = '-';
        copyDigits(whole, out.wholeDigits, out);
        if (out.decimals > 0) {
            out.text[out.length++] = '.';
            copyDigits(fraction, out.decimals, out);
        }
    }
    return true;
}

template <typename F> auto withCharacters(QAnyStringView text, F&& body)
{
    return text.visit([&](auto view) { return body(view.data(), view.data() + view.size()); });
}

template <Reading reading = Reading::Value>
bool readPlain(QAnyStringView text, const LocaleNumbers& n, PlainDecimal& out)
{
    return n.plain && withCharacters(text, [&](auto begin, auto end) {
               return readPlain<reading>(begin, end, n.decimal.unicode(), out);
           });
}

std::optional<double> convertPlain(const PlainDecimal& plain)
{
    // Digits that fit in a double's 53 bits over a power of ten that is
    // exact: one division, rounded correctly as from_chars rounds.
    static_assert(kPowersOfTen.size() > 19); // fits() holds at most 19 digits
    if (plain.fits()) {
        const double value = double(plain.digits) / kPowersOfTen[size_t(plain.decimals)];
        return plain.negative ? -value : value;
    }
    double value = 0;
    const char* end = plain.text + plain.length;
    const auto [stop, error] = std::from_chars(plain.text, end, value);
    if (error != std::errc() || stop != end || !std::isfinite(value))
        return std::nullopt; // out of range: no number
    return value;
}

std::optional<double> convertByLocale(QAnyStringView view, const LocaleNumbers& n)
{
    QString text = view.toString();
    // QLocale skips line breaks as white space; a point must not hold one.
    if (text.contains(QLatin1Char('\n')) || text.contains(QLatin1Char('\r')))
        return std::nullopt;
    if (n.decimal != QLatin1Char('.'))
        text.replace(QLatin1Char('.'), n.decimal);
    bool ok = false;
    const double value = n.locale.toDouble(text, &ok);
    // QLocale takes "nan" and "inf", and gives infinity for values out of range.
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

} // namespace

std::optional<double> toNumber(QAnyStringView text)
{
    const LocaleNumbers& n = numbers();
    PlainDecimal plain;
    if (readPlain(text, n, plain))
        return convertPlain(plain);
    return convertByLocale(text, n);
}

double numberOf(QAnyStringView text)
{
    if (const auto value = toNumber(text))
        return *value;
    throw core::Failure::typeMismatch();
}

bool isNumeric(QAnyStringView text)
{
    const LocaleNumbers& n = numbers();
    PlainDecimal shape;
    // Fewer than 300 whole digits is always in range: no need to convert.
    if (readPlain<Reading::Shape>(text, n, shape))
        return shape.wholeDigits < 300 || toNumber(text).has_value();
    return convertByLocale(text, n).has_value();
}

QChar decimalSeparator() { return numbers().decimal; }

} // namespace engine
