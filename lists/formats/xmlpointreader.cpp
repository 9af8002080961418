#include "lists/formats/xmlpointreader.h"

#include "lists/pointrecord.h"

#include <algorithm>
#include <cstring>

namespace app {
namespace {

const QByteArrayView kUtf8Mark("\xEF\xBB\xBF");

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }
// What ends the name of an element or an attribute.
bool endsName(char c) { return isSpace(c) || c == '=' || c == '/' || c == '<' || c == '>'; }

// The element's name without its namespace prefix, whatever the prefix.
QByteArrayView localName(QByteArrayView qualified)
{
    return qualified.sliced(qualified.lastIndexOf(':') + 1);
}

// UTF-8 text into a buffer that is reused from point to point: numbers are
// ASCII, and widening them costs no allocation once the buffer is grown.
QStringView decoded(QString& buffer, QByteArrayView utf8)
{
    unsigned char all = 0;
    for (const char c : utf8)
        all |= static_cast<unsigned char>(c);
    if (all >= 0x80) {
        buffer = QString::fromUtf8(utf8);
        return buffer;
    }
    buffer.resize(utf8.size());
    QChar* const out = buffer.data();
    for (qsizetype i = 0; i < utf8.size(); ++i)
        out[i] = QLatin1Char(utf8[i]);
    return buffer;
}

} // namespace

XmlPointReader::XmlPointReader(ListFormat format, const PointSink& point,
                               const PlainListOptions& options)
    : format_(format)
    , point_(point)
    , options_(options)
{
}

void XmlPointReader::feed(QByteArrayView bytes)
{
    buffer_.append(bytes);
    read(false);
}

void XmlPointReader::finish()
{
    read(true);
    if (!buffer_.isEmpty() || !rootSeen_ || !nameStarts_.isEmpty())
        fail(buffer_.size(), "the document ends early");
}

// Reads every markup and text that the buffer holds whole; keeps the rest.
void XmlPointReader::read(bool last)
{
    qsizetype at = 0;
    if (!started_) {
        if (!last && buffer_.size() < kUtf8Mark.size() && kUtf8Mark.startsWith(buffer_))
            return;
        started_ = true;
        if (buffer_.startsWith(kUtf8Mark))
            at = kUtf8Mark.size();
    }
    while (at < buffer_.size()) {
        if (buffer_[at] != '<') {
            at = text(at);
            continue;
        }
        qsizetype next = at;
        if (markup(next) == Step::Wait)
            break;
        searched_ = 0;
        at = next;
    }
    lineAt(at);
    buffer_.remove(0, at);
    lineCounted_ = 0;
}

// Text up to the next markup or the end of the buffer.
qsizetype XmlPointReader::text(qsizetype at)
{
    const char* const begin = buffer_.constData();
    const void* const open = std::memchr(begin + at, '<', size_t(buffer_.size() - at));
    const qsizetype end = open ? static_cast<const char*>(open) - begin : buffer_.size();
    const QByteArrayView run(begin + at, end - at);
    if (nameStarts_.isEmpty()) {
        const auto stray = std::find_if(run.begin(), run.end(), [](char c) { return !isSpace(c); });
        if (stray != run.end())
            fail(at + (stray - run.begin()), "text outside the document element");
    } else if (coordinatesDepth_ >= 0) {
        coordinateText(run, lineAt(at));
    }
    return end;
}

XmlPointReader::Step XmlPointReader::markup(qsizetype& at)
{
    const QByteArrayView rest = QByteArrayView(buffer_).sliced(at);
    if (rest.size() < 2)
        return Step::Wait;
    switch (rest[1]) {
    case '?':
        return skipTo(at, "?>", 2);
    case '!':
        return section(at);
    case '/':
        return endTag(at);
    default:
        return startTag(at);
    }
}

// Comments, character data sections and the document type.
XmlPointReader::Step XmlPointReader::section(qsizetype& at)
{
    const QByteArrayView rest = QByteArrayView(buffer_).sliced(at);
    const QByteArrayView data("<![CDATA["), type("<!DOCTYPE");
    if (rest.size() < 4 ||
        (rest.size() < data.size() && (data.startsWith(rest) || type.startsWith(rest))))
        return Step::Wait;
    if (rest.startsWith("<!--"))
        return skipTo(at, "-->", 4);
    if (rest.startsWith(type)) {
        if (rootSeen_)
            fail(at, "a document type inside the document");
        return documentType(at);
    }
    if (!rest.startsWith(data))
        invalid(at);
    if (nameStarts_.isEmpty())
        fail(at, "character data outside the document element");
    const qsizetype start = at;
    if (skipTo(at, "]]>", data.size()) == Step::Wait)
        return Step::Wait;
    if (coordinatesDepth_ >= 0)
        coordinateText(
            QByteArrayView(buffer_).sliced(start + data.size(), at - start - data.size() - 3),
            lineAt(start));
    return Step::Done;
}

XmlPointReader::Step XmlPointReader::skipTo(qsizetype& at, QByteArrayView close, qsizetype from)
{
    const qsizetype end = buffer_.indexOf(close, at + std::max(from, searched_));
    if (end < 0) {
        searched_ = std::max(from, buffer_.size() - at - close.size() + 1);
        return Step::Wait;
    }
    at = end + close.size();
    return Step::Done;
}

// A document type may hold declarations in brackets, with ">" in them and in quotes.
XmlPointReader::Step XmlPointReader::documentType(qsizetype& at)
{
    char quote = 0;
    int depth = 0;
    for (qsizetype i = at + 9; i < buffer_.size(); ++i) {
        const char c = buffer_[i];
        if (quote)
            quote = c == quote ? 0 : quote;
        else if (c == '"' || c == '\'')
            quote = c;
        else if (c == '[')
            ++depth;
        else if (c == ']')
            --depth;
        else if (c == '>' && depth <= 0) {
            at = i + 1;
            return Step::Done;
        }
    }
    return Step::Wait;
}

XmlPointReader::Step XmlPointReader::startTag(qsizetype& at)
{
    qsizetype i = at + 1;
    while (i < buffer_.size() && !endsName(buffer_[i]))
        ++i;
    if (i == buffer_.size())
        return Step::Wait;
    const QByteArrayView name = QByteArrayView(buffer_).sliced(at + 1, i - at - 1);
    if (name.isEmpty())
        invalid(at);
    bool empty = false;
    if (attributes(i, empty) == Step::Wait)
        return Step::Wait;
    if (rootSeen_ && nameStarts_.isEmpty())
        fail(at, "junk after document element");
    rootSeen_ = true;
    const QByteArrayView local = localName(name);
    if (format_ == ListFormat::Gpx && (local == "trkpt" || local == "wpt" || local == "rtept"))
        point(at);
    if (!empty) {
        if (format_ == ListFormat::Kml && local == "coordinates" && coordinatesDepth_ < 0)
            coordinatesDepth_ = nameStarts_.size() + 1;
        open(name);
    }
    at = i;
    return Step::Done;
}

// The attributes up to the tag's end, from just after the element's name to
// just after the ">"; empty tells a tag that closes itself.
XmlPointReader::Step XmlPointReader::attributes(qsizetype& i, bool& empty)
{
    attributes_.clear();
    for (;;) {
        const qsizetype space = i;
        i = skipSpace(i);
        if (i == buffer_.size() || (buffer_[i] == '/' && i + 1 == buffer_.size()))
            return Step::Wait;
        if (buffer_[i] == '>' || buffer_[i] == '/') {
            empty = buffer_[i] == '/';
            if (empty && buffer_[i + 1] != '>')
                invalid(i);
            i += empty ? 2 : 1;
            return Step::Done;
        }
        if (space == i)
            invalid(i);
        if (attribute(i) == Step::Wait)
            return Step::Wait;
    }
}

// One name="value" or name='value'.
XmlPointReader::Step XmlPointReader::attribute(qsizetype& i)
{
    const char* const p = buffer_.constData();
    const qsizetype n = buffer_.size();
    const qsizetype nameStart = i;
    while (i < n && !endsName(p[i]))
        ++i;
    const qsizetype nameEnd = i;
    i = skipSpace(i);
    if (i < n && (nameStart == nameEnd || p[i] != '='))
        invalid(i);
    if (i < n)
        i = skipSpace(i + 1);
    if (i == n)
        return Step::Wait;
    if (p[i] != '"' && p[i] != '\'')
        invalid(i);
    const void* const close = std::memchr(p + i + 1, p[i], size_t(n - i - 1));
    if (!close)
        return Step::Wait;
    const qsizetype valueEnd = static_cast<const char*>(close) - p;
    const QByteArrayView value(p + i + 1, valueEnd - i - 1);
    if (value.contains('<'))
        invalid(i);
    attributes_.append({QByteArrayView(p + nameStart, nameEnd - nameStart), value});
    i = valueEnd + 1;
    return Step::Done;
}

qsizetype XmlPointReader::skipSpace(qsizetype i) const
{
    while (i < buffer_.size() && isSpace(buffer_[i]))
        ++i;
    return i;
}

void XmlPointReader::open(QByteArrayView name)
{
    nameStarts_.append(names_.size());
    names_.append(name);
}

XmlPointReader::Step XmlPointReader::endTag(qsizetype& at)
{
    const char* const p = buffer_.constData();
    const void* const close = std::memchr(p + at + 2, '>', size_t(buffer_.size() - at - 2));
    if (!close)
        return Step::Wait;
    const qsizetype end = static_cast<const char*>(close) - p;
    QByteArrayView name(p + at + 2, end - at - 2);
    while (!name.isEmpty() && isSpace(name.back()))
        name.chop(1);
    if (nameStarts_.isEmpty() || QByteArrayView(names_).sliced(nameStarts_.back()) != name)
        fail(at, "mismatched tag");
    if (coordinatesDepth_ == nameStarts_.size()) {
        coordinatesDepth_ = -1;
        if (!tuple_.isEmpty())
            tuple(tuple_);
        tuple_.clear();
    }
    names_.truncate(nameStarts_.back());
    nameStarts_.removeLast();
    at = end + 1;
    return Step::Done;
}

void XmlPointReader::point(qsizetype at)
{
    QByteArrayView latitude, longitude;
    bool hasLatitude = false, hasLongitude = false;
    for (const auto& [name, value] : attributes_) {
        if (name == "lat") {
            latitude = value;
            hasLatitude = true;
        } else if (name == "lon") {
            longitude = value;
            hasLongitude = true;
        }
    }
    candidate(hasLatitude ? decoded(latitude_, latitude) : QStringView(),
              hasLongitude ? decoded(longitude_, longitude) : QStringView(), lineAt(at));
}

// Tuples are separated by white space; a tuple may reach over several pieces
// of text (a comment or a block boundary between them). Each tuple is decoded
// whole, so that where the blocks end never changes its text.
void XmlPointReader::coordinateText(QByteArrayView bytes, qint64 line)
{
    qsizetype start = 0;
    for (qsizetype i = 0; i <= bytes.size(); ++i) {
        if (i < bytes.size() && !isSpace(bytes[i]))
            continue;
        const QByteArrayView piece = bytes.sliced(start, i - start);
        if (tuple_.isEmpty() && !piece.isEmpty())
            tupleLine_ = line;
        if (i == bytes.size()) {
            tuple_.append(piece);
            break;
        }
        if (!tuple_.isEmpty()) {
            tuple_.append(piece);
            tuple(tuple_);
            tuple_.clear();
        } else if (!piece.isEmpty()) {
            tuple(piece);
        }
        if (bytes[i] == '\n')
            ++line;
        start = i + 1;
    }
}

void XmlPointReader::tuple(QByteArrayView bytes)
{
    const auto fields = pointFields(decoded(text_, bytes));
    if (fields)
        candidate(fields->longitude, fields->latitude, tupleLine_);
    else if (options_.skipped)
        options_.skipped(tupleLine_);
}

void XmlPointReader::candidate(QStringView latitude, QStringView longitude, qint64 line)
{
    // A point that is no pair of numbers is skipped, as a plain list's line is.
    if (const auto values = pointValues({latitude, longitude})) {
        NotePoint(options_, *values, line);
        point_(latitude, longitude);
    } else if (options_.skipped)
        options_.skipped(line);
}

// Lines are counted forward only, so counting stays linear.
qint64 XmlPointReader::lineAt(qsizetype at)
{
    const char* const end = buffer_.constData() + at;
    for (const char* from = buffer_.constData() + lineCounted_; from < end; ++line_) {
        from = static_cast<const char*>(std::memchr(from, '\n', size_t(end - from)));
        if (!from)
            break;
        ++from;
    }
    lineCounted_ = std::max(lineCounted_, at);
    return line_;
}

void XmlPointReader::invalid(qsizetype at) { fail(at, "not well-formed (invalid token)"); }

void XmlPointReader::fail(qsizetype at, const char* what)
{
    throw invalidFileFormat(QStringLiteral("%1, line %2: %3")
                                .arg(format_ == ListFormat::Gpx ? u"GPX" : u"KML")
                                .arg(lineAt(at))
                                .arg(QLatin1String(what)));
}

} // namespace app
