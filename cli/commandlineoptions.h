#pragma once
// The command line's options, read from the program's arguments (as bytes).

#include "engine/distanceunits.h"
#include "lists/formats/plainlist.h"

#include <QByteArray>
#include <QList>

#include <variant>

namespace cli {

enum class ResultFormat { Text, Csv, Tsv, GeoJson };

struct JobOptions {
    ResultFormat format = ResultFormat::Text;
    const engine::DistanceUnit* unit = nullptr;
    engine::DistanceModel model = engine::DistanceModel::Sphere;
    lists::PlainListOptions reading; // separator and columns
    bool strict = false;
    bool segments = false; // pair points only within a segment of a list, never across files
    bool times = false;    // the rows gain the points' times, the seconds between and the speed
    bool summary = false;  // one record for all the lists instead of the rows
    QByteArray output;
    QList<QByteArray> files;
};

// The options, or the exit status when the process is done: --help and
// --version print and end with 0, a wrong command line is reported on
// standard error and ends with 2.
std::variant<JobOptions, int> readJobOptions(int argc, char* argv[]);

} // namespace cli
