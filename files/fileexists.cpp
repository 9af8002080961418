#include "files/fileexists.h"

#include <QFile>
#include <sys/stat.h>

namespace files {
namespace {

// The file system's record of the path; false when there is none.
bool statPath(const QString& path, struct stat& info) noexcept
{
    try {
        if (path.isEmpty() || path.contains(QChar(0)))
            return false;
        return ::stat(QFile::encodeName(path).constData(), &info) == 0;
    } catch (...) {
        return false;
    }
}

} // namespace

bool FileExists(const QString& path) noexcept
{
    struct stat info {};
    return statPath(path, info);
}

} // namespace files
