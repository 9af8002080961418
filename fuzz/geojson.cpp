// The GeoJSON reader on arbitrary bytes: every point's two texts are JSON
// numbers as they stand in the input, and a document that the reader takes
// and Qt's JSON parser reads as well gives one point or skipped position for
// each position that a walk over Qt's reading finds.

#include "lists/formats/geojsonreader.h"
#include "fuzzinput.h"
#include "core/failure.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

namespace {

bool isNumberText(QStringView text)
{
    static const QRegularExpression number(
        QStringLiteral("\\A-?(0|[1-9][0-9]*)(\\.[0-9]+)?([eE][+-]?[0-9]+)?\\z"));
    return number.match(text).hasMatch();
}

// The positions of a GeoJSON object as Qt reads it; -1 where it breaks the rules.
qsizetype positions(const QJsonValue& value, int depth);

qsizetype objectPositions(const QJsonValue& value)
{
    if (!value.isObject())
        return -1;
    const QJsonObject object = value.toObject();
    const QString type = object.value(QLatin1String("type")).toString();
    const auto each = [&](const char* key) -> qsizetype {
        const QJsonValue list = object.value(QLatin1String(key));
        if (!list.isArray())
            return list.isUndefined() ? 0 : -1;
        qsizetype count = 0;
        for (const QJsonValue& element : list.toArray()) {
            const qsizetype inner = objectPositions(element);
            if (inner < 0)
                return -1;
            count += inner;
        }
        return count;
    };
    static const QStringList depths{"Point", "MultiPoint", "MultiLineString", "MultiPolygon"};
    if (type == QLatin1String("FeatureCollection"))
        return each("features");
    if (type == QLatin1String("GeometryCollection"))
        return each("geometries");
    if (type == QLatin1String("Feature")) {
        const QJsonValue geometry = object.value(QLatin1String("geometry"));
        return geometry.isNull() || geometry.isUndefined() ? 0 : objectPositions(geometry);
    }
    const QJsonValue coordinates = object.value(QLatin1String("coordinates"));
    if (coordinates.isUndefined())
        return 0;
    if (type == QLatin1String("LineString"))
        return positions(coordinates, 1);
    if (type == QLatin1String("Polygon"))
        return positions(coordinates, 2);
    const qsizetype depth = depths.indexOf(type);
    return depth < 0 ? -1 : positions(coordinates, int(depth));
}

qsizetype positions(const QJsonValue& value, int depth)
{
    if (!value.isArray())
        return -1;
    const QJsonArray array = value.toArray();
    if (depth == 0) {
        for (const QJsonValue& number : array)
            if (!number.isDouble())
                return -1;
        return array.size() >= 2 ? 1 : -1;
    }
    qsizetype count = 0;
    for (const QJsonValue& element : array) {
        const qsizetype inner = positions(element, depth - 1);
        if (inner < 0)
            return -1;
        count += inner;
    }
    return count;
}

// Member names in the text: strings followed by a colon.
qsizetype namesInText(QByteArrayView json)
{
    qsizetype names = 0;
    for (qsizetype i = 0; i < json.size(); ++i) {
        if (json[i] != '"')
            continue;
        for (++i; i < json.size() && json[i] != '"'; ++i)
            i += json[i] == '\\';
        qsizetype after = i + 1;
        while (after < json.size() && QByteArrayView(" \t\r\n").contains(json[after]))
            ++after;
        names += after < json.size() && json[after] == ':';
    }
    return names;
}

// Member names as Qt reads them: a name given twice in one object counts once.
qsizetype namesRead(const QJsonValue& value)
{
    qsizetype names = 0;
    if (value.isObject()) {
        names = value.toObject().size();
        for (const QJsonValue& member : value.toObject())
            names += namesRead(member);
    } else if (value.isArray()) {
        for (const QJsonValue& element : value.toArray())
            names += namesRead(element);
    }
    return names;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const QString text = QString::fromUtf8(bytes);
    const QString detail = QString::fromLatin1(bytes.toHex());
    qsizetype found = 0;
    const lists::PointSink point = [&](QStringView latitude, QStringView longitude) {
        for (const QStringView number : {latitude, longitude})
            fuzz::check(isNumberText(number) && text.contains(number),
                        "a point's text is no number of the input", number.toString());
        ++found;
    };
    const lists::PlainListOptions options{[&](qint64) { ++found; }};
    bool failed = false;
    try {
        lists::readGeoJson(bytes, point, options);
    } catch (const core::Failure&) {
        failed = true;
    }
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
    // The whole document must be JSON: what Qt cannot read fails, except for
    // Qt's own limits (numbers beyond a double, its nesting limit) and a
    // byte-order mark, which the reader skips.
    const bool qtLimit = error.error == QJsonParseError::DeepNesting ||
                         error.error == QJsonParseError::IllegalNumber;
    fuzz::check(failed || error.error == QJsonParseError::NoError || qtLimit ||
                    bytes.startsWith("\xEF\xBB\xBF"),
                "a document that is no JSON read without a fault", detail);
    // The walk over Qt's reading takes the last of a name given twice; the
    // reader meets them all, so only documents without such names compare.
    if (failed || error.error != QJsonParseError::NoError || !document.isObject() ||
        namesInText(bytes) != namesRead(document.object()))
        return 0;
    const qsizetype expected = objectPositions(document.object());
    fuzz::check(expected >= 0, "a document read whole that breaks the rules", detail);
    fuzz::check(found == expected, "points and skipped positions differ from Qt's reading", detail);
    return 0;
}
