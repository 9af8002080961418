#pragma once
// The window's load of a list file into the coordinate list.

#include <QString>

namespace widgets {
class ListView;
}

namespace window {

// The window's: appends the points to the coordinate list. A missing file
// shows "File not found" and reads nothing; any other failure reaches the
// caller's trap, and the rows read before stay. Reports begin with the file's
// name ("b.json: ...") when `named` (files dropped or given with --open,
// which are many and picked by no one), for a file that breaks its format,
// and for a document that is none of the formats (the failure numbered
// lists::kNotAListDocument, whose description says why).
void LoadCoordinateFile(widgets::ListView& list, const QString& path, bool named = false);

} // namespace window
