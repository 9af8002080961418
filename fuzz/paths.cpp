// The path helpers on arbitrary texts: a file name is the end of its path
// after the last separator; a join keeps both parts; cleaning only removes
// separators and keeps a network path's two leading ones.

#include "files/paths.h"
#include "fuzzinput.h"

#include <algorithm>

namespace {

bool isSeparator(QChar c) { return c == QLatin1Char('/') || c == QLatin1Char('\\'); }

QString withoutSlashes(QString text) { return text.remove(QLatin1Char('/')); }

void checkFileName(const QString& path)
{
    const QString name = files::FileNameFromPath(path);
    fuzz::check(path.endsWith(name), "file name is not the path's end", path);
    fuzz::check(std::none_of(name.begin(), name.end(), isSeparator), "file name holds a separator",
                path);
    if (name.size() < path.size())
        fuzz::check(isSeparator(path[path.size() - name.size() - 1]),
                    "file name does not follow a separator", path);
}

void checkJoin(const QString& folder, const QString& name)
{
    const QString joined = files::JoinedPath(folder, name);
    const QString between = joined.mid(folder.size(), joined.size() - folder.size() - name.size());
    fuzz::check(joined.startsWith(folder) && joined.endsWith(name) &&
                    between == QLatin1String(folder.endsWith(QLatin1Char('/')) ? "" : "/"),
                "join is not folder, one separator, name", joined);
}

void checkClean(const QString& path)
{
    const QString clean = files::CleanJoinedPath(path);
    fuzz::check(withoutSlashes(clean) == withoutSlashes(path),
                "cleaning removed more than "
                "separators",
                path);
    fuzz::check(clean.size() <= path.size(), "cleaning made the path longer", path);
    if (path.startsWith(QLatin1String("//")))
        fuzz::check(clean.startsWith(QLatin1String("//")) &&
                        (clean.size() == 2 || clean[2] != QLatin1Char('/')),
                    "network path lost its two leading separators", path);
    // A path without doubled separators is left as it is.
    if (!path.contains(QLatin1String("//")))
        fuzz::check(clean == path, "a clean path was changed", path);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::Input input(data, size);
    const QString text = QString::fromUtf8(input.rest());
    checkFileName(text);
    checkClean(text);
    // A NUL splits the text into a folder and a name to join.
    const qsizetype nul = text.indexOf(QChar(0));
    checkJoin(text.left(nul < 0 ? text.size() : nul), nul < 0 ? QString() : text.mid(nul + 1));
    return 0;
}
