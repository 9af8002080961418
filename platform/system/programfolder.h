#pragma once
// The program's folder: where the files that come with the program lie (the
// skin, the hand cursor, the home page). Tests point it at a folder of their own.

#include <QString>

namespace platform {

QString programFolder();
// Replaces the program's folder (tests); the empty text puts the real one back.
void setProgramFolder(const QString& folder);

} // namespace platform
