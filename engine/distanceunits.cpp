#include "engine/distanceunits.h"

#include "engine/formulaentry.h"
#include "engine/modzipdistance.h"
#include "engine/numbers.h"
#include "core/failure.h"

#include <GeographicLib/Geodesic.hpp>

#include <QStringList>

#include <array>
#include <cmath>
#include <limits>

namespace engine {
namespace {

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
        throw core::Failure::typeMismatch();
    return coordinate;
}

double finite(double value)
{
    if (!std::isfinite(value))
        throw core::Failure::invalidCall();
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

QString unitWords()
{
    QStringList words;
    for (const DistanceUnit& unit : kUnits)
        if (*unit.name)
            words << QLatin1String(unit.name);
    for (const DistanceUnit& unit : kUnits)
        words << QLatin1String(unit.symbol);
    const QString last = words.takeLast();
    return words.join(QLatin1String(", ")) + QLatin1String(" or ") + last;
}

const DistanceUnit* unitOfOption(int option)
{
    for (const DistanceUnit& unit : kUnits)
        if (option != 0 && unit.option == option)
            return &unit;
    return nullptr;
}

double coordinate(QStringView text)
{
    return engine::toNumber(text).value_or(std::numeric_limits<double>::quiet_NaN());
}

double pairDistance(DistanceModel model, const DistanceUnit& unit, const PointPair& pair)
{
    if (model == DistanceModel::Sphere) {
        if (sameTexts(pair.lat1, pair.lon1, pair.lat2, pair.lon2))
            return 0;
        return finite(modZipDistance::SphericalDistanceMiles(
                          valueOf(pair.latitude1), valueOf(pair.latitude2),
                          valueOf(pair.longitude1), valueOf(pair.longitude2)) *
                      unit.perMile);
    }
    double meters = 0;
    engine::enterFormula();
    GeographicLib::Geodesic::WGS84().Inverse(valueOf(pair.latitude1), valueOf(pair.longitude1),
                                             valueOf(pair.latitude2), valueOf(pair.longitude2),
                                             meters);
    return finite(meters / unit.meters);
}

} // namespace engine
