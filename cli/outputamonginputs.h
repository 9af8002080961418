#pragma once
// Results written over a list that is still to be read would destroy it.

#include <QByteArray>
#include <QList>

namespace cli {

// Fails when the output ("-" the standard output) is a regular file that is
// also one of the lists (the same file by device and inode, whatever its
// name; "-" the standard input, which may be redirected from it).
void refuseOutputAmongInputs(const QByteArray& output, const QList<QByteArray>& files);

} // namespace cli
