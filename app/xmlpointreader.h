#pragma once
// The points of a GPX or KML document, streamed: GPX gives every wpt, trkpt
// and rtept (its lat and lon attributes), KML every tuple lon,lat[,alt] of its
// coordinates elements, in document order and with their texts as written.

#include "app/listformat.h"
#include "app/plainlist.h"

#include <QString>
#include <QXmlStreamReader>

namespace app {

class XmlPointReader {
public:
    // format is ListFormat::Gpx or ListFormat::Kml.
    XmlPointReader(ListFormat format, const PointSink& point, const PlainListOptions& options);
    // The document's bytes, in blocks of any size. A document that is not
    // well formed fails with invalidFileFormat once the fault is read; the
    // points before it have been handed on.
    void feed(QByteArrayView bytes);
    void finish(); // the document must be complete

private:
    void readTokens();
    void startElement();
    void endElement();
    void gpxPoint();
    void coordinateText(QStringView text);
    void tuple(QStringView text);
    void candidate(QStringView latitude, QStringView longitude, qint64 line);
    [[noreturn]] void fail(const QString& what) const;

    ListFormat format_;
    const PointSink& point_;
    const PlainListOptions& options_;
    QXmlStreamReader xml_;
    qint64 depth_ = 0;
    bool ended_ = false;         // the first element has closed
    bool inCoordinates_ = false; // inside a KML coordinates element
    QString tuple_;              // a tuple whose end has not been read yet
    qint64 tupleLine_ = 0;       // the line a tuple starts on
};

} // namespace app
