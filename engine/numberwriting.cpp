#include "engine/numbers.h"

#include "core/failure.h"
#include "engine/localenumbers.h"

#include <QLocale>
#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <limits>

namespace engine {
namespace {

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
        throw core::Failure::overflow();
    std::optional<quint64> whole = scaledQuick(std::fabs(value), places);
    return whole ? whole : scaledWhole(std::fabs(value), places);
}

// The value at `places` decimals in plain ASCII ("-", digits, "."), without
// trailing zeros, without a separator for a whole value, and "0" for a
// negative value that rounds to zero. std::to_chars rounds the exact binary
// value, halves to even: scaling by a power of ten first could itself land on
// a half and round the wrong way.
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
            throw core::Failure::overflow();
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
        throw core::Failure::overflow();
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