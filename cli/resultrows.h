#pragma once
// The lines the command line writes for each pair of neighbouring points,
// built as UTF-8 bytes in one buffer that serves line after line: the texts
// as read, the numbers written digit by digit, no allocation per line.

#include "cli/commandlineoptions.h"
#include "cli/trackfigures.h"
#include "cli/resultsfile.h"

#include <QStringView>

#include <string>
#include <string_view>

namespace cli {

// csv and tsv: a header, then one row per pair with the four coordinate texts
// as read, the distance rounded half to even at the unit's places and the
// running total, with "." whatever the locale, lines ending in LF.
// csv quotes a field holding a comma, a double quote, CR or LF (RFC 4180);
// tsv writes a tab, CR, LF and the backslash in a field as \t, \r, \n and \\.
// The running total is the exact sum of the rounded distances above it, so
// it equals what a spreadsheet sums from the column.
// With times: time1,time2,seconds,speed after them, each empty where a point
// has no time (speed also where the seconds are not above zero).
class TableRows {
public:
    TableRows(ResultFormat format, const engine::DistanceUnit& unit, ResultsFile& file,
              bool times = false);
    void header();
    void row(const engine::PointPair& pair, double distance, const PairTimes& times = {});
    // Hands the lines not yet written to the file.
    void finish();

private:
    void field(QStringView text);
    void field(std::string_view ascii);
    bool plainRow(const engine::PointPair& pair, std::string_view distance);
    void timeFields(double distance, const PairTimes& times);
    void endLine();

    bool tabs_;
    bool times_;
    const engine::DistanceUnit& unit_;
    ResultsFile& file_;
    std::string line_;      // lines not yet handed to the file
    size_t lineStart_ = 0;  // where the line being built starts in it
    qint64 total_ = 0; // in units of the last place
    TimeTexts timeTexts_;
};

// The window's sentence for a pair, with the distance in the window's unit
// word and rounding (points whose texts are equal read "0 ", as in the
// window), as UTF-8 bytes and the width the window gives it.
class WindowSentence {
public:
    explicit WindowSentence(const engine::DistanceUnit& unit)
        : unit_(unit)
    {
    }
    // Valid until the next call.
    std::string_view compose(const engine::PointPair& pair, double distance);
    // In UTF-16 code units, the unit of the text format's padding.
    qsizetype width() const { return width_; }

private:
    void piece(QStringView text);
    void piece(std::string_view ascii);

    const engine::DistanceUnit& unit_;
    std::string bytes_;
    qsizetype width_ = 0;
};

// The text format's lines: each padded with spaces to the widest, then a
// tab, CR and LF (the window's results file), handed to the file in blocks.
class PaddedLines {
public:
    PaddedLines(ResultsFile& file, qsizetype widest);
    // A text of `width` UTF-16 code units.
    void add(std::string_view text, qsizetype width);
    // Hands the lines not yet written to the file.
    void finish();

private:
    ResultsFile& file_;
    qsizetype widest_;
    std::string lines_;
};

} // namespace cli
