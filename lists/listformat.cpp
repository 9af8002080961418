#include "lists/listformat.h"

#include <QByteArray>
#include <QStringDecoder>


namespace app {
namespace {

const QByteArrayView kUtf8Mark("\xEF\xBB\xBF");
const QByteArrayView kUtf16LeMark("\xFF\xFE");
const QByteArrayView kUtf16BeMark("\xFE\xFF");

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

qsizetype skipSpace(QByteArrayView text, qsizetype at)
{
    while (at < text.size() && isSpace(text[at]))
        ++at;
    return at;
}

// Reads the text up to the first element. Each step either settles the
// format or moves past one thing that may come before the element.
class Prologue {
public:
    Prologue(QByteArrayView text, bool complete)
        : text_(text)
        , complete_(complete)
    {
    }

    ListFormat format()
    {
        for (qsizetype at = skipSpace(text_, 0);; at = skipSpace(text_, at)) {
            if (at == text_.size())
                return open();
            const QByteArrayView rest = text_.sliced(at);
            if (rest.front() == '{')
                return ListFormat::Json;
            if (rest.front() != '<')
                return ListFormat::Plain;
            if (rest.size() < 4 && !complete_)
                return ListFormat::Undecided;
            qsizetype end = -1;
            if (rest.startsWith("<?"))
                end = after(rest, "?>");
            else if (rest.startsWith("<!--"))
                end = after(rest, "-->");
            else if (rest.startsWith("<!"))
                end = afterDocumentType(rest);
            else
                return element(rest.sliced(1));
            if (end < 0)
                return open();
            at += end;
        }
    }

private:
    // The text ends before anything is settled.
    ListFormat open() const { return complete_ ? ListFormat::Plain : ListFormat::Undecided; }

    static qsizetype after(QByteArrayView text, QByteArrayView close)
    {
        const qsizetype at = text.indexOf(close);
        return at < 0 ? -1 : at + close.size();
    }

    // A document type may hold an internal subset in brackets, with ">" inside.
    static qsizetype afterDocumentType(QByteArrayView text)
    {
        const qsizetype close = text.indexOf('>');
        const qsizetype bracket = text.indexOf('[');
        if (bracket < 0 || (close >= 0 && close < bracket))
            return close < 0 ? -1 : close + 1;
        const qsizetype subsetEnd = text.indexOf(']', bracket);
        if (subsetEnd < 0)
            return -1;
        const qsizetype end = text.indexOf('>', subsetEnd);
        return end < 0 ? -1 : end + 1;
    }

    ListFormat element(QByteArrayView text) const
    {
        qsizetype end = 0;
        while (end < text.size() && !isSpace(text[end]) && text[end] != '>' && text[end] != '/')
            ++end;
        if (end == text.size() && !complete_)
            return ListFormat::Undecided;
        QByteArrayView name = text.first(end);
        name = name.sliced(name.lastIndexOf(':') + 1);
        if (name == "gpx")
            return ListFormat::Gpx;
        if (name == "kml")
            return ListFormat::Kml;
        return ListFormat::Plain;
    }

    QByteArrayView text_;
    bool complete_;
};

} // namespace

bool StartsWithUtf16Mark(QByteArrayView bytes)
{
    return bytes.startsWith(kUtf16LeMark) || bytes.startsWith(kUtf16BeMark);
}

ListFormat RecogniseListFormat(QByteArrayView head, bool complete)
{
    if (StartsWithUtf16Mark(head)) {
        QStringDecoder decoder(head.startsWith(kUtf16LeMark) ? QStringDecoder::Utf16LE
                                                             : QStringDecoder::Utf16BE);
        const QByteArray text = QString(decoder.decode(head)).toUtf8();
        return RecogniseListFormat(text, complete);
    }
    // The first byte or two of a mark.
    if (!complete && !head.isEmpty() && head.size() < kUtf8Mark.size() &&
        (kUtf8Mark.startsWith(head) || kUtf16LeMark.startsWith(head) ||
         kUtf16BeMark.startsWith(head)))
        return ListFormat::Undecided;
    if (head.startsWith(kUtf8Mark))
        head = head.sliced(kUtf8Mark.size());
    return Prologue(head, complete).format();
}

} // namespace app
