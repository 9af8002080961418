#pragma once
// modZipDistance: the great-circle distance between two points given as
// texts, and the result sentence, in the unit selected in the window.

#include <QString>
#include <functional>

namespace modZipDistance {

// Tells whether option button k (1 Miles, 2 Feet, 3 Kilometers, 4 Meters) is
// selected. GetDistance asks it on every call: the window passes its buttons.
using UnitOptions = std::function<bool(int option)>;
// Options where k alone is selected (0: none).
UnitOptions selectedOption(int k);

// The sentence for the pair; never fails towards its caller.
QString GetDistance(const QString& lat1, const QString& lon1, const QString& lat2,
                    const QString& lon2, const UnitOptions& unitOptions);

double SphericalDistanceMiles(double lat1, double lat2, double lon1, double lon2);
double DegToRad(double degrees);
double RadToDeg(double radians);
double ArcCos(double x);
QString DecimalSeparator();

} // namespace modZipDistance
