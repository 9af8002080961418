#include "lists/formats/nmeaclock.h"

#include <string>

namespace lists {
namespace {

constexpr qint64 kSecondsPerDay = 86400;

// ddmmyy, years 80 to 99 in the 1900s (receivers began then), the others in the 2000s.
std::optional<qint64> dayOf(QStringView date)
{
    if (date.size() != 6)
        return std::nullopt;
    int value[3];
    for (int i = 0; i < 3; ++i) {
        const QChar high = date[2 * i], low = date[2 * i + 1];
        if (!high.isDigit() || !low.isDigit() || high.unicode() > u'9' || low.unicode() > u'9')
            return std::nullopt;
        value[i] = (high.unicode() - u'0') * 10 + (low.unicode() - u'0');
    }
    const qint64 year = value[2] + (value[2] >= 80 ? 1900 : 2000);
    if (!isDayOf(year, value[1], value[0]))
        return std::nullopt;
    return daysFromCivil(year, value[1], value[0]);
}

} // namespace

std::optional<PointTime> NmeaClock::time(QStringView timeOfDay, QStringView date)
{
    const std::string ascii = timeOfDay.toLatin1().toStdString();
    std::optional<PointTime> time = lists::timeOfDay(ascii);
    const auto dated = dayOf(date);
    if (!time)
        return std::nullopt;
    if (dated)
        day_ = dated;
    else if (day_ && time->seconds < lastSecond_)
        ++*day_; // past midnight
    lastSecond_ = time->seconds;
    if (!day_)
        return std::nullopt;
    time->seconds += *day_ * kSecondsPerDay;
    return time;
}

} // namespace lists
