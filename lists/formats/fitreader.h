#pragma once
// The points of a FIT file, the binary activity format of sports watches and
// bike computers: the positions of its record messages (the track) and of its
// course points, in file order. Positions are stored as semicircles (2^31 of
// them make 180 degrees); their text is written by setDegreesText.

#include "lists/formats/plainlist.h"
#include "lists/listformat.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

#include <array>
#include <cstdint>
#include <optional>

namespace lists {

// Whether a file that begins with head is a FIT file: a header of 12 or 14
// bytes that holds ".FIT" at bytes 8 to 11. Fit, Plain (not one), or
// Undecided while the head is shorter than that; a whole file shorter than
// a header that starts like one (a protocol version 1 or 2) is Fit, and ends early.
ListFormat recogniseFit(QByteArrayView head, bool complete);

// Decodes the messages as the bytes arrive, in blocks of any size; only a
// message cut by a block's end is kept back. A record whose position holds
// the invalid value is a record without a position: no point, not skipped.
// The notes name a point by its record's number in the file (from 1, every
// definition and data message counted), and options.records says so. A
// definition's byte order is the lowest bit of its architecture byte (the
// others are reserved). A file that breaks the format, ends early or fails its CRC
// fails with invalidFileFormat; the points before have been handed on.
// Files chained one after the other are read in turn. Each file and each
// session is a segment; a point's time is its record's timestamp (a
// compressed time counted on from the last one), when asked for.
class FitReader {
public:
    FitReader(const PointSink& point, const PlainListOptions& options);
    void feed(QByteArrayView bytes);
    void finish();

private:
    // A local message type's layout, as its last definition gave it.
    struct Definition {
        bool defined = false;
        bool bigEndian = false;
        qsizetype size = 0;      // the data message's bytes after its header
        qsizetype latitude = -1; // the position fields' offsets, or -1
        qsizetype longitude = -1;
        qsizetype timestamp = -1; // the time field's offset, or -1
        bool session = false;     // a session message: the records before it are a segment
    };
    enum class Stage { Header, Records, Crc };

    qsizetype step(QByteArrayView bytes);
    qsizetype header(QByteArrayView bytes);
    qsizetype record(QByteArrayView bytes);
    qsizetype definition(QByteArrayView bytes);
    qsizetype data(QByteArrayView bytes, const Definition& layout);
    qsizetype crc(QByteArrayView bytes);
    void position(const uchar* fields, const Definition& layout);
    void messageTime(uchar header, const uchar* fields, const Definition& layout);
    void checked(QByteArrayView bytes);
    [[noreturn]] static void fail(const char* what);

    const PointSink& point_;
    const PlainListOptions& options_;
    QByteArray pending_; // a message whose end has not arrived yet
    Stage stage_ = Stage::Header;
    quint16 crc_ = 0;
    qint64 dataLeft_ = 0; // the bytes of messages still to come in this file
    qint64 message_ = 0;
    bool read_ = false; // one file read whole
    std::array<Definition, 16> layouts_;
    QString latitude_, longitude_;
    std::optional<quint32> lastTime_;  // the last time read, for compressed times
    std::optional<PointTime> time_;    // the message's, when times are asked for
};

} // namespace lists
