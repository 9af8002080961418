// The list-file reader on arbitrary bytes: fed in small blocks it hands on
// the same lines as fed at once, and those are the lines of a plain split on
// CR, LF and CR LF, each decoded as UTF-8 where valid and Latin-1 otherwise.

#include "core/plaintext.h"
#include "lists/listrecords.h"
#include "fuzzinput.h"

#include <QStringList>

namespace {

QStringList read(QByteArrayView bytes, qsizetype block)
{
    QStringList lines;
    lists::ListRecords records([&](QStringView line) { lines << line.toString(); });
    for (qsizetype at = 0; at < bytes.size(); at += block)
        records.feed(bytes.sliced(at, std::min(block, bytes.size() - at)));
    records.finish();
    return lines;
}

// A byte-order mark that leads a later line is a character of that line.
QString decoded(QByteArrayView line)
{
    if (!line.isValidUtf8())
        return QString::fromLatin1(line);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom);
    return utf8.decode(line);
}

QStringList split(QByteArrayView bytes)
{
    QList<QByteArrayView> lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        if (bytes[i] != '\r' && bytes[i] != '\n')
            continue;
        lines << bytes.sliced(start, i - start);
        if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < bytes.size())
        lines << bytes.sliced(start);
    // The file's own byte-order mark leads its first line.
    if (!lines.isEmpty() && lines.front().startsWith(core::kUtf8ByteOrderMark))
        lines.front() = lines.front().sliced(core::kUtf8ByteOrderMark.size());
    QStringList texts;
    for (const QByteArrayView line : lines)
        texts << decoded(line);
    return texts;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::Input input(data, size);
    const qsizetype block = 1 + input.byte() % 16;
    const QByteArrayView bytes = input.rest();
    const QStringList atOnce = read(bytes, std::max<qsizetype>(bytes.size(), 1));
    const QString detail = QString::fromLatin1(bytes.toByteArray().toHex());
    fuzz::check(read(bytes, block) == atOnce, "blocks give other lines than one feed", detail);
    fuzz::check(atOnce == split(bytes), "lines differ from a plain split", detail);
    return 0;
}
