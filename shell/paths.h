#pragma once
// Path texts of the module Main.

#include <QString>

namespace shell {

// The text after the last "\" or "/", or the whole text when it holds none.
QString FileNameFromPath(const QString& path);

} // namespace shell
