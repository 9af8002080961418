#pragma once

#include <QString>

namespace shell {

// True when the file system can tell the path's last-modification time;
// false for anything else (missing file or folder, empty or malformed path).
// Never fails and never shows anything.
bool FileExists(const QString& path) noexcept;

// What a path names, links followed. Only a regular file can be read or
// replaced safely: opening a pipe or a device may wait for ever, and a safe
// save would put a regular file in its place.
enum class PathKind { Missing, Regular, Other };
PathKind KindOfPath(const QString& path) noexcept;

} // namespace shell
