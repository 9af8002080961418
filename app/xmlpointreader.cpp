#include "app/xmlpointreader.h"

#include "app/pointrecord.h"

namespace app {
namespace {

// The element's name without its namespace prefix, whatever the prefix.
QStringView localName(QStringView qualified)
{
    return qualified.sliced(qualified.lastIndexOf(u':') + 1);
}

bool isSpace(QChar c) { return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r'; }

} // namespace

XmlPointReader::XmlPointReader(ListFormat format, const PointSink& point,
                               const PlainListOptions& options)
    : format_(format)
    , point_(point)
    , options_(options)
{
    // Prefixes are taken as they come: a file that never declares its
    // prefix still has its points.
    xml_.setNamespaceProcessing(false);
}

void XmlPointReader::feed(QByteArrayView bytes)
{
    xml_.addData(bytes.toByteArray());
    readTokens();
}

void XmlPointReader::finish()
{
    readTokens();
    if (!ended_)
        fail(QStringLiteral("the document ends early"));
}

void XmlPointReader::readTokens()
{
    while (!xml_.atEnd()) {
        switch (xml_.readNext()) {
        case QXmlStreamReader::StartElement:
            startElement();
            break;
        case QXmlStreamReader::EndElement:
            endElement();
            break;
        case QXmlStreamReader::Characters:
            if (inCoordinates_)
                coordinateText(xml_.text());
            break;
        default:
            break;
        }
    }
    if (xml_.error() != QXmlStreamReader::NoError &&
        xml_.error() != QXmlStreamReader::PrematureEndOfDocumentError)
        fail(xml_.errorString());
}

void XmlPointReader::startElement()
{
    ++depth_;
    const QStringView name = localName(xml_.qualifiedName());
    if (format_ == ListFormat::Gpx) {
        if (name == u"trkpt" || name == u"wpt" || name == u"rtept")
            gpxPoint();
    } else if (name == u"coordinates") {
        inCoordinates_ = true;
        tupleLine_ = xml_.lineNumber();
    }
}

void XmlPointReader::endElement()
{
    if (inCoordinates_) {
        inCoordinates_ = false;
        if (!tuple_.isEmpty())
            tuple(tuple_);
        tuple_.clear();
    }
    if (--depth_ == 0)
        ended_ = true;
}

void XmlPointReader::gpxPoint()
{
    const QXmlStreamAttributes attributes = xml_.attributes();
    candidate(attributes.value(QLatin1StringView("lat")),
              attributes.value(QLatin1StringView("lon")), xml_.lineNumber());
}

// Tuples are separated by white space; a tuple may reach over several pieces
// of text (a comment or a block boundary between them).
void XmlPointReader::coordinateText(QStringView text)
{
    qint64 line = xml_.lineNumber() - text.count(u'\n');
    qsizetype start = 0;
    for (qsizetype i = 0; i <= text.size(); ++i) {
        if (i < text.size() && !isSpace(text[i]))
            continue;
        const QStringView piece = text.sliced(start, i - start);
        if (i == text.size()) {
            if (!piece.isEmpty() && tuple_.isEmpty())
                tupleLine_ = line;
            tuple_ += piece;
            break;
        }
        if (!tuple_.isEmpty() || !piece.isEmpty()) {
            if (tuple_.isEmpty()) {
                tupleLine_ = line;
                tuple(piece);
            } else {
                tuple_ += piece;
                tuple(tuple_);
                tuple_.clear();
            }
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

void XmlPointReader::fail(const QString& what) const
{
    throw invalidFileFormat(QStringLiteral("%1, line %2: %3")
                                .arg(format_ == ListFormat::Gpx ? u"GPX" : u"KML")
                                .arg(xml_.lineNumber())
                                .arg(what));
}

} // namespace app
