#pragma once
// The points of an NMEA 0183 log, the sentences that a GPS receiver writes:
// the positions of its GGA and RMC sentences (of any talker: GP, GN, GL, GA,
// BD, ...) that carry a fix, in file order.

#include "lists/formats/plainlist.h"
#include "lists/listformat.h"
#include "lists/listrecords.h"
#include "lists/formats/nmeaclock.h"

#include <QString>

namespace lists {

// Whether a file that begins with head is an NMEA log: its first line that
// is not blank starts with "$", a talker and a sentence type (five capital
// letters) and a comma. Nmea, Plain (not one), or Undecided while the head
// could still be one.
ListFormat recogniseNmea(QByteArrayView head, bool complete);

// A sentence whose checksum (*hh) fails, a line that is no sentence, and a
// GGA or RMC with a fix whose position cannot be read are skipped lines.
// Sentences of other types, and those without a fix (GGA quality 0, RMC
// status V), hold no point and are passed over. A GGA and an RMC of the same
// fix time, one after the other, give their point once; its time, when asked
// for, is the fix's (see NmeaClock). A log is one segment.
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

    const PointSink& point_;
    const PlainListOptions& options_;
    ListRecords records_;
    qint64 number_ = 0;
    QString lastTime_; // the fix time of the last point
    QString latitude_, longitude_;
    // The last fix's point, until its epoch is over when times are asked for.
    bool held_ = false;
    qint64 heldLine_ = 0;
    QString heldDate_;
    NmeaClock clock_;
};

} // namespace lists
