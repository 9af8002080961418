#include "lists/listrecords.h"

#include "core/plaintext.h"

#include <algorithm>
#include <cstring>

namespace lists {
namespace {

bool isAscii(QByteArrayView bytes) { return QtPrivate::isAscii(QLatin1StringView(bytes)); }

// Decodes into `text` and returns the decoded length. The buffer only grows:
// a line costs no allocation once a longer one was read.
qsizetype decode(QStringDecoder& decoder, QByteArrayView bytes, QString& text)
{
    const qsizetype space = decoder.requiredSpace(bytes.size());
    if (text.size() < space)
        text.resize(space);
    QChar* const begin = text.data();
    return decoder.appendToBuffer(begin, bytes) - begin;
}

// Where the lines of a block end. The next CR and the next LF are each
// looked up again only once the reading has passed them, so no byte is
// searched twice for the same character, whatever the lines end in.
class LineEnds {
public:
    explicit LineEnds(QByteArrayView bytes)
        : bytes_(bytes)
    {
    }
    // The end of the line that starts at `at`; the block's size when it has none yet.
    qsizetype after(qsizetype at) { return std::min(next(cr_, '\r', at), next(lf_, '\n', at)); }

private:
    qsizetype next(qsizetype& found, char c, qsizetype at)
    {
        if (found < at) {
            const void* hit = std::memchr(bytes_.data() + at, c, size_t(bytes_.size() - at));
            found = hit ? static_cast<const char*>(hit) - bytes_.data() : bytes_.size();
        }
        return found;
    }

    QByteArrayView bytes_;
    qsizetype cr_ = -1, lf_ = -1;
};

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
    qsizetype at = 0;
    const qsizetype end = bytes.size();
    if (afterCarriageReturn_ && at != end) {
        afterCarriageReturn_ = false;
        if (bytes[at] == '\n')
            ++at;
    }
    LineEnds ends(bytes);
    // The lines of a block that is plain ASCII are decoded all at once.
    const bool widened = widen(bytes);
    while (at != end) {
        const qsizetype lineEnd = ends.after(at);
        if (lineEnd == end) {
            // Only the bytes of the open line are kept, and each byte once.
            keep(bytes.sliced(at));
            return;
        }
        if (!pending_.isEmpty()) {
            keep(bytes.sliced(at, lineEnd - at));
            emitBounded(pending_);
            pending_.clear();
        } else if (widened) {
            firstLine_ = false; // plain ASCII holds no byte-order mark
            singleBytes_ = true;
            cut_ = lineEnd - at > kLineLimit;
            line_(QStringView(block_).sliced(at, std::min(lineEnd - at, kLineLimit)));
        } else {
            emitBounded(bytes.sliced(at, lineEnd - at));
        }
        at = lineEnd + 1;
        if (bytes[lineEnd] == '\r') {
            if (at == end)
                afterCarriageReturn_ = true;
            else if (bytes[at] == '\n')
                ++at;
        }
    }
}

void ListRecords::finish()
{
    afterCarriageReturn_ = false;
    if (pending_.isEmpty())
        return;
    emitBounded(pending_);
    pending_.clear();
}

// One byte past the limit is kept: it tells whether the limit falls inside a character.
void ListRecords::keep(QByteArrayView bytes)
{
    const qsizetype room = kLineLimit + 1 - pending_.size();
    if (room > 0)
        pending_.append(bytes.first(std::min(room, bytes.size())));
}

// A line past the limit is cut there, at the start of a UTF-8 character:
// the same line whatever blocks its bytes came in.
void ListRecords::emitBounded(QByteArrayView bytes)
{
    cut_ = bytes.size() > kLineLimit;
    if (cut_) {
        qsizetype size = kLineLimit;
        for (int back = 0; back < 3 && (static_cast<unsigned char>(bytes[size]) & 0xC0) == 0x80; ++back)
            --size;
        bytes = bytes.first(size);
    }
    emitLine(bytes);
}

// Decodes the whole block into block_ when it is plain ASCII.
bool ListRecords::widen(QByteArrayView bytes)
{
    if (!isAscii(bytes))
        return false;
    decode(latin1_, bytes, block_);
    return true;
}

void ListRecords::emitLine(QByteArrayView bytes)
{
    if (firstLine_) {
        firstLine_ = false;
        if (core::startsWithUtf8Mark(bytes))
            bytes = bytes.sliced(core::kUtf8ByteOrderMark.size());
    }
    // Plain ASCII reads the same either way, and the single-byte reading is the quicker.
    qsizetype length = 0;
    singleBytes_ = isAscii(bytes);
    if (singleBytes_) {
        length = decode(latin1_, bytes, text_);
    } else {
        length = decode(utf8_, bytes, text_);
        if (utf8_.hasError()) {
            singleBytes_ = true;
            // A line in a single-byte code page keeps its characters.
            utf8_.resetState();
            length = decode(latin1_, bytes, text_);
        }
    }
    line_(QStringView(text_).first(length));
}

} // namespace lists
