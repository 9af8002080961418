#include "lists/formats/xmlpointreader.h"

#include "core/plaintext.h"
#include "lists/listformat.h"
#include "lists/pointrecord.h"

#include <algorithm>
#include <array>

namespace lists {
namespace {

const std::array<QByteArrayView, 3> kGpxNamespaces{
    "", "http://www.topografix.com/GPX/1/0", "http://www.topografix.com/GPX/1/1"};
const std::array<QByteArrayView, 6> kKmlNamespaces{
    "", "http://www.opengis.net/kml/2.2", "http://www.opengis.net/kml/2.3",
    "http://earth.google.com/kml/2.0", "http://earth.google.com/kml/2.1",
    "http://earth.google.com/kml/2.2"};
const std::array<QByteArrayView, 2> kTcxNamespaces{
    "", "http://www.garmin.com/xmlschemas/TrainingCenterDatabase/v2"};
const QByteArrayView kGxNamespace("http://www.google.com/kml/ext/2.2");

// A number's text is never longer: a longer one is kept no further, and is no
// point (a tuple, a gx:coord, a TCX degrees text or a GPX attribute).
constexpr qsizetype kFieldLimit = 1024;

template <size_t n> bool isOneOf(QByteArrayView uri, const std::array<QByteArrayView, n>& list)
{
    return std::find(list.begin(), list.end(), uri) != list.end();
}

void appendBounded(QByteArray& to, QByteArrayView bytes)
{
    if (to.size() <= kFieldLimit)
        to.append(bytes.first(std::min(bytes.size(), kFieldLimit + 1 - to.size())));
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

XmlPointReader::XmlPointReader(const PointSink& point, const PlainListOptions& options)
    : point_(point)
    , options_(options)
    , times_(bool(options.time))
{
    parser_.emplace(static_cast<XmlEvents&>(*this));
}

XmlPointReader::Document XmlPointReader::feed(QByteArrayView bytes)
{
    if (document_ != Document::Undecided)
        return parse([&] { parser_->feed(bytes); });
    prologue_.append(bytes);
    if (prologue_.size() > kPrologueLimit)
        fail({QStringLiteral("no element in the first %1 MB").arg(kPrologueLimit / 1'000'000), 0});
    if (!retry_)
        return parse([&] { parser_->feed(bytes); });
    // Trying again only once the bytes have doubled keeps small blocks linear.
    return prologue_.size() >= 2 * tried_ ? reparse(false) : document_;
}

XmlPointReader::Document XmlPointReader::finish()
{
    if (document_ == Document::Undecided)
        return reparse(true);
    return parse([&] { parser_->finish(); });
}

// libxml2's push parser may judge a document type before all of it has
// arrived (a ">" inside a quoted system name): a fault before the first
// element is taken as final only once the bytes so far, parsed anew in one
// piece, show it too.
template <typename Step> XmlPointReader::Document XmlPointReader::parse(Step step)
{
    try {
        step();
    } catch (const XmlError& error) {
        if (document_ != Document::Undecided || retry_)
            fail(error);
        retry_ = true;
        tried_ = prologue_.size();
        return document_;
    }
    if (document_ == Document::Points)
        prologue_ = QByteArray();
    return document_;
}

XmlPointReader::Document XmlPointReader::reparse(bool last)
{
    parser_.emplace(static_cast<XmlEvents&>(*this));
    tried_ = prologue_.size();
    try {
        parser_->feed(prologue_);
        if (last)
            parser_->finish();
    } catch (const XmlError& error) {
        if (document_ != Document::Undecided || last)
            fail(error);
        return document_;
    }
    if (last && document_ == Document::Undecided)
        fail({QStringLiteral("no element"), 0});
    retry_ = false;
    if (document_ == Document::Points)
        prologue_ = QByteArray();
    return document_;
}

void XmlPointReader::start(QByteArrayView local, QByteArrayView uri,
                           std::span<const Attribute> attributes, qint64 line)
{
    if (depth_ == 0 && format_ == Format::None)
        return root(local, uri);
    ++depth_;
    const bool own = isOwn(uri);
    switch (format_) {
    case Format::Gpx:
        if (own)
            gpxElement(local, attributes, line);
        break;
    case Format::Kml:
        // Inside a coordinates or a gx:coord, an element adds its text and no more.
        if (coordinates_ >= 0 || coord_ >= 0)
            break;
        if (own && local == "coordinates") {
            coordinates_ = depth_;
            line_ >= 0 ? newSegment() : waypoint();
            pointTime_ = line_ >= 0 ? std::nullopt : placemarkTime_;
        } else if (uri == kGxNamespace && local == "coord") {
            coord_ = depth_;
            field_ = &tuple_;
            tupleLine_ = line;
        } else if (uri == kGxNamespace && local == "Track" && track_ < 0) {
            track_ = depth_;
            newSegment();
        } else if (own) {
            kmlElement(local);
        }
        break;
    case Format::Tcx:
        // Degrees that hold an element are no number.
        if (degrees_ >= 0)
            (field_ == &latitudeText_ ? hasLatitude_ : hasLongitude_) = false;
        else if (own)
            tcxElement(local, line);
        break;
    case Format::None:
        break;
    }
}

// libxml2 keeps one copy of each namespace URI: its address tells most elements.
bool XmlPointReader::isOwn(QByteArrayView uri)
{
    if (ownUri_ && uri.data() == ownUri_)
        return true;
    if (uri != namespace_)
        return false;
    if (!uri.isEmpty())
        ownUri_ = uri.data();
    return true;
}

// The first element tells the format; one of none of them stops the reading.
void XmlPointReader::root(QByteArrayView local, QByteArrayView uri)
{
    if (local == "gpx" && isOneOf(uri, kGpxNamespaces))
        format_ = Format::Gpx;
    // A KML document may also be one Placemark, Document or other element of
    // a KML namespace.
    else if ((local == "kml" || !uri.isEmpty()) && isOneOf(uri, kKmlNamespaces))
        format_ = Format::Kml;
    else if (local == "TrainingCenterDatabase" && isOneOf(uri, kTcxNamespaces))
        format_ = Format::Tcx;
    if (format_ == Format::None) {
        document_ = Document::Foreign;
        parser_->stop();
        return;
    }
    document_ = Document::Points;
    // A GPX point is all in its start tag, unless its time is asked for.
    if (format_ == Format::Gpx && !times_)
        parser_->startTagsOnly();
    namespace_ = uri.toByteArray();
    depth_ = 1;
}

void XmlPointReader::end()
{
    if (depth_ == time_) {
        timeRead();
    } else if (depth_ == coordinates_) {
        if (!tuple_.isEmpty())
            tuple(tupleLine_);
        coordinates_ = -1;
    } else if (depth_ == coord_) {
        gxCoord(tupleLine_);
        coord_ = -1;
        field_ = nullptr;
    } else if (depth_ == degrees_) {
        degrees_ = -1;
        field_ = nullptr;
    } else if (depth_ == position_) {
        position_ = -1;
        heldPosition(tupleLine_);
    }
    closeTracks();
    --depth_;
}

void XmlPointReader::text(QByteArrayView utf8)
{
    if (coordinates_ >= 0)
        coordinateText(utf8, parser_->line());
    else if (field_)
        appendBounded(*field_, utf8);
}

void XmlPointReader::gpxElement(QByteArrayView local, std::span<const Attribute> attributes,
                                qint64 line)
{
    if (local == "trkpt" || local == "wpt" || local == "rtept") {
        if (local == "wpt")
            waypoint();
        gpxPoint(attributes, line);
    } else if (local == "trkseg" || local == "rte") {
        newSegment();
    } else if (local == "time" && position_ >= 0 && depth_ == position_ + 1) {
        timeElement();
    }
}

void XmlPointReader::kmlElement(QByteArrayView local)
{
    if ((local == "LineString" || local == "LinearRing") && line_ < 0)
        line_ = depth_;
    else if (local == "Placemark")
        placemarkTime_.reset();
    else if (local == "TimeStamp" && timeStamp_ < 0)
        timeStamp_ = depth_;
    else if (local == "when" && (track_ >= 0 || timeStamp_ >= 0))
        timeElement();
}

// A time element's text is read when times are asked for.
void XmlPointReader::timeElement()
{
    if (!times_ || time_ >= 0 || field_)
        return;
    time_ = depth_;
    timeText_.resize(0); // keeps its room
    field_ = &timeText_;
}

void XmlPointReader::timeRead()
{
    const auto read = isoTime(timeText_);
    time_ = -1;
    field_ = nullptr;
    if (track_ >= 0)
        whens_.push_back(read);
    else if (timeStamp_ >= 0)
        placemarkTime_ = read;
    else
        pointTime_ = read;
}

// The end of an element that a segment or a time depends on.
void XmlPointReader::closeTracks()
{
    if (depth_ == line_)
        line_ = -1;
    if (depth_ == timeStamp_)
        timeStamp_ = -1;
    if (depth_ == track_) {
        track_ = -1;
        whens_.clear();
    }
}

// A waypoint: it opens a segment after a line, joins the group after another waypoint.
void XmlPointReader::waypoint()
{
    if (!std::exchange(waypoints_, true))
        noteSegment(options_);
}

void XmlPointReader::newSegment()
{
    waypoints_ = false;
    noteSegment(options_);
}

void XmlPointReader::gpxPoint(std::span<const Attribute> attributes, qint64 line)
{
    const Attribute* latitude = nullptr;
    const Attribute* longitude = nullptr;
    for (const Attribute& attribute : attributes) {
        if (!attribute.uri.isEmpty())
            continue;
        if (attribute.local == "lat")
            latitude = &attribute;
        else if (attribute.local == "lon")
            longitude = &attribute;
    }
    // With times, the point waits for its end tag and the <time> before it.
    if (times_ && position_ < 0) {
        position_ = depth_;
        tupleLine_ = line;
        pointTime_.reset();
        hasLatitude_ = latitude != nullptr;
        hasLongitude_ = longitude != nullptr;
        latitudeText_.resize(0);
        longitudeText_.resize(0);
        if (latitude)
            appendBounded(latitudeText_, latitude->value);
        if (longitude)
            appendBounded(longitudeText_, longitude->value);
        return;
    }
    if (!latitude || !longitude || latitude->value.size() > kFieldLimit ||
        longitude->value.size() > kFieldLimit)
        return skip(line);
    // XML white space around a number is no part of it: its digits as written.
    candidate(decoded(latitude_, core::trimmedWhiteSpace(latitude->value)),
              decoded(longitude_, core::trimmedWhiteSpace(longitude->value)), line);
}

// A Position and its two degrees; a Position of a Trackpoint or a CoursePoint alike.
void XmlPointReader::tcxElement(QByteArrayView local, qint64 line)
{
    if (local == "Track")
        newSegment();
    else if (local == "Trackpoint" || local == "CoursePoint")
        pointTime_.reset(); // a point's time is its own
    else if (local == "Time")
        timeElement();
    if (local == "Position" && position_ < 0) {
        position_ = depth_;
        tupleLine_ = line;
        latitudeText_.clear();
        longitudeText_.clear();
        hasLatitude_ = hasLongitude_ = false;
    } else if (depth_ == position_ + 1 && position_ >= 0 && degrees_ < 0) {
        if (local == "LatitudeDegrees") {
            field_ = &latitudeText_;
            hasLatitude_ = true;
        } else if (local == "LongitudeDegrees") {
            field_ = &longitudeText_;
            hasLongitude_ = true;
        } else {
            return;
        }
        field_->clear();
        degrees_ = depth_;
    }
}

// Tuples are separated by white space; a tuple may reach over several pieces
// of text (a comment or a block boundary between them). Each tuple is decoded
// whole, so that where the pieces end never changes its text.
void XmlPointReader::coordinateText(QByteArrayView bytes, qint64 line)
{
    // line is where the piece ends: a tuple's line is counted back from it.
    line -= std::count(bytes.begin(), bytes.end(), '\n');
    qsizetype start = 0;
    for (qsizetype i = 0; i <= bytes.size(); ++i) {
        if (i < bytes.size() && !core::isWhiteSpace(bytes[i]))
            continue;
        const QByteArrayView piece = bytes.sliced(start, i - start);
        if (tuple_.isEmpty() && !piece.isEmpty())
            tupleLine_ = line;
        appendBounded(tuple_, piece);
        if (i == bytes.size())
            break;
        if (!tuple_.isEmpty())
            tuple(tupleLine_);
        if (bytes[i] == '\n')
            ++line;
        start = i + 1;
    }
}

void XmlPointReader::tuple(qint64 line)
{
    const auto fields = tuple_.size() > kFieldLimit ? std::nullopt
                                                    : pointFields(decoded(latitude_, tuple_));
    if (fields)
        candidate(fields->longitude, fields->latitude, line);
    else
        skip(line);
    tuple_.resize(0);
}

// "lon lat" or "lon lat alt", apart by white space.
void XmlPointReader::gxCoord(qint64 line)
{
    std::array<QByteArrayView, 4> fields;
    qsizetype count = 0;
    QByteArrayView rest = core::trimmedWhiteSpace(tuple_);
    while (!rest.isEmpty() && count < qsizetype(fields.size())) {
        const auto end = std::find_if(rest.begin(), rest.end(), [](char c) { return core::isWhiteSpace(c); });
        fields[size_t(count++)] = rest.first(end - rest.begin());
        rest = core::trimmedWhiteSpace(rest.sliced(end - rest.begin()));
    }
    if (times_ && !whens_.empty()) {
        pointTime_ = whens_.front();
        whens_.pop_front();
    }
    if (count < 2 || count > 3 || !rest.isEmpty() || tuple_.size() > kFieldLimit)
        skip(line);
    else
        candidate(decoded(latitude_, fields[1]), decoded(longitude_, fields[0]), line);
    tuple_.resize(0); // the buffer is kept for the next one
}

void XmlPointReader::heldPosition(qint64 line)
{
    if (!hasLatitude_ || !hasLongitude_ || latitudeText_.size() > kFieldLimit ||
        longitudeText_.size() > kFieldLimit)
        return skip(line);
    candidate(decoded(latitude_, core::trimmedWhiteSpace(latitudeText_)),
              decoded(longitude_, core::trimmedWhiteSpace(longitudeText_)), line);
}

void XmlPointReader::candidate(QStringView latitude, QStringView longitude, qint64 line)
{
    // A point that is no pair of numbers is skipped, as a plain list's line is.
    if (const auto values = documentPointValues({latitude, longitude})) {
        notePoint(options_, *values, line);
        noteTime(options_, std::exchange(pointTime_, std::nullopt));
        point_(latitude, longitude);
    } else {
        skip(line);
    }
}

void XmlPointReader::skip(qint64 line)
{
    pointTime_.reset();
    if (options_.skipped)
        options_.skipped(line);
}

void XmlPointReader::fail(const XmlError& error) const
{
    static constexpr std::array<const char16_t*, 4> kNames{u"XML", u"GPX", u"KML", u"TCX"};
    const QString where = error.line > 0 ? QStringLiteral(", line %1").arg(error.line) : QString();
    throw invalidFileFormat(QString::fromUtf16(kNames[size_t(format_)]) + where +
                            QStringLiteral(": ") + error.what);
}

} // namespace lists
