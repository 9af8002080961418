#include "window/loadcoordinatefile.h"

#include "core/failure.h"
#include "files/fileexists.h"
#include "files/paths.h"
#include "lists/listfile.h"
#include "lists/listformat.h"
#include "platform/widgets/list/listview.h"
#include "window/chrome/msgbox.h"

#include <QFile>
#include <QStringList>

namespace window {
namespace {

constexpr size_t kSkipsNamed = 5;

// A FIT file counts records, not lines (the path names a regular file).
bool holdsRecords(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) &&
           lists::recogniseListFormat(file.read(64), file.atEnd()) == lists::ListFormat::Fit;
}

QString plural(qint64 count, const char* one, const char* many)
{
    return QString::number(count) + QLatin1Char(' ') + QLatin1String(count == 1 ? one : many);
}

} // namespace

QString LoadSummary::text() const
{
    QString text = plural(points, "point", "points") + QLatin1String(" added from ") +
                   (files == 1 ? name : plural(files, "file", "files"));
    if (skipped > 0) {
        QStringList numbers;
        for (const qint64 n : firstSkipped)
            numbers << QString::number(n);
        if (skipped > qint64(firstSkipped.size()))
            numbers << QStringLiteral("...");
        const char* one = records ? "record" : "line";
        const char* many = records ? "records" : "lines";
        text += QLatin1String(", ") + plural(skipped, one, many) + QLatin1String(" skipped (") +
                QLatin1String(firstSkipped.size() == 1 ? one : many) + QLatin1Char(' ') +
                numbers.join(QLatin1String(", ")) + QLatin1Char(')');
    }
    if (!failure.isEmpty())
        text += QLatin1String("; ") + failure;
    return text;
}

void LoadCoordinateFile(widgets::ListView& list, const QString& path, bool named,
                        LoadSummary& summary)
{
    const auto withName = [&](const QString& text) {
        return files::FileNameFromPath(path) + QLatin1String(": ") + text;
    };
    ++summary.files;
    summary.name = files::FileNameFromPath(path);
    const QString notFound = QStringLiteral("File not found");
    if (!files::FileExists(path)) {
        summary.failure = withName(notFound);
        chrome::MsgBox(named ? withName(notFound) : notFound);
        return;
    }
    lists::PlainListOptions options;
    options.skipped = [&](qint64 line) {
        if (++summary.skipped <= qint64(kSkipsNamed))
            summary.firstSkipped.push_back(line);
    };
    try {
        lists::readListFile(
            path,
            [&](QStringView latitude, QStringView longitude) {
                list.addItem(latitude, longitude); // the list copies the characters
                ++summary.points;
            },
            options);
        // Read whole, so a regular file: opening it again cannot wait for a writer.
        summary.records = summary.skipped > 0 && holdsRecords(path);
    } catch (core::Failure& failure) {
        const bool namesFile = named || failure.number == lists::kInvalidFileFormat ||
                               failure.number == lists::kNotAListDocument;
        if (namesFile)
            failure.description = withName(failure.description);
        summary.failure = namesFile ? failure.description : withName(failure.description);
        throw;
    }
}

} // namespace window
