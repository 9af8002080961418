#pragma once
// Cursor files in the standard .cur format: a picture with its hot spot.

#include <QCursor>
#include <QString>

namespace platform {

// The first cursor of the file, with the hot spot that the file gives it.
// Fails with "Invalid picture" when the file is no cursor file, with "File
// not found" when it cannot be read.
QCursor loadCursorFile(const QString& path);

} // namespace platform
