#pragma once
// The points of a GPX or KML document, streamed: GPX gives every wpt, trkpt
// and rtept (its lat and lon attributes), KML every tuple lon,lat[,alt] of its
// coordinates elements, in document order and with their texts as written.

#include "lists/listformat.h"
#include "lists/formats/plainlist.h"

#include <QByteArray>
#include <QList>
#include <QString>

namespace app {

// Reads the markup itself rather than through a general XML parser: the
// points need only the tags, and a track of a million points reads in a
// fraction of a general parser's time. It checks what makes a document whole:
// tags that close in order, one first element, attributes in quotes, closed
// comments, sections and declarations. Entity references are kept as written.
class XmlPointReader {
public:
    // format is ListFormat::Gpx or ListFormat::Kml.
    XmlPointReader(ListFormat format, const PointSink& point, const PlainListOptions& options);

    // The document's UTF-8 bytes, in blocks of any size. A document that is
    // not well formed fails with invalidFileFormat once the fault is read; the
    // points before it have been handed on.
    void feed(QByteArrayView bytes);
    void finish(); // the document must be complete

private:
    enum class Step { Done, Wait }; // a markup read whole, or one that goes on in the next block

    void read(bool last);
    qsizetype text(qsizetype at);
    Step markup(qsizetype& at);
    Step section(qsizetype& at);
    Step skipTo(qsizetype& at, QByteArrayView close, qsizetype from);
    Step documentType(qsizetype& at);
    Step startTag(qsizetype& at);
    Step attributes(qsizetype& i, bool& empty);
    Step attribute(qsizetype& i);
    qsizetype skipSpace(qsizetype i) const;
    Step endTag(qsizetype& at);
    void open(QByteArrayView name);
    void point(qsizetype at);
    void coordinateText(QByteArrayView bytes, qint64 line);
    void tuple(QByteArrayView bytes);
    void candidate(QStringView latitude, QStringView longitude, qint64 line);
    qint64 lineAt(qsizetype at);
    [[noreturn]] void invalid(qsizetype at);
    [[noreturn]] void fail(qsizetype at, const char* what);

    ListFormat format_;
    const PointSink& point_;
    const PlainListOptions& options_;
    QByteArray buffer_;           // bytes not read yet: the rest of a markup, or a new block
    qsizetype lineCounted_ = 0;   // buffer_ position up to which lines are counted
    qint64 line_ = 1;             // the line at lineCounted_
    QByteArray names_;            // the names of the open elements, one after the other
    QList<qsizetype> nameStarts_; // where each of them starts in names_
    qsizetype searched_ = 0;      // how far a markup's end was looked for already
    bool rootSeen_ = false;
    bool started_ = false;            // a byte-order mark can only lead the document
    qsizetype coordinatesDepth_ = -1; // the open coordinates element's depth, or -1
    QString latitude_, longitude_;    // a GPX point's texts, reused
    QString text_;                    // a tuple's text, reused
    QByteArray tuple_;                // a tuple whose end has not been read yet
    qint64 tupleLine_ = 0;            // the line a tuple starts on
    QList<std::pair<QByteArrayView, QByteArrayView>> attributes_; // a tag's, reused
};

} // namespace app
