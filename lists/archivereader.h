#pragma once
// A packed or compressed file opened with libarchive as its bytes are pulled
// from a source: the entries of a zip, or the one content of a gzip, bzip2 or
// xz file (any number of these filters, one inside the other).

#include <QByteArray>
#include <QString>

#include <sys/types.h>

#include <exception>
#include <functional>
#include <memory>

struct archive;

namespace lists {

// Puts up to room bytes at into and says how many; 0 at the end. Throws
// Failure when the bytes cannot be read.
using ByteSource = std::function<qsizetype(char* into, qsizetype room)>;
// Takes a source back to its first byte; false when it cannot go back (a pipe).
using Rewind = std::function<bool()>;

class ArchiveReader {
public:
    enum class Kind { Zip, Compressed };
    // head: the bytes already pulled from source, which come first.
    ArchiveReader(Kind kind, QByteArray head, const ByteSource& source);
    ArchiveReader(const ArchiveReader&) = delete;
    ArchiveReader& operator=(const ArchiveReader&) = delete;

    // Moves to the next entry and gives its path; false after the last one.
    // A compressed file holds one entry.
    bool next(QString& path);
    // The current entry's bytes, as ByteSource reads them.
    qsizetype read(char* into, qsizetype room);

private:
    static ssize_t pull(struct archive*, void* self, const void** buffer);
    [[noreturn]] void fail();

    // Freed also when the opening fails in the constructor.
    std::unique_ptr<struct archive, int (*)(struct archive*)> archive_;
    QByteArray head_;
    bool headGiven_ = false;
    QByteArray block_;
    const ByteSource& source_;
    std::exception_ptr thrown_; // a source's failure, carried past libarchive
};

} // namespace lists
