#include "app/pointrecord.h"

#include "engine/numbers.h"

#include <QString>

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
    // The views' characters are not copied: the engine only reads them.
    const bool latitude =
        engine::isNumeric(QString::fromRawData(fields.latitude.data(), fields.latitude.size()));
    const bool longitude =
        engine::isNumeric(QString::fromRawData(fields.longitude.data(), fields.longitude.size()));
    return latitude && longitude;
}

} // namespace app
