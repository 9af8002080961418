#include "cli/trackfigures.h"

#include "engine/numbers.h"

#include <cstring>

namespace cli {
namespace {

constexpr int kNanosecondPlaces = 9;
constexpr double kSecondsPerHour = 3600;

qint64 scaleDown(qint64 value, int places)
{
    for (int i = places; i < kNanosecondPlaces; ++i)
        value /= 10;
    return value;
}

} // namespace

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

std::string_view secondsText(qint64 nanoseconds, int places, char (&buffer)[400])
{
    return engine::unitsText(scaleDown(nanoseconds, places), places, buffer);
}

std::optional<std::string_view> speedText(double distance, qint64 nanoseconds,
                                          const engine::DistanceUnit& unit, char (&buffer)[400])
{
    if (nanoseconds <= 0)
        return std::nullopt;
    const double perHour = distance / (double(nanoseconds) * 1e-9) * kSecondsPerHour;
    return engine::unitsText(engine::roundedUnits(perHour, unit.places), unit.places, buffer);
}

std::string speedName(const engine::DistanceUnit& unit)
{
    if (std::strcmp(unit.symbol, "nmi") == 0)
        return "speed_kn";
    return std::string("speed_").append(unit.symbol).append("_per_h");
}

bool isMoving(double distance, qint64 nanoseconds, const engine::DistanceUnit& unit)
{
    if (nanoseconds <= 0)
        return false;
    const double kilometers = distance * unit.meters / 1000;
    return kilometers / (double(nanoseconds) * 1e-9) * kSecondsPerHour > kMovingKilometersPerHour;
}

} // namespace cli
