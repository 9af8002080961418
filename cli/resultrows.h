#pragma once
// The lines the command line writes for each pair of neighbouring points.

#include "cli/commandlineoptions.h"
#include "files/resultsfile.h"

#include <QString>
#include <QStringView>

namespace app {

// csv and tsv: a header, then one row per pair with the four coordinate texts
// as read, the distance rounded half to even at the unit's places and the
// running total, with "." whatever the locale, lines ending in LF.
// csv quotes a field holding a comma, a double quote, CR or LF (RFC 4180);
// tsv writes a tab, CR, LF and the backslash in a field as \t, \r, \n and \\.
// The running total is the exact sum of the rounded distances above it, so
// it equals what a spreadsheet sums from the column.
class TableRows {
public:
    TableRows(ResultFormat format, const DistanceUnit& unit, ResultsFile& file);
    void header();
    void row(const PointPair& pair, double distance);

private:
    void appendField(QStringView text);

    bool tabs_;
    const DistanceUnit& unit_;
    ResultsFile& file_;
    QString line_;
    int fieldsInLine_ = 0;
    qint64 total_ = 0; // in units of the last place
};

// The window's sentence for a pair, with the distance in the window's unit
// word and rounding (points whose texts are equal read "0 ", as in the window).
QString windowSentence(const PointPair& pair, const DistanceUnit& unit, double distance);

// "1234.5" from 12345 at one place: plain ASCII, no trailing zeros.
QString scaledText(qint64 scaled, int places);
// The rounded text as a whole number of the last place: "1234.5" at 2 places is 123450.
qint64 scaledValue(QStringView rounded, int places);

} // namespace app
