#include "cli/inputfile.h"

#include "cli/standardinput.h"
#include "core/failure.h"
#include "files/regularfile.h"

#include <QDir>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace app {
namespace {

constexpr qsizetype kBlockBytes = 1 << 20;

bool readable(const struct stat& status)
{
    return S_ISREG(status.st_mode) || S_ISFIFO(status.st_mode) || S_ISSOCK(status.st_mode);
}

} // namespace

InputFile::InputFile(QByteArray name)
    : name_(std::move(name))
{
}

InputFile::~InputFile() { pause(); }

void InputFile::pause()
{
    if (descriptor_ >= 0)
        ::close(descriptor_);
    descriptor_ = -1;
}

void InputFile::open()
{
    struct stat status;
    if (name_ == "-") {
        if (StandardInputClosed())
            throw Failure{75, QStringLiteral("standard input is closed")};
        descriptor_ = ::fcntl(STDIN_FILENO, F_DUPFD_CLOEXEC, 0);
    } else {
        // A folder or a device is refused before it is opened: opening some
        // devices already does something.
        if (::stat(name_.constData(), &status) != 0)
            throw platform::openFailure(errno);
        if (!readable(status))
            throw Failure::pathAccess();
        descriptor_ = ::open(name_.constData(), O_RDONLY | O_CLOEXEC | O_NOCTTY);
    }
    if (descriptor_ < 0)
        throw platform::openFailure(errno);
    if (::fstat(descriptor_, &status) != 0 || (name_ != "-" && !readable(status)))
        throw Failure::pathAccess();
    regular_ = S_ISREG(status.st_mode);
    size_ = regular_ ? status.st_size : 0;
    opened_ = true;
}

void InputFile::spill()
{
    // The standard input may start anywhere in a regular file: it is copied too.
    if ((regular_ && name_ != "-") || spill_)
        return;
    auto spill = std::make_unique<QTemporaryFile>(QDir::tempPath() + QLatin1String("/meridane-XXXXXX"));
    if (!spill->open())
        throw Failure{75, spill->errorString()};
    QByteArray block(kBlockBytes, Qt::Uninitialized);
    for (;;) {
        const ssize_t read = ::read(descriptor_, block.data(), block.size());
        if (read < 0 && errno == EINTR)
            continue;
        if (read < 0)
            throw Failure{75, qt_error_string(errno)};
        if (read == 0)
            break;
        if (spill->write(block.constData(), read) != read)
            throw Failure{57, spill->errorString()};
    }
    if (!spill->flush())
        throw Failure{57, spill->errorString()};
    size_ = spill->size();
    spill_ = std::move(spill);
    pause(); // the pipe is read out
    rewind();
}

void InputFile::rewind()
{
    if (!spill_ && descriptor_ < 0)
        open();
    if (::lseek(descriptor(), 0, SEEK_SET) < 0)
        throw Failure::pathAccess();
}

} // namespace app
