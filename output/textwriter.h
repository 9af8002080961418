#pragma once
// SaveListviewProperlySpaced: writes a list view's column
// headers and checked rows into a text file whose columns line up in a
// fixed-pitch font, and drives a progress bar while it works.

#include "core/progress.h"
#include "core/rowsource.h"

#include <QString>

namespace output {

// Every cell is padded with spaces to its column's width (the longest header
// or cell, unchecked rows included) and followed by a TAB; lines end in
// CR LF. progress may be null: then no progress is shown. Failures are
// reported here and never reach the caller.
void SaveListviewProperlySpaced(const core::RowSource& list, const QString& fileName,
                                core::Progress* progress);

} // namespace output
