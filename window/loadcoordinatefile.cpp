#include "window/loadcoordinatefile.h"

#include "lists/packedinput.h"
#include "lists/listformat.h"
#include "core/failure.h"
#include "platform/widgets/list/listview.h"
#include "files/fileexists.h"
#include "files/paths.h"
#include "files/regularfile.h"
#include "window/chrome/msgbox.h"

#include <QByteArray>
#include <QFile>

#include <cerrno>
#include <poll.h>
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
// looked at before, only the opened file counts; only a regular file is read,
// as a pipe or a device may never end.
int openRegularFile(const QString& path)
{
    const int descriptor = platform::openWithoutWaiting(QFile::encodeName(path));
    if (descriptor < 0)
        throw platform::openFailure(errno);
    if (!platform::takeRegularFile(descriptor)) {
        ::close(descriptor);
        throw Failure::pathAccess();
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
            throw Failure::pathAccess();
        pollfd wait{descriptor, POLLIN, 0};
        ::poll(&wait, 1, -1);
    }
}

} // namespace

void LoadCoordinateFile(const QString& path, const PointSink& point,
                        const PlainListOptions& options)
{
    const Descriptor file(openRegularFile(path));
    ReadCoordinates(file.get(), point, options);
}

void ReadCoordinates(int descriptor, const PointSink& point, const PlainListOptions& options)
{
    ReadPackedList(
        [descriptor](char* into, qsizetype room) { return readBlock(descriptor, into, room); },
        point, options);
}

void LoadCoordinateFile(platform::ListView& list, const QString& path, bool named)
{
    const auto withName = [&](const QString& text) {
        return shell::FileNameFromPath(path) + QLatin1String(": ") + text;
    };
    const QString notFound = QStringLiteral("File not found");
    if (!shell::FileExists(path)) {
        shell::MsgBox(named ? withName(notFound) : notFound);
        return;
    }
    try {
        LoadCoordinateFile(path, [&](QStringView latitude, QStringView longitude) {
            list.addItem(latitude, longitude); // the list copies the characters
        });
    } catch (Failure& failure) {
        if (named || failure.number == kInvalidFileFormat)
            failure.description = withName(failure.description);
        throw;
    }
}

} // namespace app
