#pragma once
// The checked results of the results list: how many, and their distances
// added up, kept as rows are checked, cleared and removed. The distance of a
// row is the number its sentence ends with, in the sentence's unit.

#include <QAnyStringView>
#include <QString>
#include <array>

namespace window {

class ResultTotals {
public:
    void clear() { *this = {}; }
    // A result the run added, checked: its unit is the run's.
    void added(QAnyStringView sentence);
    // A row checked (on) or cleared (off), or a checked row removed (off).
    void changed(QAnyStringView sentence, bool on);

    qsizetype checked() const { return checked_; }
    // The checked rows' total in the run's unit, written as the sentences
    // write numbers ("4569.8 miles"); empty before a run.
    QString total() const;
    // What the status line says of `rows` results: "3 results, 2486.9 miles
    // in all", or with rows cleared "2 of 3 results checked, 1721.1 miles".
    QString text(qsizetype rows) const;

private:
    int count(QAnyStringView sentence, int sign);

    qsizetype checked_ = 0;
    // Per unit (option 1 to 4): whole units of its last decimal place, exact.
    std::array<qint64, 5> lastPlaces_{};
    int unit_ = 0; // the run's unit, 0 before a run
};

} // namespace window
