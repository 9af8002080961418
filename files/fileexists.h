#pragma once

#include <QString>

namespace files {

// True when the file system can tell the path's last-modification time;
// false for anything else (missing file or folder, empty or malformed path).
// Never fails and never shows anything.
bool FileExists(const QString& path) noexcept;

} // namespace files
