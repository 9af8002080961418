#pragma once
// The points of a GPX or KML document, streamed: GPX gives every wpt, trkpt
// and rtept (its lat and lon attributes), KML every tuple lon,lat[,alt] of its
// coordinates elements, in document order and with their texts as written.

#include "app/listformat.h"
#include "app/plainlist.h"

#include <QString>

#include <exception>

struct XML_ParserStruct;

namespace app {

class XmlPointReader {
public:
    // format is ListFormat::Gpx or ListFormat::Kml.
    XmlPointReader(ListFormat format, const PointSink& point, const PlainListOptions& options);
    ~XmlPointReader();
    XmlPointReader(const XmlPointReader&) = delete;
    XmlPointReader& operator=(const XmlPointReader&) = delete;

    // The document's bytes, in blocks of any size. A document that is not
    // well formed fails with invalidFileFormat once the fault is read; the
    // points before it have been handed on.
    void feed(QByteArrayView bytes);
    void finish(); // the document must be complete

private:
    static void startElement(void* self, const char* name, const char** attributes);
    static void endElement(void* self, const char* name);
    static void characters(void* self, const char* text, int length);
    template <typename Work> void guarded(Work work);
    void parse(QByteArrayView bytes, bool last);

    void gpxPoint(const char** attributes);
    void coordinateText(QStringView text);
    void tuple(QStringView text);
    void candidate(QStringView latitude, QStringView longitude, qint64 line);
    qint64 line() const;

    ListFormat format_;
    const PointSink& point_;
    const PlainListOptions& options_;
    XML_ParserStruct* parser_;
    std::exception_ptr failure_;   // thrown by a handler, passed on after the parser returns
    bool inCoordinates_ = false;   // inside a KML coordinates element
    QString latitude_, longitude_; // the texts of a GPX point, reused
    QString text_;                 // a piece of coordinates text
    QString tuple_;                // a tuple whose end has not been read yet
    qint64 tupleLine_ = 0;         // the line a tuple starts on
};

} // namespace app
