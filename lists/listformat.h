#pragma once
// Which format a list file is in, told by its first bytes, never by its name.

#include "core/failure.h"

#include <QByteArrayView>
#include <QString>

namespace lists {

enum class ListFormat {
    Undecided, // the bytes so far could still open any of the formats
    Plain,     // one point a line
    Xml,       // markup: the XML parser's first element tells GPX, KML or TCX
    Json,      // opens with "{": a JSON object, read as GeoJSON
    Fit,       // a FIT file's header
    Nmea,      // NMEA sentences with their checksums
};

// The format of a file that begins with these bytes; complete says that the
// bytes are the whole file. FIT, with a signature of its own, is told
// first. Then a byte-order mark (UTF-8, UTF-16 LE or BE) and white space may
// come first; "<" opens markup (also as UTF-16 big-endian without a mark,
// which the parser reads as it reads little-endian) and "{" an object; any
// other text is an NMEA log or a plain list (see recogniseNmea). Bytes that
// hold no more than these leave the format Undecided.
ListFormat recogniseListFormat(QByteArrayView head, bool complete);

// The UTF-16 byte-order marks: such a file is decoded before it is read.
bool startsWithUtf16Mark(QByteArrayView bytes);

// A recognised file that breaks its format's rules: what went wrong, and where.
constexpr int kInvalidFileFormat = 321;
inline core::Failure invalidFileFormat(const QString& what)
{
    return {kInvalidFileFormat, QStringLiteral("Invalid file format: ") + what};
}

// A document in markup, or a JSON object, that is none of the formats read:
// a failure of its own, which names the file and says what it is not.
constexpr int kNotAListDocument = 322;
inline core::Failure notAListDocument()
{
    return {kNotAListDocument, QStringLiteral("not a GPX, KML, TCX or GeoJSON document")};
}

// How deep objects, lists and elements may nest in a list file: far beyond
// any real document, and well within the stack of the thread that reads it.
constexpr int kMaxNesting = 256;

} // namespace lists
