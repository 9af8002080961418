#include "app/pointrecord.h"

#include "engine/numbers.h"

#include <algorithm>

namespace app {
namespace {

// The fields are short: a plain walk finds the comma sooner than a call into
// the library's vectorised search pays off.
qsizetype commaIn(QStringView text)
{
    return std::find(text.begin(), text.end(), QLatin1Char(',')) - text.begin();
}

} // namespace

std::optional<PointFields> pointFields(QStringView record)
{
    const qsizetype comma = commaIn(record);
    if (comma == record.size())
        return std::nullopt;
    const QStringView rest = record.sliced(comma + 1);
    return PointFields{record.first(comma), rest.first(commaIn(rest))};
}

bool isPoint(const PointFields& fields)
{
    const bool latitude = engine::isNumeric(fields.latitude);
    const bool longitude = engine::isNumeric(fields.longitude);
    return latitude && longitude;
}

} // namespace app
