#pragma once
// The points of an NMEA 0183 log, the sentences that a GPS receiver writes:
// the positions of its GGA, RMC, GLL and GNS sentences (of any talker: GP,
// GN, GL, GA, BD, ...) that carry a fix, and its WPL waypoints, in file order.

#include "lists/formats/plainlist.h"
#include "lists/listformat.h"
#include "lists/listrecords.h"
#include "lists/formats/nmeaclock.h"

#include <QString>

namespace lists {

// Whether a file that begins with head (after its byte-order mark) is an NMEA
// log, told by its lines in turn, as far as the first kNmeaSearchBytes: a
// sentence whose checksum matches ("$" or "!", an address, "*hh") makes it
// one, a line that a plain list reads as a point makes it a plain list
// (whichever comes first: a header that looks like a sentence never hides a
// list's points). Blank lines, comments ("#"), other lines that start like
// sentences and a first line cut from a sentence (a capture that starts in
// the middle of one) tell nothing. Nmea, Plain, or Undecided while the head
// could still be either.
ListFormat recogniseNmea(QByteArrayView head, bool complete);
constexpr qsizetype kNmeaSearchBytes = 64 * 1024;

// A sentence of a type that holds a point whose checksum (*hh) fails, a line
// that is no sentence, and a fix whose position cannot be read are skipped
// lines. Sentences of other types (proprietary ones, AIS), damaged ones of
// such types, those without a fix (GGA quality 0, RMC or GLL status V, GNS
// or a mode "N"), comments ("#") and a first line cut from a sentence hold no
// point and are passed over. Sentences one after the other whose fix times
// are equal as times ("030129.00", "030129.0") give one point, the first's; a
// sentence without a time (WPL, an old GLL) gives a point of its own. The
// checksum is over the sentence's bytes, whatever they encode. A point's
// time, when asked for, is its fix's (see NmeaClock). A log is one segment.
class NmeaReader {
public:
    NmeaReader(const PointSink& point, const PlainListOptions& options);
    void feed(QByteArrayView bytes) { records_.feed(bytes); }
    void finish();

private:
    void line(QStringView text);
    bool sentence(QStringView body);
    bool fix(QStringView time, QStringView latitude, QStringView north, QStringView longitude,
             QStringView east, QStringView date = {});
    void handOn();
    bool checksumMatches(QStringView text) const;

    const PointSink& point_;
    const PlainListOptions& options_;
    ListRecords records_;
    qint64 number_ = 0;
    QString lastTime_; // the fix time of the last point, as written
    QString lastTimeKey_, timeKey_; // as times (see setTimeKey)
    QString latitude_, longitude_;
    // The last fix's point, until its epoch is over when times are asked for.
    bool held_ = false;
    qint64 heldLine_ = 0;
    QString heldDate_;
    NmeaClock clock_;
};

} // namespace lists
