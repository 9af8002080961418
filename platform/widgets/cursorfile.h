#pragma once
// Cursor files in the standard .cur format: a picture with its hot spot.

#include <QCursor>
#include <QString>

namespace widgets {

// A cursor of the file, with the hot spot that the file gives it. The file's
// first picture gives the cursor's size; of its pictures the smallest that
// has at least `pixels` (the desktop's cursor size in the screen's pixels) is
// taken, the largest where none has, and shown at the first one's size.
// Fails with "Invalid picture" when the file is no cursor file, with "File
// not found" when it cannot be read.
QCursor loadCursorFile(const QString& path, int pixels = 0);

// The size, in the screen's pixels, that the desktop's cursors have on a
// screen of the given device pixel ratio: XCURSOR_SIZE where it is set and
// larger, 32 times the ratio otherwise.
int desktopCursorPixels(double devicePixelRatio);

} // namespace widgets
