#pragma once
// The window's skin: the skin file "x/o.cjs" in the program's folder, put on
// the window by the skin control. Without the file the window keeps the
// standard look.

#include <QString>

class QWidget;

namespace chrome {

QString SkinPath();

// The hand pointer shown over the push buttons: "HAND-M.CUR" in the program's folder.
QString HandCursorPath();

// Gives the window and its frames, option buttons, check boxes and labels the
// button-face colour, then has the skin control load the skin file and put it
// on the window. Does nothing when there is no skin file. A failure (a skin
// file that cannot be read or parsed) flies to the caller's trap; colours
// already set stay.
void ApplySkin(QWidget& window);

} // namespace chrome
