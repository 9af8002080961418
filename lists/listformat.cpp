#include "lists/listformat.h"

#include "lists/formats/fitreader.h"
#include "lists/formats/nmeareader.h"

#include "core/plaintext.h"

#include <QByteArray>
#include <QStringDecoder>

namespace lists {
namespace {

const QByteArrayView kUtf16LeMark("\xFF\xFE");
const QByteArrayView kUtf16BeMark("\xFE\xFF");

qsizetype skipSpace(QByteArrayView text, qsizetype at)
{
    while (at < text.size() && core::isWhiteSpace(text[at]))
        ++at;
    return at;
}

} // namespace

bool startsWithUtf16Mark(QByteArrayView bytes)
{
    return bytes.startsWith(kUtf16LeMark) || bytes.startsWith(kUtf16BeMark);
}

ListFormat recogniseListFormat(QByteArrayView head, bool complete)
{
    if (const ListFormat format = recogniseFit(head, complete); format != ListFormat::Plain)
        return format;
    if (startsWithUtf16Mark(head)) {
        QStringDecoder decoder(head.startsWith(kUtf16LeMark) ? QStringDecoder::Utf16LE
                                                             : QStringDecoder::Utf16BE);
        const QByteArray text = QString(decoder.decode(head)).toUtf8();
        return recogniseListFormat(text, complete);
    }
    // The first byte or two of a mark.
    if (!complete && !head.isEmpty() && head.size() < core::kUtf8ByteOrderMark.size() &&
        (core::kUtf8ByteOrderMark.startsWith(head) || kUtf16LeMark.startsWith(head) ||
         kUtf16BeMark.startsWith(head)))
        return ListFormat::Undecided;
    if (head.startsWith(core::kUtf8ByteOrderMark))
        head = head.sliced(core::kUtf8ByteOrderMark.size());
    const qsizetype at = skipSpace(head, 0);
    if (at == head.size())
        return complete ? ListFormat::Plain : ListFormat::Undecided;
    if (head[at] == '<')
        return ListFormat::Xml;
    if (head[at] == '{')
        return ListFormat::Json;
    // Markup in UTF-16 without a mark, as the parser tells it: "<" in its
    // first code unit, either byte order.
    if (head.startsWith(QByteArrayView("\0<", 2)))
        return ListFormat::Xml;
    return recogniseNmea(head, complete);
}

} // namespace lists
