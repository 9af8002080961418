#include "window/loadcoordinatefile.h"

#include "lists/packedinput.h"
#include "core/failure.h"
#include "platform/widgets/list/listview.h"
#include "files/fileexists.h"
#include "window/chrome/msgbox.h"

#include <QByteArray>
#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>

namespace app {
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
// looked at before, only the opened file counts.
int openWithoutWaiting(const QString& path)
{
    const int descriptor =
        ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (descriptor >= 0)
        return descriptor;
    switch (errno) {
    case ENOENT:
    case ENOTDIR:
        throw Failure::fileNotFound();
    case EACCES:
    case EPERM:
        throw Failure::permissionDenied();
    default:
        throw Failure::pathAccess();
    }
}

// Only a regular file is read: a pipe or a device may never end.
void requireRegularFile(int descriptor)
{
    struct stat status;
    if (::fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode))
        throw Failure::pathAccess();
    // A regular file never blocks; the flag only mattered for the open.
    const int flags = ::fcntl(descriptor, F_GETFL);
    if (flags < 0 || ::fcntl(descriptor, F_SETFL, flags & ~O_NONBLOCK) < 0)
        throw Failure::pathAccess();
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
            throw Failure::pathAccess();
        pollfd wait{descriptor, POLLIN, 0};
        ::poll(&wait, 1, -1);
    }
}

} // namespace

void LoadCoordinateFile(const QString& path, const PointSink& point,
                        const PlainListOptions& options)
{
    const Descriptor file(openWithoutWaiting(path));
    requireRegularFile(file.get());
    ReadCoordinates(file.get(), point, options);
}

void ReadCoordinates(int descriptor, const PointSink& point, const PlainListOptions& options)
{
    ReadPackedList(
        [descriptor](char* into, qsizetype room) { return readBlock(descriptor, into, room); },
        point, options);
}

void LoadCoordinateFile(platform::ListView& list, const QString& path)
{
    if (!shell::FileExists(path)) {
        shell::MsgBox(QStringLiteral("File not found"));
        return;
    }
    LoadCoordinateFile(path, [&](QStringView latitude, QStringView longitude) {
        list.addItem(latitude, longitude); // the list copies the characters
    });
}

} // namespace app
