#include "shell/paths.h"

namespace shell {

QString FileNameFromPath(const QString& path)
{
    for (qsizetype i = path.size() - 1; i >= 0; --i) {
        const QChar c = path[i];
        if (c == QLatin1Char('\\') || c == QLatin1Char('/'))
            return path.mid(i + 1);
    }
    return path;
}

} // namespace shell
