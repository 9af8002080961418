#pragma once
// Which format a list file is in, told by its first bytes, never by its name.

#include "core/failure.h"

#include <QByteArrayView>
#include <QString>

namespace app {

enum class ListFormat {
    Undecided, // the bytes so far could still open any of the formats
    Plain,     // one point a line
    Xml,       // markup: the XML parser's first element tells GPX, KML or TCX
    Json,      // opens a JSON object: GeoJSON when it holds a GeoJSON type
    Fit,       // a FIT file's header
    Nmea,      // a first line that opens an NMEA sentence
};

// The format of a file that begins with these bytes; complete says that the
// bytes are the whole file. The formats with a signature of their own (FIT,
// NMEA; see their readers) are told first. Then a byte-order
// mark (UTF-8, UTF-16 LE or BE) and white space may come first; "<" opens
// markup and "{" an object. Bytes that hold no more than these leave the
// format Undecided.
ListFormat RecogniseListFormat(QByteArrayView head, bool complete);

// Whether JSON text names a GeoJSON type ("type": "Feature", "Point", ...).
bool NamesGeoJsonType(QByteArrayView json);

// The UTF-16 byte-order marks: such a file is decoded before it is read.
bool StartsWithUtf16Mark(QByteArrayView bytes);

// A recognised file that breaks its format's rules: what went wrong, and where.
inline Failure invalidFileFormat(const QString& what)
{
    return {321, QStringLiteral("Invalid file format: ") + what};
}

} // namespace app
