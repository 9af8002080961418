#include "shell/fileexists.h"

#include <QFile>
#include <sys/stat.h>

namespace shell {

bool FileExists(const QString& path) noexcept
{
    try {
        if (path.isEmpty() || path.contains(QChar(0)))
            return false;
        struct stat info {};
        return ::stat(QFile::encodeName(path).constData(), &info) == 0;
    } catch (...) {
        return false;
    }
}

} // namespace shell
