#include "lists/pointrecord.h"

#include "engine/numbers.h"

namespace app {

bool isPoint(const PointFields& fields)
{
    const bool latitude = engine::isNumeric(fields.latitude);
    const bool longitude = engine::isNumeric(fields.longitude);
    return latitude && longitude;
}

} // namespace app
