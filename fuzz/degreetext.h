#pragma once
// The degree texts that FIT and NMEA points are written as.

#include "fuzzinput.h"

#include <QList>
#include <QRegularExpression>

namespace fuzz {

// "-12.3456789": at most 7 decimals, none of them a trailing zero, no "-0",
// below limit in magnitude.
inline void checkDegrees(QStringView text, double limit)
{
    static const QRegularExpression form(QStringLiteral("\\A-?[0-9]+(\\.[0-9]{0,6}[1-9])?\\z"));
    const QString degrees = text.toString();
    check(form.match(degrees).hasMatch() && degrees != QLatin1String("-0"),
          "a degree text of another form", degrees);
    check(std::abs(degrees.toDouble()) <= limit, "degrees beyond their limit", degrees);
}

inline void checkAscending(const QList<qint64>& lines, const QString& detail)
{
    for (qsizetype i = 0; i < lines.size(); ++i)
        check(lines[i] > (i > 0 ? lines[i - 1] : 0), "skipped lines out of order", detail);
}

} // namespace fuzz
