#include "files/textfile.h"

#include "core/failure.h"
#include "files/unfinishedfile.h"

#include <QFile>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace files {
namespace {

constexpr qsizetype kBlockBytes = 1 << 20;

core::Failure accessError(int error) { return {75, qt_error_string(error)}; }
core::Failure deviceError(int error) { return {57, qt_error_string(error)}; }

// The mode a new file gets, or that of the file it replaces: its permissions,
// never its set-user-ID or set-group-ID bit (a program replaced by a text
// file must not run as another user).
mode_t modeFor(const QByteArray& name)
{
    struct stat status;
    if (::stat(name.constData(), &status) == 0)
        return status.st_mode & 0777;
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

} // namespace

TextFile::TextFile(const QString& fileName)
    : TextFile(QFile::encodeName(fileName), QStringEncoder::System)
{
}

TextFile::TextFile(QByteArray name, QStringEncoder::Encoding encoding)
    : name_(std::move(name))
    , encoder_(encoding)
{
}

TextFile::~TextFile() { discard(); }

void TextFile::create()
{
    struct stat status;
    const bool direct =
        name_ == "-" || (::stat(name_.constData(), &status) == 0 && !S_ISREG(status.st_mode));
    if (direct)
        openDirect();
    else
        openBeside();
    block_.resize(kBlockBytes);
    used_ = 0;
}

// A pipe that nobody reads would keep the opening waiting for ever: it fails
// at once instead, and the writes that follow wait for the reader as usual.
// "-" writes into a copy of the standard output, which closing leaves open.
void TextFile::openDirect()
{
    const int descriptor = name_ == "-" ? ::fcntl(STDOUT_FILENO, F_DUPFD_CLOEXEC, 0)
                                        : ::open(name_.constData(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0)
        throw accessError(errno);
    ::fcntl(descriptor, F_SETFL, ::fcntl(descriptor, F_GETFL) & ~O_NONBLOCK);
    descriptor_ = descriptor;
}

namespace {

// A short name in the same folder, whatever the length of the file's own:
// any name that can be written can be put in place.
QByteArray temporaryBeside(const QByteArray& name)
{
    return name.first(name.lastIndexOf('/') + 1) + ".meridane-XXXXXX";
}

} // namespace

void TextFile::openBeside()
{
    followLink();
    if (::access(name_.constData(), F_OK) == 0 && ::access(name_.constData(), W_OK) != 0)
        throw accessError(errno);
    temporary_ = temporaryBeside(name_);
    descriptor_ = createUnfinishedFile(temporary_, guarded_);
    if (descriptor_ < 0) {
        temporary_.clear();
        throw accessError(errno);
    }
    ::fchmod(descriptor_, modeFor(name_));
}

// A symbolic link keeps pointing at the file, which is replaced. A link that
// leads nowhere is refused: writing through it would create a file wherever
// it points, and replacing it would drop the link.
void TextFile::followLink()
{
    struct stat status;
    const bool link = ::lstat(name_.constData(), &status) == 0 && S_ISLNK(status.st_mode);
    char* target = ::realpath(name_.constData(), nullptr);
    if (!target) {
        if (!link)
            return;
        if (errno == ENOENT)
            throw core::Failure{75, QStringLiteral("The output is a symbolic link that leads nowhere")};
        throw accessError(errno);
    }
    name_ = target;
    std::free(target);
}

// Room for `bytes` more at the end of the block, which is written out first
// when they do not fit.
char* TextFile::room(qsizetype bytes)
{
    if (used_ + bytes > block_.size()) {
        flush();
        if (bytes > block_.size())
            block_.resize(bytes);
    }
    return block_.data() + used_;
}

void TextFile::writeLine(QStringView line)
{
    char* out = encoder_.appendToBuffer(room(encoder_.requiredSpace(line.size()) + 2), line);
    *out++ = '\r';
    *out++ = '\n';
    used_ = out - block_.constData();
}

void TextFile::write(QStringView text)
{
    used_ = encoder_.appendToBuffer(room(encoder_.requiredSpace(text.size())), text) -
            block_.constData();
}

void TextFile::write(QByteArrayView bytes)
{
    std::memcpy(room(bytes.size()), bytes.data(), size_t(bytes.size()));
    used_ += bytes.size();
}

void TextFile::flush()
{
    // A short write names no reason: the rest is written again, and the
    // write that fails names it ("No space left on device").
    for (qsizetype at = 0; at < used_ && writeErrno_ == 0;) {
        const ssize_t written = ::write(descriptor_, block_.constData() + at, size_t(used_ - at));
        if (written < 0 && errno != EINTR)
            writeErrno_ = errno;
        else if (written > 0)
            at += written;
    }
    used_ = 0;
}

void TextFile::abandon()
{
    discard();
    block_ = QByteArray();
    used_ = 0;
}

void TextFile::close()
{
    if (!isOpen())
        throw accessError(EBADF);
    flush();
    block_ = QByteArray();
    // A disk that fills up may only tell when the data reaches it.
    if (writeErrno_ == 0 && !temporary_.isEmpty() && ::fsync(descriptor_) != 0)
        writeErrno_ = errno;
    const int closeErrno = ::close(descriptor_) == 0 ? 0 : errno;
    descriptor_ = -1;
    if (writeErrno_ == 0 && closeErrno != 0 && closeErrno != EINTR)
        writeErrno_ = closeErrno;
    if (writeErrno_ != 0) {
        discard();
        throw deviceError(writeErrno_);
    }
    if (!temporary_.isEmpty() && ::rename(temporary_.constData(), name_.constData()) != 0) {
        const int error = errno;
        discard();
        throw accessError(error);
    }
    temporary_.clear();
    if (std::exchange(guarded_, false))
        releaseUnfinishedFile();
}

// Drops an unfinished file: the one it would have replaced stays as it was;
// a pipe or a device keeps what it was sent.
void TextFile::discard()
{
    if (descriptor_ >= 0)
        ::close(descriptor_);
    descriptor_ = -1;
    if (!temporary_.isEmpty())
        ::unlink(temporary_.constData());
    temporary_.clear();
    if (std::exchange(guarded_, false))
        releaseUnfinishedFile();
}

} // namespace files
