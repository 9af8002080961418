#pragma once
// The plain list format: one point a line, latitude and longitude as two
// fields of the line. The window reads the first two comma-separated fields;
// the command line may name another separator and other columns.

#include "app/pointrecord.h"
#include "engine/numbers.h"

#include <QString>
#include <QStringView>

#include <functional>

namespace app {

// Called once per point, in file order.
using PointSink = std::function<void(QStringView latitude, QStringView longitude)>;
// Called once per line that holds no point, with its 1-based number.
using SkipSink = std::function<void(qint64 line)>;

// How a plain list is read. The defaults are the window's reading.
struct PlainListOptions {
    SkipSink skipped; // may be empty
};

// Turns the lines of a plain list into points.
class PlainList {
public:
    PlainList(const PointSink& point, const PlainListOptions& options);
    void line(QStringView text);

private:
    const PointSink& point_;
    const PlainListOptions& options_;
    qint64 number_ = 0;
    engine::LocaleScope locale_; // read once for the whole list

};

} // namespace app
