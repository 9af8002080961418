#pragma once
// One point as text: a record (a typed-in entry or a line of a list file) of
// the form latitude "," longitude, further comma-separated fields ignored.
// The texts are taken verbatim, spaces included.

#include <QStringView>
#include <optional>

namespace lists {

struct PointFields {
    QStringView latitude;
    QStringView longitude;
};

// The first and second field of a record; nothing when it holds no comma.
// Inline: a list file's reading asks it for every line.
inline std::optional<PointFields> pointFields(QStringView record)
{
    // The first comma, or the text's size when it holds none.
    const auto commaIn = [](QStringView text) { return QtPrivate::qustrchr(text, u',') - text.utf16(); };
    const qsizetype comma = commaIn(record);
    if (comma == record.size())
        return std::nullopt;
    const QStringView rest = record.sliced(comma + 1);
    return PointFields{record.first(comma), rest.first(commaIn(rest))};
}

// Both fields pass the numeric test of points, engine::isNumeric (the
// conversion the distance engine uses, so every point that gets into the list
// can be computed). Both tests are always made.
bool isPoint(const PointFields& fields);

struct PointValues {
    double latitude = 0;
    double longitude = 0;
};

// The values of both fields when both pass that test (engine::toNumber gives
// a value exactly where engine::isNumeric passes): a reader that needs the
// values as well converts each text once.
std::optional<PointValues> pointValues(const PointFields& fields);

// The values of a point of a document format (GPX, KML, TCX) when it is one:
// pointValues, with "." the only decimal separator whatever the locale, and no
// other character than ASCII digits, signs, "." and an exponent (white space
// around them allowed).
std::optional<PointValues> documentPointValues(const PointFields& fields);

} // namespace lists
