#pragma once
// The window's load of a list file into the coordinate list.

#include "platform/widgets/list/listview.h"

#include <QString>
#include <vector>

namespace window {

// What the files of one load gave, for the status line.
struct LoadSummary {
    qsizetype points = 0;
    qsizetype files = 0;
    QString name;   // the file's name when one file was loaded
    qint64 skipped = 0;
    std::vector<qint64> firstSkipped; // the first few lines (or records) skipped
    bool records = false;             // a file of records (FIT), not lines
    QString failure;                  // why the last file stopped, when it did

    void clear() { *this = {}; }
    // "12 points added from track.gpx, 2 lines skipped (lines 3, 9)".
    QString text() const;
};

// The window's: appends the points to the coordinate list. A missing file
// shows "File not found" and reads nothing; any other failure reaches the
// caller's trap, and the rows read before stay. Reports begin with the file's
// name ("b.json: ...") when `named` (files dropped or given with --open,
// which are many and picked by no one), for a file that breaks its format,
// and for a document that is none of the formats (the failure numbered
// lists::kNotAListDocument, whose description says why). What the file gave
// is added to `summary`, also when it fails.
void LoadCoordinateFile(widgets::ListView& list, const QString& path, bool named,
                        LoadSummary& summary);

} // namespace window
