#include "lists/packedinput.h"

#include "lists/listformat.h"
#include "lists/listreader.h"


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

ByteSource entryOf(ArchiveReader& zip)
{
    return [&zip](char* into, qsizetype room) { return zip.read(into, room); };
}

// doc.kml is read as it comes. Else the first KML at the root is the
// document: the zip is read again from its start, up to that entry.
void readZip(QByteArray head, const ByteSource& source, const PointSink& point,
             const PlainListOptions& options, const Rewind& rewind)
{
    std::optional<int> first;
    {
        ArchiveReader zip(ArchiveReader::Kind::Zip, std::move(head), source);
        int index = 0;
        for (QString path; zip.next(path); ++index) {
            if (path == QLatin1String("doc.kml"))
                return readList({}, entryOf(zip), point, options);
            if (!first && isRootKml(path))
                first = index;
        }
    }
    if (!first)
        throw invalidFileFormat(QStringLiteral("a zip without a KML document"));
    if (!rewind || !rewind())
        throw core::Failure{75, QStringLiteral("A zip whose KML document is not doc.kml is read "
                                               "only from a file, not from a pipe")};
    ArchiveReader zip(ArchiveReader::Kind::Zip, {}, source);
    QString path;
    for (int index = 0; index <= *first; ++index)
        if (!zip.next(path))
            throw invalidFileFormat(QStringLiteral("a zip that changed while it was read"));
    readList({}, entryOf(zip), point, options);
}

// The content of a compressed file may be a zip in turn (a KMZ compressed
// again); the filters themselves, one inside the other, are all undone by
// libarchive.
void readCompressed(QByteArray head, const ByteSource& source, const PointSink& point,
                    const PlainListOptions& options, const Rewind& rewind)
{
    std::optional<ArchiveReader> compressed;
    compressed.emplace(ArchiveReader::Kind::Compressed, std::move(head), source);
    QString path;
    if (!compressed->next(path))
        return readList(
            {}, [](char*, qsizetype) { return qsizetype(0); }, point, options);
    const ByteSource content = [&](char* into, qsizetype room) {
        return compressed->read(into, room);
    };
    // The content goes back to its start as the file does: undone anew.
    const Rewind again = [&] {
        if (!rewind || !rewind())
            return false;
        compressed.emplace(ArchiveReader::Kind::Compressed, QByteArray(), source);
        return compressed->next(path);
    };
    QByteArray inner = readHead(content);
    if (packingOf(inner) == Packing::Zip)
        return readZip(std::move(inner), content, point, options, again);
    readList(std::move(inner), content, point, options);
}

} // namespace

void readPackedList(const ByteSource& given, const PointSink& point,
                    const PlainListOptions& options, const Rewind& rewind)
{
    // A terminal ends its input with one read that gives nothing (Ctrl-D),
    // and would wait for another: the source is not asked again.
    bool ended = false;
    const ByteSource source = [&](char* into, qsizetype room) {
        const qsizetype read = ended ? 0 : given(into, room);
        ended = read == 0;
        return read;
    };
    const Rewind again = [&] {
        if (!rewind || !rewind())
            return false;
        ended = false;
        return true;
    };
    QByteArray head = readHead(source);
    switch (packingOf(head)) {
    case Packing::Zip:
        return readZip(std::move(head), source, point, options, again);
    case Packing::Compressed:
        return readCompressed(std::move(head), source, point, options, again);
    case Packing::None:
        return readList(std::move(head), source, point, options);
    }
}

} // namespace lists
