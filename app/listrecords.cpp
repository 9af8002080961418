#include "app/listrecords.h"

#include <algorithm>

namespace app {
namespace {

const QByteArrayView kByteOrderMark("\xEF\xBB\xBF");

bool isLineEnd(char c) { return c == '\r' || c == '\n'; }

bool isAscii(QByteArrayView bytes)
{
    unsigned char all = 0;
    for (const char c : bytes)
        all |= static_cast<unsigned char>(c);
    return all < 0x80;
}

} // namespace

ListRecords::ListRecords(Sink line)
    : line_(std::move(line))
    // Only the file's own byte-order mark is skipped, not one that leads any line.
    , utf8_(QStringDecoder::Utf8,
            QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom)
    , latin1_(QStringDecoder::Latin1, QStringDecoder::Flag::Stateless)
{
}

void ListRecords::feed(QByteArrayView bytes)
{
    const char* at = bytes.begin();
    const char* const end = bytes.end();
    if (afterCarriageReturn_ && at != end) {
        afterCarriageReturn_ = false;
        if (*at == '\n')
            ++at;
    }
    while (at != end) {
        const char* lineEnd = std::find_if(at, end, isLineEnd);
        if (lineEnd == end) {
            // Only the bytes of the open line are kept, and each byte once.
            pending_.append(at, end - at);
            return;
        }
        if (pending_.isEmpty()) {
            emitLine(QByteArrayView(at, lineEnd));
        } else {
            pending_.append(at, lineEnd - at);
            emitLine(pending_);
            pending_.clear();
        }
        at = lineEnd + 1;
        if (*lineEnd == '\r') {
            if (at == end)
                afterCarriageReturn_ = true;
            else if (*at == '\n')
                ++at;
        }
    }
}

void ListRecords::finish()
{
    afterCarriageReturn_ = false;
    if (pending_.isEmpty())
        return;
    emitLine(pending_);
    pending_.clear();
}

void ListRecords::emitLine(QByteArrayView bytes)
{
    if (firstLine_) {
        firstLine_ = false;
        if (bytes.startsWith(kByteOrderMark))
            bytes = bytes.sliced(kByteOrderMark.size());
    }
    // Plain ASCII reads the same either way, and the single-byte reading is the quicker.
    if (isAscii(bytes)) {
        decode(latin1_, bytes);
    } else {
        decode(utf8_, bytes);
        if (utf8_.hasError()) {
            // A line in a single-byte code page keeps its characters.
            utf8_.resetState();
            decode(latin1_, bytes);
        }
    }
    line_(QStringView(text_).first(decoded_));
}

void ListRecords::decode(QStringDecoder& decoder, QByteArrayView bytes)
{
    // The buffer only grows: a line costs no allocation once a longer one was read.
    const qsizetype space = decoder.requiredSpace(bytes.size());
    if (text_.size() < space)
        text_.resize(space);
    QChar* const begin = text_.data();
    decoded_ = decoder.appendToBuffer(begin, bytes) - begin;
}

} // namespace app
