#include "engine/modzipdistance.h"

#include "core/failure.h"
#include "core/trap.h"
#include "engine/numbers.h"

#include <QStringBuilder>
#include <algorithm>
#include <array>
#include <cmath>

namespace modZipDistance {
namespace {

struct Unit {
    const char* word;
    quint8 places;
    double factor; // from statute miles
};

constexpr std::array<Unit, 4> kUnits{{
    {" miles", 4, 1},
    {" feets", 2, 5280},
    {" kilometers", 3, 1.609344},
    {" meters", 2, 1609.344},
}};

constexpr double kPiDegrees = 3.14159265;      // the degree/radian conversions' pi
constexpr double kHalfPi = 1.5707963267949;    // arccosine, general case
constexpr double kPiArcCos = 3.14159265358979; // arccosine at -1
constexpr double kNauticalMilesPerDegree = 60;
constexpr double kMilesPerNauticalMile = 1.15078;

// Floating-point trouble in a step is a failure of that step.
double finite(double value)
{
    if (std::isnan(value))
        throw Failure::invalidCall();
    if (std::isinf(value))
        throw Failure::overflow();
    return value;
}

} // namespace

UnitOptions selectedOption(int k)
{
    return [k](int option) { return option == k; };
}

double DegToRad(double degrees) { return finite((kPiDegrees / 180) * degrees); }

double RadToDeg(double radians) { return finite((180 / kPiDegrees) * radians); }

double ArcCos(double x)
{
    if (std::fabs(x) == 1)
        return x == -1 ? kPiArcCos : 0;
    const double rest = 1 - x * x;
    if (rest < 0)
        throw Failure::invalidCall(); // square root of a negative number
    return finite(kHalfPi - std::atan(x / std::sqrt(rest)));
}

double SphericalDistanceMiles(double lat1, double lat2, double lon1, double lon2)
{
    const double p = finite(std::sin(DegToRad(lat1)) * std::sin(DegToRad(lat2)));
    const double c1 = std::cos(DegToRad(lat1));
    const double c2 = std::cos(DegToRad(lat2));
    const double d = finite(lon1 - lon2);
    const double cd = std::cos(DegToRad(d));
    // Rounding can push the cosine a last bit past +-1 for nearly identical
    // or nearly antipodal points; those are distance 0 and half a turn.
    const double x = std::clamp(finite(c2 * c1 * cd + p), -1.0, 1.0);
    const double degrees = RadToDeg(ArcCos(x));
    return finite(degrees * kNauticalMilesPerDegree * kMilesPerNauticalMile);
}

QString DecimalSeparator() { return engine::decimalSeparator(); }

QString GetDistance(const QString& lat1, const QString& lon1, const QString& lat2,
                    const QString& lon2, const UnitOptions& unitOptions)
{
    static const QString where = core::location("modZipDistance", "GetDistance");
    core::Trap trap(where);
    QLatin1String unitWord;
    quint8 places = 0;
    double factor = 0;
    double distance = 0;
    QString sentence;

    // Options are tested in order; the first selected one sets the unit.
    for (int option = 1; option <= 4; ++option) {
        const int label = 102 + (option - 1) * 8;
        if (trap.test(label, [&] { return unitOptions(option); })) {
            const Unit& unit = kUnits[option - 1];
            trap.step(label + 2, [&] { unitWord = QLatin1String(unit.word); });
            trap.step(label + 4, [&] { places = unit.places; });
            trap.step(label + 6, [&] { factor = unit.factor; });
            break;
        }
    }
    const auto compose = [&](const QString& number) -> QString {
        return QLatin1String("Distance between (") % lat1 % QLatin1Char(',') % lon1 %
               QLatin1String(") and (") % lat2 % QLatin1Char(',') % lon2 % QLatin1String(") is ") %
               number % unitWord;
    };
    if (trap.test(134, [&] { return lat2 == lat1 && lon2 == lon1; })) {
        trap.step(136, [&] { sentence = compose(QStringLiteral("0 ")); });
        return sentence;
    }
    trap.step(138, [&] {
        const double miles = SphericalDistanceMiles(engine::numberOf(lat1), engine::numberOf(lat2),
                                                    engine::numberOf(lon1), engine::numberOf(lon2));
        distance = finite(miles * factor);
    });
    trap.step(140, [&] { sentence = compose(engine::numberText(distance, places)); });
    return sentence;
}

} // namespace modZipDistance
