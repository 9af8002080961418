#include "lists/pointtime.h"

#include "core/plaintext.h"

#include <cstdio>

namespace lists {
namespace {

constexpr qint64 kSecondsPerDay = 86400;
constexpr int kMaxPlaces = 9;

// Reads the text left to right; every step fails softly.
class Cursor {
public:
    explicit Cursor(QByteArrayView text)
        : text_(text)
    {
    }
    bool done() const { return at_ == text_.size(); }
    bool take(char c)
    {
        if (at_ < text_.size() && text_[at_] == c)
            return ++at_, true;
        return false;
    }
    bool isDigit() const { return at_ < text_.size() && text_[at_] >= '0' && text_[at_] <= '9'; }
    // Exactly `count` digits, or nothing.
    std::optional<int> digits(int count)
    {
        int value = 0;
        for (int i = 0; i < count; ++i) {
            if (!isDigit())
                return std::nullopt;
            value = value * 10 + (text_[at_++] - '0');
        }
        return value;
    }
    // A fraction's digits after the ".": at most nine kept.
    bool fraction(PointTime& time)
    {
        if (!isDigit())
            return false;
        int scale = 100'000'000;
        while (isDigit()) {
            if (time.places < kMaxPlaces) {
                time.nanoseconds += (text_[at_] - '0') * scale;
                scale /= 10;
                ++time.places;
            }
            ++at_;
        }
        return true;
    }

private:
    QByteArrayView text_;
    qsizetype at_ = 0;
};

// value's last `count` decimal digits, leading zeros included.
char* digits(char* out, int value, int count)
{
    for (int i = count - 1; i >= 0; --i, value /= 10)
        out[i] = char('0' + value % 10);
    return out + count;
}

QByteArrayView trimmed(QByteArrayView text)
{
    while (!text.isEmpty() && core::isWhiteSpace(text.front()))
        text = text.sliced(1);
    while (!text.isEmpty() && core::isWhiteSpace(text.back()))
        text.chop(1);
    return text;
}

// hh:mm:ss[.f] into time, on day 0; with `colons` false hhmmss[.f].
bool clock(Cursor& in, PointTime& time, bool colons)
{
    const auto hours = in.digits(2);
    if (!hours || (colons && !in.take(':')))
        return false;
    const auto minutes = in.digits(2);
    if (!minutes || (colons && !in.take(':')))
        return false;
    const auto seconds = in.digits(2);
    // 24:00:00 is the end of a day; a leap second (60) counts into the next minute.
    if (!seconds || *hours > 24 || *minutes > 59 || *seconds > 60)
        return false;
    if (in.take('.') && !in.fraction(time))
        return false;
    if (*hours == 24 && (*minutes != 0 || *seconds != 0 || time.nanoseconds != 0))
        return false;
    time.seconds = *hours * 3600 + *minutes * 60 + *seconds;
    return true;
}

// Z, +hh:mm, +hhmm, +hh or nothing: the seconds to add to reach UTC.
std::optional<qint64> offset(Cursor& in)
{
    if (in.done() || in.take('Z') || in.take('z'))
        return in.done() ? std::optional<qint64>(0) : std::nullopt;
    const int sign = in.take('+') ? -1 : in.take('-') ? 1 : 0;
    const auto hours = in.digits(2);
    if (sign == 0 || !hours || *hours > 23)
        return std::nullopt;
    int minutes = 0;
    if (!in.done()) {
        in.take(':');
        const auto written = in.digits(2);
        if (!written || *written > 59)
            return std::nullopt;
        minutes = *written;
    }
    if (!in.done())
        return std::nullopt;
    return sign * (qint64(*hours) * 3600 + minutes * 60);
}

} // namespace

qint64 daysFromCivil(qint64 year, int month, int day)
{
    // Howard Hinnant's days_from_civil, years counted from March.
    year -= month <= 2;
    const qint64 era = (year >= 0 ? year : year - 399) / 400;
    const qint64 yearOfEra = year - era * 400;
    const qint64 dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const qint64 dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

bool isDayOf(qint64 year, int month, int day)
{
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12 || day < 1)
        return false;
    const bool leap = year % 4 == 0 && (year % 100 != 0 || year % 400 == 0);
    return day <= kDays[month - 1] + (month == 2 && leap ? 1 : 0);
}

std::optional<PointTime> isoTime(QByteArrayView text)
{
    Cursor in(trimmed(text));
    const auto year = in.digits(4);
    if (!year || !in.take('-'))
        return std::nullopt;
    const auto month = in.digits(2);
    if (!month || !in.take('-'))
        return std::nullopt;
    const auto day = in.digits(2);
    if (!day || !isDayOf(*year, *month, *day) || !(in.take('T') || in.take('t')))
        return std::nullopt;
    PointTime time;
    if (!clock(in, time, true))
        return std::nullopt;
    const auto toUtc = offset(in);
    if (!toUtc)
        return std::nullopt;
    time.seconds += daysFromCivil(*year, *month, *day) * kSecondsPerDay + *toUtc;
    return time;
}

std::optional<PointTime> timeOfDay(std::string_view text)
{
    Cursor in(QByteArrayView(text.data(), qsizetype(text.size())));
    PointTime time;
    if (!clock(in, time, false) || !in.done())
        return std::nullopt;
    return time;
}

std::string_view isoText(const PointTime& time, char (&buffer)[48])
{
    const qint64 days = time.seconds >= 0 ? time.seconds / kSecondsPerDay
                                          : (time.seconds - kSecondsPerDay + 1) / kSecondsPerDay;
    const qint64 second = time.seconds - days * kSecondsPerDay;
    // civil_from_days, the inverse of daysFromCivil.
    const qint64 z = days + 719468;
    const qint64 era = (z >= 0 ? z : z - 146096) / 146097;
    const qint64 dayOfEra = z - era * 146097;
    const qint64 yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const qint64 dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const qint64 shifted = (5 * dayOfYear + 2) / 153;
    const int day = int(dayOfYear - (153 * shifted + 2) / 5 + 1);
    const int month = int(shifted < 10 ? shifted + 3 : shifted - 9);
    const qint64 year = yearOfEra + era * 400 + (month <= 2);
    char* out = buffer;
    if (year < 0 || year > 9999) {
        out += std::snprintf(out, 24, "%+lld", static_cast<long long>(year));
    } else {
        out = digits(out, int(year), 4);
    }
    *out++ = '-';
    out = digits(out, month, 2);
    *out++ = '-';
    out = digits(out, day, 2);
    *out++ = 'T';
    out = digits(out, int(second / 3600), 2);
    *out++ = ':';
    out = digits(out, int(second / 60 % 60), 2);
    *out++ = ':';
    out = digits(out, int(second % 60), 2);
    if (time.places > 0) {
        int fraction = time.nanoseconds;
        for (int i = time.places; i < kMaxPlaces; ++i)
            fraction /= 10;
        *out++ = '.';
        out = digits(out, fraction, time.places);
    }
    *out++ = 'Z';
    return {buffer, size_t(out - buffer)};
}

} // namespace lists
