#pragma once
// While a file is written beside its final name, a signal that ends the
// process (any that can be caught: SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGUSR1,
// SIGXFSZ..., where their default action stands) removes
// the unfinished file first, then ends the process as the signal would have.
// One file at a time.

#include <QByteArray>

namespace files {

// False when another file is guarded already or the name is too long.
bool guardUnfinishedFile(const QByteArray& name);
// The file is complete or removed: the signals act as before.
void releaseUnfinishedFile();

} // namespace files
