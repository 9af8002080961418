#pragma once
// The points of a GPX, KML or TCX document, streamed through the XML parser
// (xmlparser.h), in document order and with their texts as written:
// - GPX 1.0, 1.1 or without a namespace: every wpt, trkpt and rtept, its lat
//   and lon attributes;
// - KML: every tuple lon,lat[,alt] of its coordinates elements, and every
//   gx:coord "lon lat [alt]" of its gx:Track and gx:MultiTrack elements;
// - TCX: every Position (of a Trackpoint or a CoursePoint), its
//   LatitudeDegrees and LongitudeDegrees.
// Which of them a document is, its first element tells, by name and
// namespace (any element of a KML namespace makes a KML document); points
// are elements of the document's own namespaces only.
// Segments: a GPX trkseg or rte, a KML LineString, LinearRing or gx:Track, a
// TCX Track; the waypoints of a file (GPX wpt, KML Point, each group of them
// between lines) as one. Times, when asked for: a GPX point's <time>, a KML
// gx:Track's <when> (the n-th for its n-th gx:coord, written before it as
// KML has them), a Placemark's TimeStamp for its Point, a TCX Trackpoint's
// <Time>; a GPX point is then handed on at its end tag.
// Numbers are written with "." whatever the locale; XML white space around
// one is not part of its text, and an element that holds an element is no
// number. An element that stands for a point but holds none is a skipped
// line, as a plain list's bad line is. A document whose first element names
// none of the formats is Foreign, which the list reader refuses as none
// (notAListDocument).

#include "lists/formats/plainlist.h"
#include "lists/formats/xmlparser.h"

#include <QByteArray>
#include <QString>

#include <deque>
#include <optional>

namespace lists {

class XmlPointReader : private XmlEvents {
public:
    XmlPointReader(const PointSink& point, const PlainListOptions& options);

    enum class Document {
        Undecided, // the first element has not been read yet
        Points,    // a GPX, KML or TCX document
        Foreign,   // the first element names none of them: not ours to read
    };
    // The document's bytes, in blocks of any size, as they arrive. A document
    // that is not well formed fails with invalidFileFormat once the fault is
    // read; the points before it have been handed on.
    Document feed(QByteArrayView bytes);
    Document finish(); // the document must be complete

    // The most bytes read before the first element (comments, declarations).
    static constexpr qsizetype kPrologueLimit = XmlParser::kMarkupLimit;

private:
    enum class Format { None, Gpx, Kml, Tcx };

    void start(QByteArrayView local, QByteArrayView uri, std::span<const Attribute> attributes,
               qint64 line) override;
    void end() override;
    void text(QByteArrayView utf8) override;

    template <typename Step> Document parse(Step step);
    Document reparse(bool last);
    void root(QByteArrayView local, QByteArrayView uri);
    bool isOwn(QByteArrayView uri);
    void gpxPoint(std::span<const Attribute> attributes, qint64 line);
    void tcxElement(QByteArrayView local, qint64 line);
    void coordinateText(QByteArrayView utf8, qint64 line);
    void tuple(qint64 line);
    void gxCoord(qint64 line);
    void gpxElement(QByteArrayView local, std::span<const Attribute> attributes, qint64 line);
    void kmlElement(QByteArrayView local);
    void timeElement();
    void timeRead();
    void closeTracks();
    void heldPosition(qint64 line);
    void waypoint();
    void newSegment();
    void candidate(QStringView latitude, QStringView longitude, qint64 line);
    void skip(qint64 line);
    [[noreturn]] void fail(const XmlError& error) const;

    const PointSink& point_;
    const PlainListOptions& options_;
    std::optional<XmlParser> parser_;
    Format format_ = Format::None;
    Document document_ = Document::Undecided;
    QByteArray prologue_; // the bytes before the first element
    bool retry_ = false;  // the parser failed before the first element
    qsizetype tried_ = 0; // the bytes parsed in one piece when it did
    QByteArray namespace_;       // the first element's namespace URI
    const char* ownUri_ = nullptr; // where the parser keeps it, once seen
    qsizetype depth_ = 0;        // elements open
    qsizetype coordinates_ = -1; // the depth of the open coordinates element, or -1
    qsizetype coord_ = -1;       // the open gx:coord's depth, or -1
    qsizetype position_ = -1;    // the open TCX Position's depth, or -1
    qsizetype degrees_ = -1;     // the open LatitudeDegrees or LongitudeDegrees's depth
    QByteArray* field_ = nullptr; // the text that the open element adds to
    QByteArray tuple_;            // a tuple or gx:coord whose end has not been read yet
    QByteArray latitudeText_, longitudeText_; // a TCX Position's
    bool hasLatitude_ = false, hasLongitude_ = false;
    qint64 tupleLine_ = 0;
    QString latitude_, longitude_; // texts handed on, reused
    // Tracks.
    bool times_ = false;         // times are asked for
    bool waypoints_ = false;     // the last point was a waypoint, of the group the segment holds
    qsizetype line_ = -1;        // the open KML LineString or LinearRing's depth, or -1
    qsizetype track_ = -1;       // the open gx:Track's depth, or -1
    qsizetype timeStamp_ = -1;   // the open KML TimeStamp's depth, or -1
    qsizetype time_ = -1;        // the open time element's depth, or -1
    QByteArray timeText_;
    std::optional<PointTime> pointTime_;     // the next point's
    std::optional<PointTime> placemarkTime_; // a KML Placemark's TimeStamp
    std::deque<std::optional<PointTime>> whens_; // a gx:Track's, not yet given to a gx:coord
};

} // namespace lists
