#include "platform/dialogs/commondialog.h"

#include "core/failure.h"
#include "platform/dialogs/dialogs.h"

#include <QDir>
#include <QFileInfo>

namespace platform {

namespace {

bool isInside(const QString& path, const QString& folder)
{
    return path.startsWith(folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/'));
}

// The deepest folder that holds every path.
QString commonFolder(const QStringList& paths)
{
    QString folder = QFileInfo(paths.first()).absolutePath();
    for (const QString& path : paths) {
        while (!isInside(path, folder) && QFileInfo(folder).path() != folder)
            folder = QFileInfo(folder).path();
    }
    return folder;
}

} // namespace

QString selectionText(const QStringList& paths)
{
    if (paths.size() <= 1)
        return paths.value(0);
    QStringList absolute;
    for (const QString& path : paths)
        absolute << QFileInfo(path).absoluteFilePath();
    const QString folder = commonFolder(absolute);
    const qsizetype skipped = folder.size() + (folder.endsWith(QLatin1Char('/')) ? 0 : 1);
    QStringList parts{QDir::toNativeSeparators(folder)};
    for (const QString& path : absolute)
        parts << path.mid(skipped);
    return parts.join(QChar(0));
}

void CommonDialog::ShowOpen()
{
    const QStringList paths = get<Dialogs>().openFiles({DialogTitle, Filter, FileName, Flags});
    const QString text = selectionText(paths);
    // The selection, every item followed by a NUL, and a closing NUL.
    if (text.size() + 2 > MaxFileSize)
        throw core::Failure{kBufferTooSmall,
                            QStringLiteral("The file name buffer is too small for the selection")};
    FileName = text;
    opened_ = text;
}

void CommonDialog::Opened(const QStringList& paths)
{
    FileName = selectionText(paths);
    opened_ = FileName;
}

// The name buffer is read up to its first NUL: after a multiple selection
// that is the selection's folder. A file that the open dialog returned gives
// its folder.
QString CommonDialog::saveStart() const
{
    const QString first = FileName.section(QChar(0), 0, 0);
    if (opened_.isEmpty() || FileName != opened_ || FileName.contains(QChar(0)))
        return first;
    return QFileInfo(first).absolutePath();
}

void CommonDialog::ShowSave()
{
    FileName = get<Dialogs>().saveFile({DialogTitle, Filter, saveStart(), Flags});
    opened_.clear();
}

} // namespace platform
