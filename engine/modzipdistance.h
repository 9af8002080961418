#pragma once
// modZipDistance: the great-circle distance between two points given as
// texts, and the result sentence, in the unit selected in the window.

#include <QAnyStringView>
#include <QByteArray>
#include <QString>
#include <functional>

namespace engine::modZipDistance {

// Tells whether option button k (1 Miles, 2 Feet, 3 Kilometers, 4 Meters) is
// selected. GetDistance asks it on every call: the window passes its buttons.
using UnitOptions = std::function<bool(int option)>;
// Options where k alone is selected (0: none).
UnitOptions selectedOption(int k);

// A sentence in one buffer that serves pair after pair: Latin-1 while every
// character fits (as a list keeps its rows), UTF-16 otherwise.
class Sentence {
public:
    // Valid until the sentence next changes.
    QAnyStringView view() const;
    QString toString() const { return view().toString(); }
    void clear();
    // "Distance between (lat1,lon1) and (lat2,lon2) is " number and the unit's word
    // (which starts with its space).
    void compose(QAnyStringView lat1, QAnyStringView lon1, QAnyStringView lat2,
                 QAnyStringView lon2, QAnyStringView number, QLatin1String unitWord);

private:
    template <typename Write>
    static void pieces(Write& write, QAnyStringView lat1, QAnyStringView lon1,
                       QAnyStringView lat2, QAnyStringView lon2, QAnyStringView number,
                       QLatin1String unitWord);

    QByteArray latin1_; // its first latin1Size_ bytes; it only grows
    qsizetype latin1Size_ = 0;
    QString wide_;
    bool isWide_ = false;
};

// The sentence for the pair; never fails towards its caller. The texts are
// read where they are (a QString, or a row of a list store) and not kept.
QString GetDistance(QAnyStringView lat1, QAnyStringView lon1, QAnyStringView lat2,
                    QAnyStringView lon2, const UnitOptions& unitOptions);
// The same, written into `sentence`: a run makes a million of them.
void GetDistance(QAnyStringView lat1, QAnyStringView lon1, QAnyStringView lat2,
                 QAnyStringView lon2, const UnitOptions& unitOptions, Sentence& sentence);

double SphericalDistanceMiles(double lat1, double lat2, double lon1, double lon2);
double DegToRad(double degrees);
double RadToDeg(double radians);
double ArcCos(double x);

} // namespace engine::modZipDistance
