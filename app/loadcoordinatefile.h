#pragma once
// The list-file reader of the module Main.

#include <QString>

namespace platform {
class ListView;
}

namespace app {

// Appends the points of one coordinate list file to the list, in file order.
// One point a line, latitude "," longitude; lines end in CR, LF or CR LF, in
// any mix. A line that is no point (no comma, a first or second field that is
// not a number, a blank line) is skipped without a message. A leading UTF-8
// byte-order mark is skipped. The bytes are read in the locale's 8-bit
// encoding. A missing file shows "File not found"; a file that cannot be
// read fails with "Permission denied" or "Path/File access error", for the
// caller's trap, and the rows read before stay.
void LoadCoordinateFile(platform::ListView& list, const QString& path);

} // namespace app
