#include "app/pointrecord.h"

#include "engine/numbers.h"

namespace app {
std::optional<PointFields> pointFields(QStringView record)
{
    const qsizetype comma = record.indexOf(u',');
    if (comma < 0)
        return std::nullopt;
    const QStringView rest = record.sliced(comma + 1);
    const qsizetype next = rest.indexOf(u',');
    return PointFields{record.first(comma), next < 0 ? rest : rest.first(next)};
}

bool isPoint(const PointFields& fields)
{
    const bool latitude = engine::isNumeric(fields.latitude);
    const bool longitude = engine::isNumeric(fields.longitude);
    return latitude && longitude;
}

} // namespace app
