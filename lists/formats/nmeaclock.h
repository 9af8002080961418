#pragma once
// The times of an NMEA log's fixes: a sentence gives the time of day
// (hhmmss.ss), only RMC the date (ddmmyy). A fix without a date takes the
// last one given, a day later when its time of day has gone back past
// midnight; before any date, a fix has no time.

#include "lists/pointtime.h"

#include <QStringView>

#include <optional>

namespace lists {

class NmeaClock {
public:
    // The fix's time; the date, when given, is the clock's from now on.
    std::optional<PointTime> time(QStringView timeOfDay, QStringView date);

private:
    std::optional<qint64> day_;   // days since 1970-01-01
    qint64 lastSecond_ = 0;       // of the day, of the last fix
};

} // namespace lists
