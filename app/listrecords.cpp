#include "app/listrecords.h"

#include <algorithm>

namespace app {
namespace {

const QByteArrayView kByteOrderMark("\xEF\xBB\xBF");

bool isLineEnd(char c) { return c == '\r' || c == '\n'; }

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
    decode(utf8_, bytes);
    if (utf8_.hasError()) {
        // A line in a single-byte code page keeps its characters.
        utf8_.resetState();
        decode(latin1_, bytes);
    }
    line_(text_);
}

void ListRecords::decode(QStringDecoder& decoder, QByteArrayView bytes)
{
    text_.resize(decoder.requiredSpace(bytes.size()));
    const QChar* end = decoder.appendToBuffer(text_.data(), bytes);
    text_.resize(end - text_.constData());
}

} // namespace app
