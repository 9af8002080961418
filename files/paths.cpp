#include "files/paths.h"

namespace files {
namespace {
const QLatin1Char separator('/');
const QLatin1String doubledSeparator("//");
} // namespace

QString FileNameFromPath(const QString& path)
{
    for (qsizetype i = path.size() - 1; i >= 0; --i) {
        const QChar c = path[i];
        if (c == QLatin1Char('\\') || c == QLatin1Char('/'))
            return path.mid(i + 1);
    }
    return path;
}

QString JoinedPath(const QString& folder, const QString& name)
{
    if (folder.endsWith(separator))
        return folder + name;
    return folder + separator + name;
}

QString CleanJoinedPath(const QString& path)
{
    if (!path.startsWith(doubledSeparator))
        return QString(path).replace(doubledSeparator, QString(separator));
    qsizetype rest = 2;
    while (rest < path.size() && path[rest] == separator)
        ++rest;
    return doubledSeparator + path.mid(rest).replace(doubledSeparator, QString(separator));
}

} // namespace files
