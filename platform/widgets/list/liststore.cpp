#include "platform/widgets/list/liststore.h"

#include "core/failure.h"
#include "core/latin1.h"

#include <QList>
#include <algorithm>
#include <cstring>

namespace widgets {
namespace {

// Rows are appended into blocks of this size; a larger row gets a block of its
// own. A row's offset fits in the low bits of its start, the block in the rest.
constexpr qsizetype kBlockSize = qsizetype(1) << 20;
constexpr size_t kMostBlocks = size_t(1) << 12;
size_t blockLimit = kMostBlocks;

// A row's header: its cell count above two flags.
constexpr quint32 kChecked = 1;
constexpr quint32 kWide = 2;
constexpr int kFlagBits = 2;

// Cell counts and lengths are stored as base-128 varints: one byte for up to 127.
char* putLength(char* out, quint32 length)
{
    while (length >= 0x80) {
        *out++ = static_cast<char>((length & 0x7f) | 0x80);
        length >>= 7;
    }
    *out++ = static_cast<char>(length);
    return out;
}

const char* getLength(const char* in, quint32& length)
{
    length = 0;
    for (int shift = 0;; shift += 7) {
        const auto byte = static_cast<unsigned char>(*in++);
        length |= quint32(byte & 0x7f) << shift;
        if (!(byte & 0x80))
            return in;
    }
}

qsizetype lengthBytes(quint32 length)
{
    qsizetype bytes = 1;
    for (; length >= 0x80; length >>= 7)
        ++bytes;
    return bytes;
}

// UTF-16 characters start at an even offset of their block (blocks are
// aligned): a pad byte follows a length that ends at an odd one.
qsizetype padding(const char* at, const char* blockStart, bool wide)
{
    return wide && (at - blockStart) % 2 ? 1 : 0;
}

} // namespace

char* ListStore::reserve(qsizetype size, Row& row)
{
    // The worst padding: one byte per cell, counted in size by the caller.
    if (blocks_.empty() || used_ + size > blocks_.back().size) {
        if (blocks_.size() >= blockLimit) {
            full_ = true;
            throw core::Failure::outOfMemory();
        }
        const qsizetype blockSize = std::max(kBlockSize, size);
        blocks_.push_back({std::make_unique_for_overwrite<char[]>(static_cast<size_t>(blockSize)), blockSize});
        used_ = 0;
    }
    static_assert(kBlockSize - 1 <= kOffsetMask && (kMostBlocks - 1) << kOffsetBits <= ~Row(0));
    row = Row(blocks_.size() - 1) << kOffsetBits | Row(used_);
    return blocks_.back().bytes.get() + used_;
}

// Latin-1 first, as nearly every row is; a character beyond it writes the row
// again as UTF-16.
template <typename Cells> ListStore::Row ListStore::write(const Cells& cells, bool checked)
{
    Row row = 0;
    if (!writeAs(cells, checked, false, row))
        writeAs(cells, checked, true, row);
    return row;
}

template <typename Cells>
bool ListStore::writeAs(const Cells& cells, bool checked, bool wide, Row& row)
{
    const qsizetype unit = wide ? 2 : 1;
    const quint32 head = static_cast<quint32>(cells.size()) << kFlagBits | (wide ? kWide : 0) |
                         (checked ? kChecked : 0);
    qsizetype size = lengthBytes(head);
    for (QStringView c : cells)
        size += lengthBytes(static_cast<quint32>(c.size())) + (wide ? 1 : 0) + c.size() * unit;
    char* const start = reserve(size, row);
    const char* const blockStart = start - (row & kOffsetMask);
    char* out = putLength(start, head);
    for (QStringView c : cells) {
        out = putLength(out, static_cast<quint32>(c.size()));
        out += padding(out, blockStart, wide);
        if (!wide) {
            if (!core::narrowToLatin1(c, out))
                return false; // nothing is taken until the row is complete
        } else if (!c.isEmpty()) { // an empty cell's data may be null, which memcpy must not see
            std::memcpy(out, c.utf16(), static_cast<size_t>(c.size()) * 2);
        }
        out += c.size() * unit;
    }
    used_ += out - start;
    return true;
}

qsizetype ListStore::add(QStringView text) { return add({text}); }

qsizetype ListStore::addLatin1(QLatin1String text)
{
    Row row = 0;
    const auto length = static_cast<quint32>(text.size());
    constexpr quint32 head = 1 << kFlagBits; // one cell, neither checked nor wide
    char* const start = reserve(lengthBytes(head) + lengthBytes(length) + text.size(), row);
    char* out = putLength(putLength(start, head), length);
    if (!text.isEmpty())
        std::memcpy(out, text.data(), size_t(text.size()));
    used_ += out + text.size() - start;
    rows_.push_back(row);
    return count();
}

qsizetype ListStore::add(std::initializer_list<QStringView> cells)
{
    rows_.push_back(write(cells, false));
    return count();
}

void ListStore::outOfBounds() { throw core::Failure::indexOutOfBounds(); }

QAnyStringView ListStore::cellView(qsizetype row, int column) const
{
    const Row r = at(row);
    const char* const start = blockStart(r);
    quint32 head = 0;
    const char* p = getLength(start + (r & kOffsetMask), head);
    const quint32 cells = head >> kFlagBits;
    const bool wide = head & kWide;
    if (column < 0 || quint32(column) >= cells)
        return QLatin1String("");
    const qsizetype unit = wide ? 2 : 1;
    for (int c = 0;; ++c) {
        quint32 length = 0;
        p = getLength(p, length);
        p += padding(p, start, wide);
        if (c == column) {
            if (wide)
                return QStringView(reinterpret_cast<const char16_t*>(p), qsizetype(length));
            return QLatin1String(p, qsizetype(length));
        }
        p += length * unit;
    }
}

int ListStore::cellCount(qsizetype row) const
{
    const Row r = at(row);
    quint32 head = 0;
    getLength(blockStart(r) + (r & kOffsetMask), head);
    return static_cast<int>(head >> kFlagBits);
}

void ListStore::setCell(qsizetype row, int column, QStringView text)
{
    Row& r = at(row);
    const bool wasChecked = checked(row);
    const int count = cellCount(row);
    QList<QString> cells;
    for (int c = 0; c < count; ++c)
        cells << cellView(row, c).toString();
    while (cells.size() <= column)
        cells << QString();
    cells[column] = text.toString();
    r = write(cells, wasChecked);
}

// The flags sit in the header's first byte, where they can change in place.
bool ListStore::checked(qsizetype row) const
{
    const Row r = at(row);
    return blockStart(r)[r & kOffsetMask] & kChecked;
}

void ListStore::setChecked(qsizetype row, bool on)
{
    char& flags = *header(at(row));
    flags = static_cast<char>(on ? flags | kChecked : flags & ~kChecked);
}

void ListStore::remove(qsizetype row)
{
    at(row);
    rows_.erase(rows_.begin() + (row - 1));
    if (rows_.empty())
        clear();
}

void ListStore::clear()
{
    std::vector<Row>().swap(rows_);
    std::vector<Block>().swap(blocks_);
    used_ = 0;
    full_ = false;
}

void ListStore::setBlockLimit(size_t blocks) { blockLimit = std::min(blocks, kMostBlocks); }

} // namespace widgets
