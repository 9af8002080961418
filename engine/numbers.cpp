#include "engine/numbers.h"

#include "core/failure.h"
#include "core/plaintext.h"

#include <QLocale>
#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <limits>

namespace engine {
namespace {

// What the conversions need of the user's locale, worked out again only when
// the locale changes: QLocale's own conversions cost microseconds a call.
struct LocaleNumbers {
    QLocale source; // the default locale these were worked out for
    QLocale locale; // the same, with the number options that the conversions use
    QChar decimal;
    // Plain ASCII digits, "-" and an ASCII separator: the fast paths apply.
    bool plain = false;
};

LocaleNumbers cached{QLocale(QLocale::C), QLocale(QLocale::C), QChar(), false};
bool ready = false;
int scopes = 0; // LocaleScope objects alive

// Looking the default locale up costs a QLocale and a comparison.
const LocaleNumbers& lookUp()
{
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

const LocaleNumbers& numbers() { return scopes > 0 && ready ? cached : lookUp(); }

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

constexpr std::array<double, 23> kPowersOfTen{1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                              1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                              1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

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

LocaleScope::LocaleScope()
{
    if (scopes == 0)
        lookUp();
    ++scopes;
}

LocaleScope::~LocaleScope() { --scopes; }

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
    throw Failure::typeMismatch();
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

namespace {

// The value at `places` decimals in plain ASCII ("-", digits, "."), without
// trailing zeros, without a separator for a whole value, and "0" for a
// negative value that rounds to zero. std::to_chars rounds the exact binary
// value, halves to even: scaling by a power of ten first could itself land on
// a half and round the wrong way.
// The magnitude's exact binary value rounded half to even at `places`
// decimals, as a whole number of units of the last place; nothing when that
// does not fit in 64 bits. Integer arithmetic on the exact value, so it
// rounds as std::to_chars does, in a fraction of its time.
std::optional<quint64> scaledWhole(double magnitude, int places)
{
    constexpr int kMostPlaces = 18; // 10^18 times 53 bits stays below 2^113
    if (places > kMostPlaces)
        return std::nullopt;
    // magnitude = mantissa * 2^exponent, exactly, read from its bits
    const auto bits = std::bit_cast<quint64>(magnitude);
    const auto biased = static_cast<int>(bits >> 52);
    quint64 mantissa = bits & ((quint64(1) << 52) - 1);
    int exponent = -1074; // subnormal
    if (biased != 0) {
        mantissa |= quint64(1) << 52;
        exponent = biased - 1075;
    }
    quint64 scale = 1;
    for (int i = 0; i < places; ++i)
        scale *= 10;
    const unsigned __int128 product = static_cast<unsigned __int128>(mantissa) * scale;
    if (exponent >= 0) {
        const unsigned __int128 whole = exponent < 64 ? product << exponent : 0;
        if (exponent >= 64 || whole >> exponent != product || whole >> 64 != 0)
            return std::nullopt;
        return static_cast<quint64>(whole);
    }
    const int shift = -exponent;
    if (shift > 120) // the product is less than half a unit: 0
        return 0;
    const unsigned __int128 one = 1;
    unsigned __int128 whole = product >> shift;
    const unsigned __int128 rest = product & ((one << shift) - 1);
    const unsigned __int128 half = one << (shift - 1);
    if (rest > half || (rest == half && (whole & 1)))
        ++whole;
    if (whole >> 64 != 0)
        return std::nullopt;
    return static_cast<quint64>(whole);
}

// The same from the double product, when that decides it: below 2^52 its
// whole part and fraction are exact, and it is off the exact value by less
// than a 2^52nd part of it, so a fraction clear of one half by more than that
// rounds as the exact value does. Nothing when it comes too close to a half.
std::optional<quint64> scaledQuick(double magnitude, int places)
{
    if (places >= int(kPowersOfTen.size()))
        return std::nullopt;
    const double product = magnitude * kPowersOfTen[size_t(places)];
    if (!(product < 0x1p52))
        return std::nullopt;
    const auto whole = static_cast<quint64>(product);
    const double fraction = product - static_cast<double>(whole);
    if (std::fabs(fraction - 0.5) <= product * 0x1p-50)
        return std::nullopt;
    return fraction > 0.5 ? whole + 1 : whole;
}

// "00" to "99": the digits are written two at a time.
constexpr std::array<char, 200> kDigitPairs = [] {
    std::array<char, 200> pairs{};
    for (int i = 0; i < 100; ++i) {
        pairs[size_t(2 * i)] = char('0' + i / 10);
        pairs[size_t(2 * i + 1)] = char('0' + i % 10);
    }
    return pairs;
}();

// The digits of `whole`, at least `least` of them (leading zeros), ending at `end`.
char* writeDigits(quint64 whole, int least, char* end)
{
    char* begin = end;
    while (whole >= 100) {
        const auto pair = size_t(whole % 100) * 2;
        whole /= 100;
        *--begin = kDigitPairs[pair + 1];
        *--begin = kDigitPairs[pair];
    }
    if (whole >= 10) {
        *--begin = kDigitPairs[size_t(whole) * 2 + 1];
        *--begin = kDigitPairs[size_t(whole) * 2];
    } else {
        *--begin = char('0' + whole);
    }
    while (end - begin < least)
        *--begin = '0';
    return begin;
}

// The whole number of units of the last place written with its separator and
// without trailing zeros, at the end of `buffer`: the decimals first, then
// the whole part before them.
std::string_view placedDigits(quint64 whole, int places, bool negative, char (&buffer)[400])
{
    char* const end = buffer + sizeof buffer;
    char* begin = end;
    if (places > 0) {
        quint64 power = 1;
        for (int i = 0; i < places; ++i)
            power *= 10;
        quint64 decimals = whole % power;
        whole /= power;
        if (decimals != 0) {
            while (decimals % 10 == 0) {
                decimals /= 10;
                --places;
            }
            begin = writeDigits(decimals, places, begin);
            *--begin = '.';
        }
    }
    begin = writeDigits(whole, 1, begin);
    if (negative)
        *--begin = '-';
    return {begin, static_cast<size_t>(end - begin)};
}

std::optional<quint64> scaled(double value, int places)
{
    if (!std::isfinite(value) || places < 0 || places > 60)
        throw Failure::overflow();
    std::optional<quint64> whole = scaledQuick(std::fabs(value), places);
    return whole ? whole : scaledWhole(std::fabs(value), places);
}

std::string_view roundedDigits(double value, int places, char (&buffer)[400])
{
    std::string_view digits;
    const std::optional<quint64> whole = scaled(value, places);
    if (whole) {
        digits = placedDigits(*whole, places, std::signbit(value), buffer);
    } else {
        const auto [end, error] =
            std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, places);
        if (error != std::errc())
            throw Failure::overflow();
        digits = std::string_view(buffer, static_cast<size_t>(end - buffer));
        if (places > 0) {
            digits.remove_suffix(digits.size() - 1 - digits.find_last_not_of('0'));
            if (digits.back() == '.')
                digits.remove_suffix(1);
        }
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

qint64 roundedUnits(double value, int places)
{
    const std::optional<quint64> whole = scaled(value, places);
    if (!whole || *whole > quint64(std::numeric_limits<qint64>::max()))
        throw Failure::overflow();
    return std::signbit(value) ? -qint64(*whole) : qint64(*whole);
}

std::string_view unitsText(qint64 units, int places, char (&buffer)[400])
{
    const bool negative = units < 0;
    const quint64 magnitude = negative ? 0 - quint64(units) : quint64(units);
    return placedDigits(magnitude, places, negative && magnitude != 0, buffer);
}

std::optional<std::string_view> plainNumberText(double value, int places, char (&buffer)[400])
{
    const LocaleNumbers& n = numbers();
    const std::string_view digits = roundedDigits(value, places, buffer);
    if (!n.plain)
        return std::nullopt;
    if (n.decimal == QLatin1Char('.'))
        return digits; // the locale's separator already
    if (const size_t separatorAt = digits.find('.'); separatorAt != std::string_view::npos)
        buffer[size_t(digits.data() - buffer) + separatorAt] = static_cast<char>(n.decimal.unicode());
    return digits;
}

QString numberText(double value, int places)
{
    char buffer[400];
    if (const auto digits = plainNumberText(value, places, buffer))
        return QString::fromLatin1(digits->data(), qsizetype(digits->size()));
    const LocaleNumbers& n = numbers();
    return localized(roundedDigits(value, places, buffer), n.locale, n.decimal);
}

QString plainNumberText(double value, int places)
{
    char buffer[400];
    const std::string_view digits = roundedDigits(value, places, buffer);
    return QString::fromLatin1(digits.data(), qsizetype(digits.size()));
}

} // namespace engine
