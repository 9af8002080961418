#pragma once
// --summary: the lists in one record instead of their rows. Points, pairs
// and segments counted; the distance is the sum of the rows' rounded
// distances (the last cumulative of the rows); first and last time are the
// first and last point's that has one, the elapsed time between them; the
// time in motion sums the pairs faster than kMovingKilometersPerHour, and
// the moving speed is their distance over that time.

#include "cli/commandlineoptions.h"
#include "cli/trackfigures.h"

#include <optional>
#include <string>

namespace cli {

class TrackSummary {
public:
    explicit TrackSummary(const engine::DistanceUnit& unit)
        : unit_(unit)
    {
    }
    void point(const std::optional<lists::PointTime>& time, bool startsSegment);
    void pair(double distance, const PairTimes& times);
    // csv or tsv: a header and one row; text: a line for each figure.
    std::string record(ResultFormat format) const;

private:
    struct Texts; // the figures as text, empty where there are no times
    Texts texts() const;

    const engine::DistanceUnit& unit_;
    qint64 points_ = 0, pairs_ = 0, segments_ = 0;
    qint64 total_ = 0; // in units of the last place
    std::optional<lists::PointTime> first_, last_;
    Duration moving_;
    double movingDistance_ = 0;
    bool moved_ = false;
};

} // namespace cli
