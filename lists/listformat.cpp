#include "lists/listformat.h"

#include "lists/formats/fitreader.h"
#include "lists/formats/nmeareader.h"

#include <QByteArray>
#include <QStringDecoder>

#include <array>

namespace app {
namespace {

const QByteArrayView kUtf8Mark("\xEF\xBB\xBF");
const QByteArrayView kUtf16LeMark("\xFF\xFE");
const QByteArrayView kUtf16BeMark("\xFE\xFF");

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

qsizetype skipSpace(QByteArrayView text, qsizetype at)
{
    while (at < text.size() && isSpace(text[at]))
        ++at;
    return at;
}

// A JSON object opens with a member's name or closes at once.
ListFormat objectFormat(QByteArrayView text, bool complete)
{
    const qsizetype at = skipSpace(text, 0);
    if (at == text.size())
        return complete ? ListFormat::Plain : ListFormat::Undecided;
    return text[at] == '"' || text[at] == '}' ? ListFormat::Json : ListFormat::Plain;
}

const std::array<QByteArrayView, 9> kGeoJsonTypes{
    "FeatureCollection", "Feature", "Point",        "MultiPoint",        "LineString",
    "MultiLineString",   "Polygon", "MultiPolygon", "GeometryCollection"};

} // namespace

bool StartsWithUtf16Mark(QByteArrayView bytes)
{
    return bytes.startsWith(kUtf16LeMark) || bytes.startsWith(kUtf16BeMark);
}

ListFormat RecogniseListFormat(QByteArrayView head, bool complete)
{
    for (const auto recognise : {RecogniseFit, RecogniseNmea})
        if (const ListFormat format = recognise(head, complete); format != ListFormat::Plain)
            return format;
    if (StartsWithUtf16Mark(head)) {
        QStringDecoder decoder(head.startsWith(kUtf16LeMark) ? QStringDecoder::Utf16LE
                                                             : QStringDecoder::Utf16BE);
        const QByteArray text = QString(decoder.decode(head)).toUtf8();
        return RecogniseListFormat(text, complete);
    }
    // The first byte or two of a mark.
    if (!complete && !head.isEmpty() && head.size() < kUtf8Mark.size() &&
        (kUtf8Mark.startsWith(head) || kUtf16LeMark.startsWith(head) ||
         kUtf16BeMark.startsWith(head)))
        return ListFormat::Undecided;
    if (head.startsWith(kUtf8Mark))
        head = head.sliced(kUtf8Mark.size());
    const qsizetype at = skipSpace(head, 0);
    if (at == head.size())
        return complete ? ListFormat::Plain : ListFormat::Undecided;
    if (head[at] == '<')
        return ListFormat::Xml;
    if (head[at] == '{')
        return objectFormat(head.sliced(at + 1), complete);
    return ListFormat::Plain;
}

bool NamesGeoJsonType(QByteArrayView json)
{
    const QByteArrayView key("\"type\"");
    for (qsizetype at = json.indexOf(key); at >= 0; at = json.indexOf(key, at + 1)) {
        qsizetype i = skipSpace(json, at + key.size());
        if (i == json.size() || json[i] != ':')
            continue;
        i = skipSpace(json, i + 1);
        if (i == json.size() || json[i] != '"')
            continue;
        const qsizetype close = json.indexOf('"', i + 1);
        if (close < 0)
            return false;
        const QByteArrayView name = json.sliced(i + 1, close - i - 1);
        if (std::find(kGeoJsonTypes.begin(), kGeoJsonTypes.end(), name) != kGeoJsonTypes.end())
            return true;
    }
    return false;
}

} // namespace app
