#pragma once
// One point as text: a record (a typed-in entry or a line of a list file) of
// the form latitude "," longitude, further comma-separated fields ignored.
// The texts are taken verbatim, spaces included.

#include <QStringView>
#include <optional>

namespace app {

struct PointFields {
    QStringView latitude;
    QStringView longitude;
};

// The first and second field of a record; nothing when it holds no comma.
std::optional<PointFields> pointFields(QStringView record);

// The numeric test of points: engine::isNumeric, the conversion the distance
// engine uses, so every point that gets into the list can be computed.
// Plain decimals ("-71.3878") are decided without a conversion wherever the
// locale writes ASCII digits and an ASCII minus sign: the engine turns their
// "." into the locale's separator, so the locale always accepts them. That
// keeps a file of a million points quick to load.
class PointTest {
public:
    PointTest(); // looks at the current default locale
    bool isNumeric(QStringView text) const;
    // Both fields are always tested.
    bool isPoint(const PointFields& fields) const;

private:
    bool plainDecimalsPass_ = false;
};

} // namespace app
