#include "lists/packedinput.h"

#include "lists/listformat.h"
#include "lists/listreader.h"

#include <QDir>
#include <QTemporaryFile>

#include <array>
#include <optional>

namespace lists {
namespace {

constexpr qsizetype kBlockBytes = 1 << 20;
// The longest magic below: bzip2's "BZh", its block size and the magic of a
// block or of the stream's end.
constexpr qsizetype kMagicBytes = 10;

enum class Packing { None, Compressed, Zip };

Packing packingOf(QByteArrayView head)
{
    if (head.startsWith("PK\x03\x04") || head.startsWith("PK\x05\x06"))
        return Packing::Zip;
    if (head.startsWith("\x1F\x8B\x08") || head.startsWith("\xFD"
                                                           "7zXZ\x00"))
        return Packing::Compressed;
    const bool bzip2 = head.size() >= kMagicBytes && head.startsWith("BZh") && head[3] >= '1' &&
                       head[3] <= '9' &&
                       (head.sliced(4, 6) == "\x31\x41\x59\x26\x53\x59" ||
                        head.sliced(4, 6) == "\x17\x72\x45\x38\x50\x90");
    return bzip2 ? Packing::Compressed : Packing::None;
}

// The first bytes, enough to tell the packing unless the source ends before.
QByteArray readHead(const ByteSource& source)
{
    QByteArray head(kBlockBytes, Qt::Uninitialized);
    qsizetype size = 0;
    for (qsizetype read = 1; size < kMagicBytes && read > 0; size += read)
        read = source(head.data() + size, head.size() - size);
    head.truncate(size);
    return head;
}

void readList(QByteArray head, const ByteSource& source, const PointSink& point,
              const PlainListOptions& options)
{
    ListReader reader(point, options);
    reader.feed(head);
    head = QByteArray(); // its bytes are handed on
    QByteArray block(kBlockBytes, Qt::Uninitialized);
    for (qsizetype read; (read = source(block.data(), block.size())) > 0;)
        reader.feed(QByteArrayView(block.constData(), read));
    reader.finish();
}

bool isRootKml(const QString& path)
{
    return !path.contains(QLatin1Char('/')) &&
           path.endsWith(QLatin1String(".kml"), Qt::CaseInsensitive);
}

// An entry put aside on disk, read only when no "doc.kml" comes after it.
std::unique_ptr<QTemporaryFile> putAside(ArchiveReader& zip)
{
    auto file =
        std::make_unique<QTemporaryFile>(QDir::tempPath() + QLatin1String("/meridane-XXXXXX"));
    if (!file->open())
        throw core::Failure{75, file->errorString()};
    QByteArray block(kBlockBytes, Qt::Uninitialized);
    for (qsizetype read; (read = zip.read(block.data(), block.size())) > 0;)
        if (file->write(block.constData(), read) != read)
            throw core::Failure{57, file->errorString()};
    if (!file->flush() || !file->seek(0))
        throw core::Failure{57, file->errorString()};
    return file;
}

void readZip(QByteArray head, const ByteSource& source, const PointSink& point,
             const PlainListOptions& options)
{
    ArchiveReader zip(ArchiveReader::Kind::Zip, std::move(head), source);
    const ByteSource entry = [&](char* into, qsizetype room) { return zip.read(into, room); };
    std::unique_ptr<QTemporaryFile> first;
    for (QString path; zip.next(path);) {
        if (path == QLatin1String("doc.kml"))
            return readList({}, entry, point, options);
        if (!first && isRootKml(path))
            first = putAside(zip);
    }
    if (!first)
        throw invalidFileFormat(QStringLiteral("a zip without a KML document"));
    const ByteSource aside = [&](char* into, qsizetype room) {
        const qint64 read = first->read(into, room);
        if (read < 0)
            throw core::Failure{75, first->errorString()};
        return qsizetype(read);
    };
    readList({}, aside, point, options);
}

// The content of a compressed file may be a zip in turn (a KMZ compressed
// again); the filters themselves, one inside the other, are all undone by
// libarchive.
void readCompressed(QByteArray head, const ByteSource& source, const PointSink& point,
                    const PlainListOptions& options)
{
    ArchiveReader compressed(ArchiveReader::Kind::Compressed, std::move(head), source);
    QString path;
    if (!compressed.next(path))
        return readList(
            {}, [](char*, qsizetype) { return qsizetype(0); }, point, options);
    const ByteSource content = [&](char* into, qsizetype room) {
        return compressed.read(into, room);
    };
    QByteArray inner = readHead(content);
    if (packingOf(inner) == Packing::Zip)
        return readZip(std::move(inner), content, point, options);
    readList(std::move(inner), content, point, options);
}

} // namespace

void readPackedList(const ByteSource& given, const PointSink& point,
                    const PlainListOptions& options)
{
    // A terminal ends its input with one read that gives nothing (Ctrl-D),
    // and would wait for another: the source is not asked again.
    bool ended = false;
    const ByteSource source = [&](char* into, qsizetype room) {
        const qsizetype read = ended ? 0 : given(into, room);
        ended = read == 0;
        return read;
    };
    QByteArray head = readHead(source);
    switch (packingOf(head)) {
    case Packing::Zip:
        return readZip(std::move(head), source, point, options);
    case Packing::Compressed:
        return readCompressed(std::move(head), source, point, options);
    case Packing::None:
        return readList(std::move(head), source, point, options);
    }
}

} // namespace lists
