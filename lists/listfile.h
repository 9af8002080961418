#pragma once
// A list file read without a window: by its path (a regular file only) or
// from a descriptor that is already open (standard input, a pipe).

#include "lists/formats/plainlist.h"

#include <QString>

namespace lists {

// Reads the list file at `path` to its end and hands on its points (see
// readPackedList for the formats). Only a regular file is read: a missing path
// fails with "File not found", a pipe, a device or a folder with "Path/File
// access error", a file that cannot be opened with "Permission denied" or
// "Path/File access error"; the points handed on before a failure stay handed on.
void readListFile(const QString& path, const PointSink& point, const PlainListOptions& options = {});

// Reads the points of a list from a descriptor that is already open, whatever
// kind of file it is, to its end. The descriptor stays open.
void readList(int descriptor, const PointSink& point, const PlainListOptions& options = {});

} // namespace lists
