#pragma once
// The list-file reader of the module Main.

#include "lists/formats/plainlist.h"

#include <QString>
#include <QStringView>

namespace platform {
class ListView;
}

namespace app {

// Reads one list file; windowless callers (the command line) use this one.
// One point a line, latitude "," longitude; lines end in CR, LF or CR LF, in
// any mix (see ListRecords for the bytes). A line that is no point (no comma,
// a first or second field that is not a number, a blank line) is skipped
// without a message. Only a regular file is read: a missing path fails with
// "File not found", a pipe, a device or a folder with "Path/File access error",
// a file that cannot be opened with "Permission denied" or "Path/File access
// error"; the points handed on before a failure stay handed on.
void LoadCoordinateFile(const QString& path, const PointSink& point,
                        const PlainListOptions& options = {});

// Reads the points of a list from a descriptor that is already open, whatever
// kind of file it is (the command line's standard input and pipes), to its end.
// The descriptor stays open.
void ReadCoordinates(int descriptor, const PointSink& point, const PlainListOptions& options = {});

// The window's: appends the points to the coordinate list. A missing file
// shows "File not found" and reads nothing; any other failure reaches the
// caller's trap, and the rows read before stay. Reports begin with the file's
// name ("b.json: ...") when `named` (files dropped or given with --open,
// which are many and picked by no one) and for a file that breaks its format.
void LoadCoordinateFile(platform::ListView& list, const QString& path, bool named = false);

} // namespace app
