#include "app/loadcoordinatefile.h"

#include "app/listrecords.h"
#include "core/failure.h"
#include "platform/widgets/listview.h"
#include "shell/fileexists.h"
#include "shell/msgbox.h"

#include <QByteArray>
#include <QFile>

namespace app {
namespace {

// Large blocks keep the reading cheap; a line may span any number of them.
constexpr qint64 kBlockBytes = 1 << 20;

// Opening a pipe or a device may wait for ever, so the kind of file is
// settled before anything is opened.
void requireRegularFile(const QString& path)
{
    switch (shell::KindOfPath(path)) {
    case shell::PathKind::Missing:
        throw Failure::fileNotFound();
    case shell::PathKind::Regular:
        return;
    case shell::PathKind::Other:
        throw Failure::pathAccess();
    }
}

void openListFile(QFile& file)
{
    if (!file.open(QIODevice::ReadOnly))
        throw file.error() == QFileDevice::PermissionsError ? Failure::permissionDenied()
                                                            : Failure::pathAccess();
}

qint64 readBlock(QFile& file, QByteArray& block)
{
    const qint64 read = file.read(block.data(), block.size());
    if (read < 0)
        throw Failure::pathAccess();
    return read;
}

// The list copies the characters, so the view need not be copied first.
QString rawString(QStringView view) { return QString::fromRawData(view.data(), view.size()); }

void readList(QFile& file, const PointSink& point, const PlainListOptions& options)
{
    PlainList list(point, options);
    ListRecords records([&](QStringView line) { list.line(line); });
    QByteArray block(kBlockBytes, Qt::Uninitialized);
    for (qint64 read; (read = readBlock(file, block)) > 0;)
        records.feed(QByteArrayView(block.constData(), read));
    records.finish();
}

} // namespace

void LoadCoordinateFile(const QString& path, const PointSink& point,
                        const PlainListOptions& options)
{
    requireRegularFile(path);
    QFile file(path);
    openListFile(file);
    readList(file, point, options);
}

void ReadCoordinates(int descriptor, const PointSink& point, const PlainListOptions& options)
{
    QFile file;
    if (!file.open(descriptor, QIODevice::ReadOnly, QFileDevice::DontCloseHandle))
        throw Failure::pathAccess();
    readList(file, point, options);
}

void LoadCoordinateFile(platform::ListView& list, const QString& path)
{
    if (!shell::FileExists(path)) {
        shell::MsgBox(QStringLiteral("File not found"));
        return;
    }
    LoadCoordinateFile(path, [&](QStringView latitude, QStringView longitude) {
        list.addItem(rawString(latitude), rawString(longitude));
    });
}

} // namespace app
