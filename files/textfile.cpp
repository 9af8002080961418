#include "files/textfile.h"

#include "core/failure.h"
#include "files/fileexists.h"

#include <QFile>
#include <QSaveFile>
#include <cerrno>
#include <fcntl.h>
#include <unistd.h>

namespace output {
namespace {

constexpr qsizetype kBlockSize = 1 << 20;

Failure deviceError(const QString& description) { return {57, description}; }
Failure accessError(const QString& description) { return {75, description}; }

bool isStandardOutput(const QString& fileName) { return fileName == QLatin1String("-"); }

} // namespace

TextFile::TextFile(const QString& fileName)
    : fileName_(fileName)
    , encoder_(QStringEncoder::System)
{
}

TextFile::~TextFile() = default;

void TextFile::create()
{
    direct_ = isStandardOutput(fileName_) || shell::KindOfPath(fileName_) == shell::PathKind::Other;
    if (direct_)
        openDirect();
    else
        file_ = std::make_unique<QSaveFile>(fileName_);
    // Unbuffered: the blocks below are the buffering, and a failed write shows at once.
    if (!file_->isOpen() && !file_->open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        throw accessError(file_->errorString());
    block_.resize(kBlockSize);
    used_ = 0;
}

// A pipe that nobody reads would keep the opening waiting for ever: it fails
// at once instead, and the writes that follow wait for the reader as usual.
// "-" writes into a copy of the standard output, which closing leaves open.
void TextFile::openDirect()
{
    const int fd = isStandardOutput(fileName_) ? ::dup(STDOUT_FILENO)
                                               : ::open(QFile::encodeName(fileName_).constData(),
                                                        O_WRONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        throw accessError(qt_error_string(errno));
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    auto file = std::make_unique<QFile>();
    file->open(fd, QIODevice::WriteOnly | QIODevice::Unbuffered, QFileDevice::AutoCloseHandle);
    file_ = std::move(file);
}

void TextFile::writeLine(QStringView line)
{
    const qsizetype needed = encoder_.requiredSpace(line.size()) + 2;
    if (used_ + needed > block_.size()) {
        writeBlock();
        if (needed > block_.size())
            block_.resize(needed);
    }
    char* out = encoder_.appendToBuffer(block_.data() + used_, line);
    *out++ = '\r';
    *out++ = '\n';
    used_ = out - block_.constData();
}

void TextFile::writeBlock()
{
    // A short write names no reason: the rest is written again, and the
    // write that fails names it ("No space left on device").
    const char* at = block_.constData();
    const char* const end = at + used_;
    while (at < end && writeError_.isEmpty()) {
        const qint64 written = file_->write(at, end - at);
        if (written <= 0)
            writeError_ = file_->errorString();
        else
            at += written;
    }
    used_ = 0;
}

void TextFile::abandon()
{
    if (!file_)
        return;
    // A pipe or device keeps what it was sent; a regular file stays as it was.
    if (!direct_) {
        auto& file = static_cast<QSaveFile&>(*file_);
        file.cancelWriting();
        file.commit(); // removes the unfinished file
    } else {
        file_->close();
    }
    block_ = QByteArray();
    used_ = 0;
}

void TextFile::close()
{
    if (!isOpen())
        throw accessError(QStringLiteral("The file is not open"));
    writeBlock();
    block_ = QByteArray();
    if (direct_)
        closeDirect();
    else
        closeSafe();
}

void TextFile::closeSafe()
{
    auto& file = static_cast<QSaveFile&>(*file_);
    // A disk that fills up may only tell when the data reaches it.
    if (writeError_.isEmpty() && ::fsync(file.handle()) != 0)
        writeError_ = qt_error_string(errno);
    if (!writeError_.isEmpty()) {
        file.cancelWriting();
        file.commit(); // removes the unfinished file
        throw deviceError(writeError_);
    }
    if (!file.commit())
        throw accessError(file.errorString());
}

void TextFile::closeDirect()
{
    file_->close();
    if (!writeError_.isEmpty())
        throw deviceError(writeError_);
    if (file_->error() != QFileDevice::NoError)
        throw deviceError(file_->errorString());
}

} // namespace output
