#include "platform/widgets/liststore.h"

#include "core/failure.h"

#include <QList>
#include <algorithm>
#include <cstring>

namespace platform {
namespace {

// Rows are appended into blocks of this size; a larger row gets a block of its own.
constexpr qsizetype kBlockSize = qsizetype(1) << 20;

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

bool fitsLatin1(QStringView text) { return QtPrivate::isLatin1(text); }

template <typename Cells> bool anyWide(const Cells& cells)
{
    for (QStringView c : cells)
        if (!fitsLatin1(c))
            return true;
    return false;
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
        const qsizetype blockSize = std::max(kBlockSize, size);
        blocks_.push_back({std::make_unique_for_overwrite<char[]>(static_cast<size_t>(blockSize)), blockSize});
        used_ = 0;
    }
    row.block = static_cast<quint32>(blocks_.size() - 1);
    row.offset = static_cast<quint32>(used_);
    return blocks_.back().bytes.get() + used_;
}

template <typename Cells> ListStore::Row ListStore::write(const Cells& cells)
{
    Row row{};
    row.wide = anyWide(cells);
    const qsizetype unit = row.wide ? 2 : 1;
    qsizetype size = lengthBytes(static_cast<quint32>(cells.size()));
    for (QStringView c : cells)
        size += lengthBytes(static_cast<quint32>(c.size())) + (row.wide ? 1 : 0) + c.size() * unit;
    char* const start = reserve(size, row);
    const char* const blockStart = start - row.offset;
    char* out = putLength(start, static_cast<quint32>(cells.size()));
    for (QStringView c : cells) {
        out = putLength(out, static_cast<quint32>(c.size()));
        out += padding(out, blockStart, row.wide);
        if (row.wide) {
            // An empty cell's data pointer may be null, which memcpy must not see.
            if (!c.isEmpty())
                std::memcpy(out, c.utf16(), static_cast<size_t>(c.size()) * 2);
        } else {
            const char16_t* in = c.utf16();
            for (qsizetype i = 0; i < c.size(); ++i)
                out[i] = static_cast<char>(in[i]);
        }
        out += c.size() * unit;
    }
    used_ += out - start;
    return row;
}

qsizetype ListStore::add(QStringView text) { return add({text}); }

qsizetype ListStore::addLatin1(QLatin1String text)
{
    Row row{};
    const auto length = static_cast<quint32>(text.size());
    char* const start = reserve(1 + lengthBytes(length) + text.size(), row);
    char* out = putLength(putLength(start, 1), length);
    if (!text.isEmpty())
        std::memcpy(out, text.data(), size_t(text.size()));
    used_ += out + text.size() - start;
    rows_.push_back(row);
    return count();
}

qsizetype ListStore::add(std::initializer_list<QStringView> cells)
{
    rows_.push_back(write(cells));
    return count();
}

const ListStore::Row& ListStore::at(qsizetype row) const
{
    if (row < 1 || row > count())
        throw Failure::indexOutOfBounds();
    return rows_[static_cast<size_t>(row - 1)];
}

ListStore::Row& ListStore::at(qsizetype row)
{
    return const_cast<Row&>(static_cast<const ListStore*>(this)->at(row));
}

QAnyStringView ListStore::cellView(qsizetype row, int column) const
{
    const Row& r = at(row);
    const char* const blockStart = blocks_[r.block].bytes.get();
    const char* p = blockStart + r.offset;
    quint32 cells = 0;
    p = getLength(p, cells);
    if (column < 0 || quint32(column) >= cells)
        return QLatin1String("");
    const qsizetype unit = r.wide ? 2 : 1;
    for (int c = 0;; ++c) {
        quint32 length = 0;
        p = getLength(p, length);
        p += padding(p, blockStart, r.wide);
        if (c == column) {
            if (r.wide)
                return QStringView(reinterpret_cast<const char16_t*>(p), qsizetype(length));
            return QLatin1String(p, qsizetype(length));
        }
        p += length * unit;
    }
}

int ListStore::cellCount(qsizetype row) const
{
    const Row& r = at(row);
    quint32 count = 0;
    getLength(blocks_[r.block].bytes.get() + r.offset, count);
    return static_cast<int>(count);
}

void ListStore::setCell(qsizetype row, int column, QStringView text)
{
    Row& r = at(row);
    const int count = cellCount(row);
    QList<QString> cells;
    for (int c = 0; c < count; ++c)
        cells << cellView(row, c).toString();
    while (cells.size() <= column)
        cells << QString();
    cells[column] = text.toString();
    const bool checked = r.checked;
    r = write(cells);
    r.checked = checked;
}

bool ListStore::checked(qsizetype row) const { return at(row).checked; }

void ListStore::setChecked(qsizetype row, bool on) { at(row).checked = on; }

void ListStore::remove(qsizetype row)
{
    at(row);
    rows_.erase(rows_.begin() + (row - 1));
    if (rows_.empty())
        clear();
}

void ListStore::clear()
{
    std::deque<Row>().swap(rows_);
    std::vector<Block>().swap(blocks_);
    used_ = 0;
}

} // namespace platform
