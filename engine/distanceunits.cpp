#include "engine/distanceunits.h"

#include "engine/modzipdistance.h"
#include "engine/numbers.h"
#include "core/failure.h"

#include <GeographicLib/Geodesic.hpp>

#include <array>
#include <cmath>
#include <limits>

namespace app {
namespace {

// On the window's sphere a degree of arc is 60 nautical miles of 1.15078 statute miles.
constexpr double kMilesPerNauticalMile = 1.15078;

constexpr std::array<DistanceUnit, 5> kUnits{{
    {"mi", "miles", 1, " miles", 4, 1, 1609.344},
    {"ft", "feet", 2, " feets", 2, 5280, 0.3048},
    {"km", "kilometers", 3, " kilometers", 3, 1.609344, 1000},
    {"m", "meters", 4, " meters", 2, 1609.344, 1},
    {"nmi", "", 0, "", 4, 1 / kMilesPerNauticalMile, 1852},
}};

double valueOf(double coordinate)
{
    if (std::isnan(coordinate))
        throw Failure::typeMismatch();
    return coordinate;
}

double finite(double value)
{
    if (!std::isfinite(value))
        throw Failure::invalidCall();
    return value;
}

} // namespace

const DistanceUnit* unitNamed(const QString& name)
{
    for (const DistanceUnit& unit : kUnits)
        if (name.compare(QLatin1String(unit.symbol), Qt::CaseInsensitive) == 0 ||
            (*unit.name && name.compare(QLatin1String(unit.name), Qt::CaseInsensitive) == 0))
            return &unit;
    return nullptr;
}

double coordinate(QStringView text)
{
    // Without a copy: the conversion only reads the text.
    return engine::toNumber(QString::fromRawData(text.data(), text.size()))
        .value_or(std::numeric_limits<double>::quiet_NaN());
}

double pairDistance(DistanceModel model, const DistanceUnit& unit, const PointPair& pair)
{
    if (model == DistanceModel::Sphere) {
        if (pair.lat1 == pair.lat2 && pair.lon1 == pair.lon2)
            return 0;
        return finite(modZipDistance::SphericalDistanceMiles(
                          valueOf(pair.latitude1), valueOf(pair.latitude2),
                          valueOf(pair.longitude1), valueOf(pair.longitude2)) *
                      unit.perMile);
    }
    double meters = 0;
    GeographicLib::Geodesic::WGS84().Inverse(valueOf(pair.latitude1), valueOf(pair.longitude1),
                                             valueOf(pair.latitude2), valueOf(pair.longitude2),
                                             meters);
    return finite(meters / unit.meters);
}

} // namespace app
