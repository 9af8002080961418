#include "lists/listfile.h"

#include "core/failure.h"
#include "files/regularfile.h"
#include "lists/packedinput.h"

#include <QFile>

#include <cerrno>
#include <poll.h>
#include <unistd.h>

namespace lists {
namespace {

class Descriptor {
public:
    explicit Descriptor(int descriptor)
        : descriptor_(descriptor)
    {
    }
    ~Descriptor() { ::close(descriptor_); }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return descriptor_; }

private:
    int descriptor_;
};

// Opening never waits: a pipe without a writer opens at once, and is turned
// away by the check on what was opened. Whatever the path named when it was
// looked at before, only the opened file counts; only a regular file is read,
// as a pipe or a device may never end.
int openRegularFile(const QString& path)
{
    const int descriptor = files::openWithoutWaiting(QFile::encodeName(path));
    if (descriptor < 0)
        throw files::openFailure(errno);
    if (!files::takeRegularFile(descriptor)) {
        ::close(descriptor);
        throw core::Failure::pathAccess();
    }
    return descriptor;
}

// One block; 0 at the end. A descriptor left non-blocking by whoever opened
// it (a shell's standard input) is waited on.
qsizetype readBlock(int descriptor, char* into, qsizetype room)
{
    for (;;) {
        const ssize_t read = ::read(descriptor, into, size_t(room));
        if (read >= 0)
            return read;
        if (errno == EINTR)
            continue;
        if (errno != EAGAIN && errno != EWOULDBLOCK)
            throw core::Failure::pathAccess();
        pollfd wait{descriptor, POLLIN, 0};
        ::poll(&wait, 1, -1);
    }
}

} // namespace

void readListFile(const QString& path, const PointSink& point, const PlainListOptions& options)
{
    const Descriptor file(openRegularFile(path));
    readList(file.get(), point, options);
}

void readList(int descriptor, const PointSink& point, const PlainListOptions& options)
{
    // A file goes back to where its reading started; a pipe cannot.
    const off_t start = ::lseek(descriptor, 0, SEEK_CUR);
    readPackedList(
        [descriptor](char* into, qsizetype room) { return readBlock(descriptor, into, room); },
        point, options,
        [descriptor, start] { return start >= 0 && ::lseek(descriptor, start, SEEK_SET) == start; });
}

} // namespace lists
