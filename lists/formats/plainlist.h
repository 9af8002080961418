#pragma once
// The plain list format: one point a line, latitude and longitude as two
// fields of the line. The window reads the first two comma-separated fields;
// the command line may name another separator and other columns.

#include "lists/pointrecord.h"
#include "lists/pointtime.h"
#include "engine/numbers.h"

#include <QString>
#include <QStringView>

#include <functional>
#include <optional>
#include <vector>

namespace lists {

// Called once per point, in file order.
using PointSink = std::function<void(QStringView latitude, QStringView longitude)>;
// Called once per line that holds no point, with its 1-based number.
using SkipSink = std::function<void(qint64 line)>;

// How the fields of a line are parted, for files exported from spreadsheets.
enum class FieldSeparator { Comma, Semicolon, Tab, Space /* runs of spaces and tabs */ };

// How a plain list is read. The defaults are the window's reading.
struct PlainListOptions {
    SkipSink skipped;    // lines that hold no point; blank lines are not counted
    SkipSink outOfRange; // points beyond 90 degrees of latitude or 180 of longitude (kept)
    // Each point's values, converted once by the reader, handed over right
    // before the point itself: a caller that computes with them need not
    // convert the texts again.
    std::function<void(const PointValues& values)> values;
    // Tracks, for the command line: a reader calls segment where a segment
    // of its list begins (a GPX trkseg, a KML LineString, a FIT session...),
    // before that segment's first point; and, only when `time` is set, hands
    // each point's time over right before the point (after its values).
    // Without `time` no reader looks for times.
    std::function<void()> segment;
    std::function<void(const PointTime& time)> time;
    // Called by a reader whose notes number records, not lines (FIT).
    std::function<void()> recordNumbers;

    // Spreadsheet exports: with a separator or columns, a line is split into
    // fields on the separator (a field in double quotes may hold it, "" is a
    // quote), and the columns pick the latitude and the longitude: a 1-based
    // number, or a name in the first line, which is then a header.
    std::optional<FieldSeparator> separator; // Comma when only columns are set
    QString latitudeColumn;                  // "1" when empty
    QString longitudeColumn;                 // "2" when empty

    bool spreadsheet() const
    {
        return separator || !latitudeColumn.isEmpty() || !longitudeColumn.isEmpty();
    }
};

// Notes a point of any list format before it is handed on: its values to
// options.values, and one beyond 90 degrees of latitude or 180 of longitude
// to options.outOfRange with its line.
void notePoint(const PlainListOptions& options, const PointValues& values, qint64 line);

// A segment begins: options.segment, when set.
inline void noteSegment(const PlainListOptions& options)
{
    if (options.segment)
        options.segment();
}

// The time of the point about to be handed on, when there is one and it is asked for.
inline void noteTime(const PlainListOptions& options, const std::optional<PointTime>& time)
{
    if (time && options.time)
        options.time(*time);
}

// Turns the lines of a plain list into points.
class PlainList {
public:
    PlainList(const PointSink& point, const PlainListOptions& options);
    // cut: the line goes on past the text (see ListRecords): a field that
    // reaches the text's end may be longer, and is no point.
    void line(QStringView text, bool cut = false);

private:
    bool reachesCut(const PointFields& fields, QStringView text) const;
    std::optional<PointFields> spreadsheetFields(QStringView text);
    void splitFields(QStringView text);
    bool readFirstLine();
    QStringView field(qsizetype index, QString& buffer) const;

    const PointSink& point_;
    const PlainListOptions& options_;
    qint64 number_ = 0;
    bool headerPending_ = false;
    qsizetype latitudeIndex_ = 0, longitudeIndex_ = 1;
    std::vector<QStringView> fields_; // the current line's fields, quotes included
    QString latitudeText_, longitudeText_; // a quoted field with "" in it, unquoted
    engine::LocaleScope locale_; // read once for the whole list
};

} // namespace lists
