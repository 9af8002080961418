#include "cli/trackfigures.h"

#include "engine/numbers.h"

#include <charconv>
#include <cstdlib>
#include <cstring>
#include <iterator>

namespace cli {
namespace {

constexpr int kNanosecondPlaces = 9;
constexpr qint64 kNanosecondsPerSecond = 1'000'000'000;
constexpr double kSecondsPerHour = 3600;
constexpr double kFastest = 1e12; // units per hour: below what the unit's places can round

qint64 scaleDown(qint64 value, int places)
{
    for (int i = places; i < kNanosecondPlaces; ++i)
        value /= 10;
    return value;
}

// The seconds and the nanoseconds of the same sign, the nanoseconds below one second.
void normalise(Duration& duration)
{
    duration.seconds += duration.nanoseconds / kNanosecondsPerSecond;
    duration.nanoseconds %= kNanosecondsPerSecond;
    if (duration.seconds > 0 && duration.nanoseconds < 0) {
        --duration.seconds;
        duration.nanoseconds += kNanosecondsPerSecond;
    } else if (duration.seconds < 0 && duration.nanoseconds > 0) {
        ++duration.seconds;
        duration.nanoseconds -= kNanosecondsPerSecond;
    }
}

} // namespace

Duration Duration::between(const lists::PointTime& earlier, const lists::PointTime& later)
{
    Duration duration{later.seconds - earlier.seconds, later.nanoseconds - earlier.nanoseconds,
                      std::max(earlier.places, later.places)};
    normalise(duration);
    return duration;
}

void Duration::add(const Duration& other)
{
    seconds += other.seconds;
    nanoseconds += other.nanoseconds;
    places = std::max(places, other.places);
    normalise(*this);
}

std::string_view TimeTexts::text(const lists::PointTime& time)
{
    for (const Slot& slot : slots_)
        if (slot.time.seconds == time.seconds && slot.time.nanoseconds == time.nanoseconds &&
            slot.time.places == time.places)
            return slot.written;
    Slot& slot = slots_[next_];
    next_ ^= 1;
    slot.time = time;
    slot.written = lists::isoText(time, slot.text);
    return slot.written;
}

std::string_view secondsText(const Duration& duration, char (&buffer)[400])
{
    char* out = buffer;
    if (duration.seconds < 0 || duration.nanoseconds < 0)
        *out++ = '-';
    const quint64 whole = duration.seconds < 0 ? 0 - quint64(duration.seconds) : quint64(duration.seconds);
    out = std::to_chars(out, std::end(buffer), whole).ptr;
    qint64 fraction = scaleDown(std::abs(duration.nanoseconds), duration.places);
    int places = duration.places;
    for (; places > 0 && fraction % 10 == 0; --places)
        fraction /= 10;
    if (places > 0) {
        *out++ = '.';
        for (int i = places - 1; i >= 0; --i, fraction /= 10)
            out[i] = char('0' + fraction % 10);
        out += places;
    }
    return {buffer, size_t(out - buffer)};
}

std::optional<std::string_view> speedText(double distance, const Duration& duration,
                                          const engine::DistanceUnit& unit, char (&buffer)[400])
{
    if (duration.seconds < 0 || duration.value() <= 0)
        return std::nullopt;
    const double perHour = distance / duration.value() * kSecondsPerHour;
    // Points a few nanoseconds apart: no speed rather than a figure past any meaning.
    if (!(perHour < kFastest))
        return std::nullopt;
    return engine::unitsText(engine::roundedUnits(perHour, unit.places), unit.places, buffer);
}

std::string speedName(const engine::DistanceUnit& unit)
{
    if (std::strcmp(unit.symbol, "nmi") == 0)
        return "speed_kn";
    return std::string("speed_").append(unit.symbol).append("_per_h");
}

bool isMoving(double distance, const Duration& duration, const engine::DistanceUnit& unit)
{
    if (duration.value() <= 0)
        return false;
    const double kilometers = distance * unit.meters / 1000;
    return kilometers / duration.value() * kSecondsPerHour > kMovingKilometersPerHour;
}

} // namespace cli
