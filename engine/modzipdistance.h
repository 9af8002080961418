#pragma once
// modZipDistance: the great-circle distance between two points given as
// texts, and the result sentence, in the unit selected in the window.

#include <QAnyStringView>
#include <QString>
#include <functional>

namespace modZipDistance {

// Tells whether option button k (1 Miles, 2 Feet, 3 Kilometers, 4 Meters) is
// selected. The window installs it; GetDistance asks it on every call.
using UnitOptions = std::function<bool(int option)>;
void setUnitOptions(UnitOptions options);

// The sentence for the pair; never fails towards its caller. The texts are
// read where they are (a QString, or a row of a list store) and not kept.
QString GetDistance(QAnyStringView lat1, QAnyStringView lon1, QAnyStringView lat2,
                    QAnyStringView lon2);

double SphericalDistanceMiles(double lat1, double lat2, double lon1, double lon2);
double DegToRad(double degrees);
double RadToDeg(double radians);
double ArcCos(double x);
QString DecimalSeparator();

} // namespace modZipDistance
