// The plain list with the command line's separators and columns on arbitrary
// lines: every line gives at most one point or one skip, in order; every point
// passes the numeric test; a missing column name is a failure, not a crash.

#include "lists/formats/plainlist.h"
#include "engine/numbers.h"
#include "fuzzinput.h"
#include "core/failure.h"

#include <QStringList>

namespace {

const QStringList kColumns{"", "1", "2", "3", "lat", "Lon", "0", "x y"};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::Input input(data, size);
    QLocale::setDefault(fuzz::locale(input.byte()));
    lists::PlainListOptions options;
    if (const uint8_t separator = input.byte() % 5; separator > 0)
        options.separator = lists::FieldSeparator(separator - 1);
    options.latitudeColumn = kColumns[input.byte() % kColumns.size()];
    options.longitudeColumn = kColumns[input.byte() % kColumns.size()];
    const QStringList lines = QString::fromUtf8(input.rest()).split(QLatin1Char('\n'));
    const QString detail = QString::fromLatin1(input.rest().toByteArray().toHex());

    qint64 last = 0, handed = 0;
    const auto next = [&](qint64 line) {
        fuzz::check(line > last && line <= lines.size(), "a line out of order", detail);
        last = line;
    };
    options.skipped = next;
    options.outOfRange = [&](qint64 line) { fuzz::check(line > 0, "no line", detail); };
    const lists::PointSink point = [&](QStringView latitude, QStringView longitude) {
        fuzz::check(engine::isNumeric(latitude.toString()) && engine::isNumeric(longitude.toString()),
                    "a point that is no pair of numbers", detail);
        ++handed;
    };
    lists::PlainList list(point, options);
    try {
        for (const QString& line : lines)
            list.line(line);
    } catch (const core::Failure&) {
        // a column name missing from the first line
    }
    fuzz::check(handed <= lines.size(), "more points than lines", detail);
    return 0;
}
