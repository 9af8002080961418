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

// A span of time, exact whatever the times (years 0 to 9999 apart too):
// whole seconds and nanoseconds of the same sign, with the fraction digits
// it is written with.
struct Duration {
    qint64 seconds = 0;
    qint64 nanoseconds = 0;
    int places = 0;
    static Duration between(const lists::PointTime& earlier, const lists::PointTime& later);
    void add(const Duration& other);
    double value() const { return double(seconds) + double(nanoseconds) * 1e-9; }
};

// The times of a pair's two points; null where a point has none.
struct PairTimes {
    const lists::PointTime* first = nullptr;
    const lists::PointTime* second = nullptr;
    bool both() const { return first && second; }
    // From the first to the second; with both only.
    Duration duration() const { return Duration::between(*first, *second); }
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

// Seconds as text: the fraction to its places, trailing zeros dropped.
std::string_view secondsText(const Duration& duration, char (&buffer)[400]);

// The unit's distance per hour, rounded half to even at the unit's places;
// nothing unless the time is above zero (and the speed below 10^12).
std::optional<std::string_view> speedText(double distance, const Duration& duration,
                                          const engine::DistanceUnit& unit, char (&buffer)[400]);

// "speed_km_per_h", "speed_mi_per_h"...; "speed_kn" for nautical miles.
std::string speedName(const engine::DistanceUnit& unit);

// Whether a pair counts as motion: faster than kMovingKilometersPerHour.
constexpr double kMovingKilometersPerHour = 1;
bool isMoving(double distance, const Duration& duration, const engine::DistanceUnit& unit);

} // namespace cli
