#pragma once
// Path texts: the file name of a path, and folders and names joined.

#include <QString>

namespace files {

// The text after the last "\" or "/", or the whole text when it holds none.
QString FileNameFromPath(const QString& path);

// A folder and a file name joined with the separator "/". A folder that
// already ends in one (the root "/") gets no second one.
QString JoinedPath(const QString& folder, const QString& name);

// Collapses every doubled "/" of a joined path, scanning left to right. A
// network path ("//server/share/...") keeps exactly two leading separators.
QString CleanJoinedPath(const QString& path);

} // namespace files
