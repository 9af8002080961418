#include "app/xmlpointreader.h"

#include "app/pointrecord.h"

#include <expat.h>

#include <cstring>
#include <limits>

namespace app {
namespace {

// The element's name without its namespace prefix, whatever the prefix.
const char* localName(const char* qualified)
{
    const char* colon = std::strrchr(qualified, ':');
    return colon ? colon + 1 : qualified;
}

bool isSpace(QChar c) { return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r'; }

// UTF-8 text into a buffer that is reused from point to point: numbers are
// ASCII, and widening them costs no allocation once the buffer is grown.
QStringView decoded(QString& buffer, const char* utf8, qsizetype length)
{
    if (length < 0)
        length = qsizetype(std::strlen(utf8));
    unsigned char all = 0;
    for (qsizetype i = 0; i < length; ++i)
        all |= static_cast<unsigned char>(utf8[i]);
    if (all >= 0x80) {
        buffer = QString::fromUtf8(utf8, length);
        return buffer;
    }
    buffer.resize(length);
    QChar* const out = buffer.data();
    for (qsizetype i = 0; i < length; ++i)
        out[i] = QLatin1Char(utf8[i]);
    return buffer;
}

// What the parser found wrong, in words; a document cut short is told as such.
QString problem(XML_Error error, bool last)
{
    const bool cut = error == XML_ERROR_NO_ELEMENTS || error == XML_ERROR_UNCLOSED_TOKEN ||
                     error == XML_ERROR_PARTIAL_CHAR || error == XML_ERROR_UNCLOSED_CDATA_SECTION;
    if (last && cut)
        return QStringLiteral("the document ends early");
    return QString::fromUtf8(XML_ErrorString(error));
}

} // namespace

XmlPointReader::XmlPointReader(ListFormat format, const PointSink& point,
                               const PlainListOptions& options)
    : format_(format)
    , point_(point)
    , options_(options)
    // Prefixes are taken as they come: a file that never declares its prefix
    // still has its points.
    , parser_(XML_ParserCreate(nullptr))
{
    if (!parser_)
        throw Failure::outOfMemory();
    XML_SetUserData(parser_, this);
    XML_SetElementHandler(parser_, startElement, endElement);
    if (format_ == ListFormat::Kml)
        XML_SetCharacterDataHandler(parser_, characters);
}

XmlPointReader::~XmlPointReader() { XML_ParserFree(parser_); }

void XmlPointReader::feed(QByteArrayView bytes)
{
    // The parser takes at most an int's worth at a time.
    constexpr qsizetype most = std::numeric_limits<int>::max();
    for (; bytes.size() > most; bytes = bytes.sliced(most))
        parse(bytes.first(most), false);
    parse(bytes, false);
}

void XmlPointReader::finish() { parse({}, true); }

void XmlPointReader::parse(QByteArrayView bytes, bool last)
{
    const XML_Status status = XML_Parse(parser_, bytes.data(), int(bytes.size()), last);
    if (failure_)
        std::rethrow_exception(failure_);
    if (status != XML_STATUS_OK)
        throw invalidFileFormat(QStringLiteral("%1, line %2: %3")
                                    .arg(format_ == ListFormat::Gpx ? u"GPX" : u"KML")
                                    .arg(line())
                                    .arg(problem(XML_GetErrorCode(parser_), last)));
}

// A failure must not unwind through the parser: it stops the parser and is
// thrown again once the parser has returned.
template <typename Work> void XmlPointReader::guarded(Work work)
{
    if (failure_)
        return;
    try {
        work();
    } catch (...) {
        failure_ = std::current_exception();
        XML_StopParser(parser_, XML_FALSE);
    }
}

void XmlPointReader::startElement(void* self, const char* name, const char** attributes)
{
    auto& reader = *static_cast<XmlPointReader*>(self);
    reader.guarded([&] {
        const char* local = localName(name);
        if (reader.format_ == ListFormat::Gpx) {
            if (!std::strcmp(local, "trkpt") || !std::strcmp(local, "wpt") ||
                !std::strcmp(local, "rtept"))
                reader.gpxPoint(attributes);
        } else if (!std::strcmp(local, "coordinates")) {
            reader.inCoordinates_ = true;
        }
    });
}

void XmlPointReader::endElement(void* self, const char*)
{
    auto& reader = *static_cast<XmlPointReader*>(self);
    if (!reader.inCoordinates_)
        return;
    reader.guarded([&] {
        reader.inCoordinates_ = false;
        if (!reader.tuple_.isEmpty())
            reader.tuple(reader.tuple_);
        reader.tuple_.clear();
    });
}

void XmlPointReader::characters(void* self, const char* text, int length)
{
    auto& reader = *static_cast<XmlPointReader*>(self);
    if (reader.inCoordinates_)
        reader.guarded([&] { reader.coordinateText(decoded(reader.text_, text, length)); });
}

qint64 XmlPointReader::line() const { return qint64(XML_GetCurrentLineNumber(parser_)); }

void XmlPointReader::gpxPoint(const char** attributes)
{
    const char* latitude = nullptr;
    const char* longitude = nullptr;
    for (const char** at = attributes; *at; at += 2) {
        if (!std::strcmp(at[0], "lat"))
            latitude = at[1];
        else if (!std::strcmp(at[0], "lon"))
            longitude = at[1];
    }
    const QStringView lat = latitude ? decoded(latitude_, latitude, -1) : QStringView();
    const QStringView lon = longitude ? decoded(longitude_, longitude, -1) : QStringView();
    candidate(lat, lon, line());
}

// Tuples are separated by white space; a tuple may reach over several pieces
// of text (a comment or a block boundary between them).
void XmlPointReader::coordinateText(QStringView text)
{
    qint64 line = this->line();
    qsizetype start = 0;
    for (qsizetype i = 0; i <= text.size(); ++i) {
        if (i < text.size() && !isSpace(text[i]))
            continue;
        const QStringView piece = text.sliced(start, i - start);
        if (tuple_.isEmpty() && !piece.isEmpty())
            tupleLine_ = line;
        if (i == text.size()) {
            tuple_ += piece;
            break;
        }
        if (!tuple_.isEmpty()) {
            tuple_ += piece;
            tuple(tuple_);
            tuple_.clear();
        } else if (!piece.isEmpty()) {
            tuple(piece);
        }
        if (text[i] == u'\n')
            ++line;
        start = i + 1;
    }
}

void XmlPointReader::tuple(QStringView text)
{
    const auto fields = pointFields(text);
    if (fields)
        candidate(fields->longitude, fields->latitude, tupleLine_);
    else if (options_.skipped)
        options_.skipped(tupleLine_);
}

void XmlPointReader::candidate(QStringView latitude, QStringView longitude, qint64 line)
{
    // A point that is no pair of numbers is skipped, as a plain list's line is.
    if (isPoint({latitude, longitude}))
        point_(latitude, longitude);
    else if (options_.skipped)
        options_.skipped(line);
}

} // namespace app
