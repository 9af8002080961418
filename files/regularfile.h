#pragma once
// Opening a file to read without waiting, and the files that the program
// reads at start-up (its skin, its cursor, the settings store), which must be
// regular files: a named pipe would keep the open waiting for a writer for
// ever, and a device may never end.

#include "core/failure.h"

#include <QByteArray>
#include <QString>
#include <optional>

namespace files {

// Opens `name` to read; the open never waits (a pipe without a writer opens
// at once, to be turned away by the check on what was opened). The
// descriptor, or -1 with errno set.
int openWithoutWaiting(const QByteArray& name);

// Whether the opened file is a regular file; one is made blocking again
// (a regular file never blocks: the flag only mattered for the open).
bool takeRegularFile(int descriptor);

// The failure of opening a file to read, by errno: "File not found" for a
// path that leads nowhere, "Permission denied", or "Path/File access error".
core::Failure openFailure(int error);

// The whole of the regular file at `path` (symbolic links followed). The open
// never waits: a pipe, a device or a folder gives nothing, and `reason` says
// why, as does a file that cannot be opened.
std::optional<QByteArray> readRegularFile(const QString& path, QString& reason);

// True when nothing lies at `path` or a regular file does (symbolic links
// followed): what may be written there.
bool regularOrMissing(const QString& path);

} // namespace files
