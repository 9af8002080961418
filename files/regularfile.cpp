#include "files/regularfile.h"

#include <QFile>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace files {
namespace {

QString systemReason(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

QString notRegular() { return QStringLiteral("Not a regular file"); }

} // namespace

int openWithoutWaiting(const QByteArray& name)
{
    return ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
}

bool takeRegularFile(int descriptor)
{
    struct stat status {};
    if (::fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode))
        return false;
    const int flags = ::fcntl(descriptor, F_GETFL);
    return flags >= 0 && ::fcntl(descriptor, F_SETFL, flags & ~O_NONBLOCK) == 0;
}

core::Failure openFailure(int error)
{
    switch (error) {
    case ENOENT:
    case ENOTDIR: // a file where a folder of the path should be
        return core::Failure::fileNotFound();
    case EACCES:
    case EPERM:
        return core::Failure::permissionDenied();
    default:
        return core::Failure::pathAccess();
    }
}

std::optional<QByteArray> readRegularFile(const QString& path, QString& reason)
{
    const int descriptor = openWithoutWaiting(QFile::encodeName(path));
    if (descriptor < 0) {
        reason = systemReason(errno);
        return std::nullopt;
    }
    if (!takeRegularFile(descriptor)) {
        reason = notRegular();
        ::close(descriptor);
        return std::nullopt;
    }
    QFile file;
    if (!file.open(descriptor, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        reason = file.errorString();
        ::close(descriptor);
        return std::nullopt;
    }
    return file.readAll();
}

bool regularOrMissing(const QString& path)
{
    struct stat status {};
    if (::stat(QFile::encodeName(path).constData(), &status) != 0)
        return errno == ENOENT;
    return S_ISREG(status.st_mode);
}

} // namespace files
