#pragma once
// Files that the program reads at start-up (its skin, its cursor, the
// settings store) must be regular files: a named pipe would keep the open
// waiting for a writer for ever, and a device may never end.

#include <QByteArray>
#include <QString>
#include <optional>

namespace platform {

// The whole of the regular file at `path` (symbolic links followed). The open
// never waits: a pipe, a device or a folder gives nothing, and `reason` says
// why, as does a file that cannot be opened.
std::optional<QByteArray> readRegularFile(const QString& path, QString& reason);

// True when nothing lies at `path` or a regular file does (symbolic links
// followed): what may be written there.
bool regularOrMissing(const QString& path);

} // namespace platform
