#include "lists/pointrecord.h"

#include "engine/numbers.h"

namespace app {

bool isPoint(const PointFields& fields)
{
    const bool latitude = engine::isNumeric(fields.latitude);
    const bool longitude = engine::isNumeric(fields.longitude);
    return latitude && longitude;
}

std::optional<PointValues> pointValues(const PointFields& fields)
{
    const auto latitude = engine::toNumber(fields.latitude);
    const auto longitude = engine::toNumber(fields.longitude);
    if (!latitude || !longitude)
        return std::nullopt;
    return PointValues{*latitude, *longitude};
}

} // namespace app
