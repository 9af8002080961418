#include "files/regularfile.h"

#include <QFile>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {
namespace {

QString systemReason(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

QString notRegular() { return QStringLiteral("Not a regular file"); }

} // namespace

std::optional<QByteArray> readRegularFile(const QString& path, QString& reason)
{
    // Without O_NONBLOCK, opening a pipe waits for its writer.
    const int descriptor =
        ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (descriptor < 0) {
        reason = systemReason(errno);
        return std::nullopt;
    }
    struct stat status {};
    if (::fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode)) {
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

} // namespace platform
