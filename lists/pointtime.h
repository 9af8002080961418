#pragma once
// A point's time, as track formats write it: a moment in UTC with the
// fraction of its second kept to the digits written, so that it is written
// back as it was read (moved to UTC) and two of them subtract exactly.

#include <QByteArrayView>
#include <QtGlobal>

#include <optional>
#include <string_view>

namespace lists {

struct PointTime {
    qint64 seconds = 0;     // since 1970-01-01T00:00:00Z
    qint32 nanoseconds = 0; // the fraction, 0 to 999,999,999
    qint8 places = 0;       // its digits as written, at most 9
};

// An ISO 8601 date and time as XML Schema's dateTime writes it:
// YYYY-MM-DDThh:mm:ss, a fraction of any length (digits beyond the ninth are
// dropped), then Z, an offset +hh:mm / -hh:mm / +hhmm / +hh, or nothing (UTC
// as well), white space around it allowed. Nothing for any other text or an
// impossible date.
std::optional<PointTime> isoTime(QByteArrayView text);

// The days from 1970-01-01 to a date of the proleptic Gregorian calendar.
qint64 daysFromCivil(qint64 year, int month, int day);
// Whether day is a day of that month.
bool isDayOf(qint64 year, int month, int day);

// hh, mm and ss of "hhmmss[.fraction]" (a receiver's time of day) as a
// moment on day 0; nothing for any other text.
std::optional<PointTime> timeOfDay(std::string_view text);

// "YYYY-MM-DDThh:mm:ss[.fraction]Z" with the fraction's digits as read, in
// `buffer`; years beyond 0 to 9999 are written with their sign.
std::string_view isoText(const PointTime& time, char (&buffer)[48]);

} // namespace lists
