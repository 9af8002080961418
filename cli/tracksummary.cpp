#include "cli/tracksummary.h"

#include "engine/numbers.h"

#include <array>

namespace cli {

struct TrackSummary::Texts {
    std::string distance, first, last, elapsed, moving, speed;
};

void TrackSummary::point(const std::optional<lists::PointTime>& time, bool startsSegment)
{
    ++points_;
    segments_ += startsSegment;
    if (!time)
        return;
    if (!first_)
        first_ = time;
    last_ = time;
}

void TrackSummary::pair(double distance, const PairTimes& times)
{
    ++pairs_;
    total_ += engine::roundedUnits(distance, unit_.places);
    if (!times.both() || !isMoving(distance, times.duration(), unit_))
        return;
    moved_ = true;
    moving_.add(times.duration());
    movingDistance_ += distance;
}

TrackSummary::Texts TrackSummary::texts() const
{
    Texts texts;
    char buffer[400];
    texts.distance = engine::unitsText(total_, unit_.places, buffer);
    if (first_) {
        char time[48];
        texts.first = lists::isoText(*first_, time);
        texts.last = lists::isoText(*last_, time);
        texts.elapsed = secondsText(Duration::between(*first_, *last_), buffer);
        texts.moving = secondsText(moving_, buffer);
    }
    if (moved_)
        texts.speed = speedText(movingDistance_, moving_, unit_, buffer).value_or("");
    return texts;
}

std::string TrackSummary::record(ResultFormat format) const
{
    const Texts figures = texts();
    const std::string symbol = unit_.symbol;
    const std::array<std::pair<std::string, std::string>, 9> fields{{
        {"points", std::to_string(points_)},
        {"pairs", std::to_string(pairs_)},
        {"segments", std::to_string(segments_)},
        {"distance_" + symbol, figures.distance},
        {"first_time", figures.first},
        {"last_time", figures.last},
        {"elapsed_seconds", figures.elapsed},
        {"moving_seconds", figures.moving},
        {"moving_" + speedName(unit_), figures.speed},
    }};
    std::string out;
    if (format == ResultFormat::Text) {
        for (const auto& [name, value] : fields)
            out += name + ": " + (value.empty() ? "-" : value) + '\n';
        return out;
    }
    const char separator = format == ResultFormat::Tsv ? '\t' : ',';
    for (const auto& field : fields)
        out += field.first + separator;
    out.back() = '\n';
    for (const auto& field : fields)
        out += field.second + separator;
    out.back() = '\n';
    return out;
}

} // namespace cli
