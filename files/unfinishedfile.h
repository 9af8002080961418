#pragma once
// While a file is written beside its final name, a signal that ends the
// process (any that can be caught: SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGUSR1,
// SIGXFSZ..., where their default action stands) removes
// the unfinished file first, then ends the process as the signal would have.
// One file at a time.

#include <QByteArray>

namespace files {

// Makes a file from a mkostemp pattern, whose X's become the name, guarded
// from the moment it exists: a signal that comes while it is being made is
// held until the name is known. The descriptor, or -1 with errno. guarded is
// false when another file is guarded already or the name is too long.
int createUnfinishedFile(QByteArray& pattern, bool& guarded);
// The file is complete or removed: the signals act as before.
void releaseUnfinishedFile();

} // namespace files
