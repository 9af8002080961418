#include "platform/widgets/liststore.h"

#include "core/failure.h"

#include <QList>
#include <cstring>

namespace platform {
namespace {

// Cell lengths are stored as base-128 varints: one byte for up to 127 characters.
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

bool fitsLatin1(QStringView text)
{
    for (QChar c : text)
        if (c.unicode() > 0xff)
            return false;
    return true;
}

qsizetype lengthBytes(quint32 length)
{
    qsizetype bytes = 1;
    for (; length >= 0x80; length >>= 7)
        ++bytes;
    return bytes;
}

// One allocation of the exact size: a million rows are appended one by one.
template <typename Cells> QByteArray encode(const Cells& cells, bool wide)
{
    qsizetype size = 0;
    for (QStringView c : cells)
        size += lengthBytes(static_cast<quint32>(c.size())) + c.size() * (wide ? 2 : 1);
    QByteArray bytes(size, Qt::Uninitialized);
    char* out = bytes.data();
    for (QStringView c : cells) {
        out = putLength(out, static_cast<quint32>(c.size()));
        if (wide) {
            // An empty cell's data pointer may be null, which memcpy must not see.
            if (!c.isEmpty())
                std::memcpy(out, c.utf16(), c.size() * 2);
            out += c.size() * 2;
        } else {
            const char16_t* in = c.utf16();
            for (qsizetype i = 0; i < c.size(); ++i)
                *out++ = static_cast<char>(in[i]);
        }
    }
    return bytes;
}

template <typename Cells> bool anyWide(const Cells& cells)
{
    for (QStringView c : cells)
        if (!fitsLatin1(c))
            return true;
    return false;
}

} // namespace

qsizetype ListStore::add(QStringView text) { return add({text}); }

qsizetype ListStore::add(std::initializer_list<QStringView> cells)
{
    Row row;
    row.wide = anyWide(cells);
    row.bytes = encode(cells, row.wide);
    rows_.push_back(std::move(row));
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

QString ListStore::cell(qsizetype row, int column) const
{
    const Row& r = at(row);
    const char* p = r.bytes.constData();
    const char* end = p + r.bytes.size();
    const int unit = r.wide ? 2 : 1;
    for (int c = 0; p < end; ++c) {
        quint32 length = 0;
        p = getLength(p, length);
        if (c == column) {
            if (!r.wide)
                return QString::fromLatin1(p, length);
            QString text(static_cast<qsizetype>(length), Qt::Uninitialized);
            if (length > 0)
                std::memcpy(text.data(), p, length * 2);
            return text;
        }
        p += length * unit;
    }
    return {};
}

void ListStore::setCell(qsizetype row, int column, QStringView text)
{
    Row& r = at(row);
    QList<QString> cells;
    const char* p = r.bytes.constData();
    const char* end = p + r.bytes.size();
    while (p < end) {
        quint32 length = 0;
        p = getLength(p, length);
        cells << (r.wide ? QString(reinterpret_cast<const QChar*>(p), length)
                         : QString::fromLatin1(p, length));
        p += length * (r.wide ? 2 : 1);
    }
    while (cells.size() <= column)
        cells << QString();
    cells[column] = text.toString();
    r.wide = anyWide(cells);
    r.bytes = encode(cells, r.wide);
}

bool ListStore::checked(qsizetype row) const { return at(row).checked; }

void ListStore::setChecked(qsizetype row, bool on) { at(row).checked = on; }

void ListStore::remove(qsizetype row)
{
    at(row);
    rows_.erase(rows_.begin() + (row - 1));
}

void ListStore::clear() { std::deque<Row>().swap(rows_); }

} // namespace platform
