#pragma once
// The units, for the window and the command line alike, and the two ways of
// measuring a pair.

#include <QString>
#include <QStringView>

namespace engine {

// On the window's sphere a degree of arc is 60 nautical miles of 1.15078 statute miles.
constexpr double kMilesPerNauticalMile = 1.15078;

struct DistanceUnit {
    const char* symbol;     // csv/tsv headers: distance_km
    const char* name;       // the long name --unit also takes; empty for none
    int option;             // the window's option button, 0 for none (text format refuses it)
    const char* windowWord; // the word of the window's sentence
    int places;             // decimals, rounded half to even
    double perMile;         // on the sphere: units per statute mile of the window's formula
    double meters;          // on the ellipsoid: meters per unit
};

// mi, ft, km, m, nmi or their long names, in any letter case; null for none.
const DistanceUnit* unitNamed(const QString& name);
// "miles, feet, kilometers, meters, mi, ft, km, m or nmi": every word unitNamed takes.
QString unitWords();
// The unit of the window's option button 1 to 4 (Miles, Feet, Kilometers,
// Meters); null for any other.
const DistanceUnit* unitOfOption(int option);

enum class DistanceModel { Sphere, Wgs84 };

// Two neighbouring points: their texts as read, and their values (NaN for a
// text that is no number).
struct PointPair {
    QStringView lat1, lon1, lat2, lon2;
    double latitude1 = 0, longitude1 = 0, latitude2 = 0, longitude2 = 0;
};

// Points whose texts are equal, latitude to latitude and longitude to
// longitude, are 0 apart without a computation, as the window has it: the
// one place of that rule, for texts of any kind.
template <typename Text>
bool sameTexts(const Text& lat1, const Text& lon1, const Text& lat2, const Text& lon2)
{
    return lat1 == lat2 && lon1 == lon2;
}

// A coordinate's value, NaN when the text is no number.
double coordinate(QStringView text);

// The distance of a pair in the unit, unrounded. The sphere is the window's
// formula (points whose texts are equal are 0 apart); WGS84 the geodesic on
// the ellipsoid. Throws Failure when the pair cannot be measured.
double pairDistance(DistanceModel model, const DistanceUnit& unit, const PointPair& pair);

} // namespace engine
