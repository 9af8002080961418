#pragma once
// The command line's GeoJSON: one FeatureCollection whose features are the
// pairs, each a LineString from the first point to the second with the
// distance, the running total and the unit as properties (and, with times,
// time1, time2, seconds and speed, null where a point has none). Written as
// it comes, one feature a line, so memory does not grow with the lists.
// Positions are [longitude, latitude] with the numbers as read, where the
// text is a JSON number; any other text (" 5", "+5", "5.") is written as the
// shortest JSON number of its value.

#include "cli/trackfigures.h"
#include "cli/resultsfile.h"

#include <string>
#include <string_view>

namespace cli {

class GeoJsonRows {
public:
    GeoJsonRows(const engine::DistanceUnit& unit, ResultsFile& file, bool times);
    void header();
    void row(const engine::PointPair& pair, double distance, const PairTimes& times = {});
    // Closes the collection and hands the lines not yet written to the file.
    void finish();

private:
    void position(QStringView latitude, double latitudeValue, QStringView longitude,
                  double longitudeValue);
    void number(QStringView text, double value);
    void timeProperties(double distance, const PairTimes& times);
    void flush();

    const engine::DistanceUnit& unit_;
    ResultsFile& file_;
    bool times_;
    std::string lines_;
    std::string scratch_;
    qint64 total_ = 0; // in units of the last place
    bool first_ = true;
    TimeTexts timeTexts_;
};

} // namespace cli
