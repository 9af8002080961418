#pragma once
// The figures of a track that the command line writes beside the distances:
// the times of a pair's points, the seconds between them, the speed.

#include "engine/distanceunits.h"
#include "lists/pointtime.h"

#include <algorithm>
#include <optional>
#include <string>
#include <string_view>

namespace cli {

// The times of a pair's two points; null where a point has none.
struct PairTimes {
    const lists::PointTime* first = nullptr;
    const lists::PointTime* second = nullptr;
    bool both() const { return first && second; }
    // From the first to the second, exact; with both only.
    qint64 nanoseconds() const { return lists::nanosecondsBetween(*first, *second); }
    // The fraction digits the difference has: the more of the two.
    int places() const { return std::max(first->places, second->places); }
};

// isoText of the times a pair after another writes: the second point's time
// of one pair is the first's of the next, and is written out once.
class TimeTexts {
public:
    std::string_view text(const lists::PointTime& time);

private:
    struct Slot {
        lists::PointTime time{-1, -1, -1};
        char text[48];
        std::string_view written;
    };
    Slot slots_[2];
    int next_ = 0;
};

// Seconds as text: the fraction to `places` digits, trailing zeros dropped.
std::string_view secondsText(qint64 nanoseconds, int places, char (&buffer)[400]);

// The unit's distance per hour, rounded half to even at the unit's places;
// nothing unless the time is above zero.
std::optional<std::string_view> speedText(double distance, qint64 nanoseconds,
                                          const engine::DistanceUnit& unit, char (&buffer)[400]);

// "speed_km_per_h", "speed_mi_per_h"...; "speed_kn" for nautical miles.
std::string speedName(const engine::DistanceUnit& unit);

// Whether a pair counts as motion: faster than kMovingKilometersPerHour.
constexpr double kMovingKilometersPerHour = 1;
bool isMoving(double distance, qint64 nanoseconds, const engine::DistanceUnit& unit);

} // namespace cli
