#pragma once
// The rows of a list view, kept compact: a million result sentences must fit
// in little more than their characters. Rows are appended into large shared
// blocks of bytes; each row is a header (its cell count, whether it is
// checked and whether it is wide) and its cells (text, then sub-items), each
// as a length and its characters. A row whose characters all fit in Latin-1
// keeps one byte per character, others UTF-16. A row that is changed is
// written again at the end; the blocks are given back when the store becomes
// empty. Beside its bytes a row costs four bytes: where it starts.
// Rows are numbered from 1; a row number that does not exist fails with
// "Index out of bounds".

#include <QAnyStringView>
#include <QString>
#include <QStringView>
#include <initializer_list>
#include <memory>
#include <vector>

namespace widgets {

class ListStore {
public:
    qsizetype count() const { return static_cast<qsizetype>(rows_.size()); }

    // Appends a row and returns its number.
    qsizetype add(QStringView text);
    qsizetype add(std::initializer_list<QStringView> cells);
    // A row of one cell that is Latin-1 already: its bytes are copied as they are.
    qsizetype addLatin1(QLatin1String text);

    QString text(qsizetype row) const { return cell(row, 0); }
    // Sub-item k (k >= 1); one that was never set is the empty text.
    QString subItem(qsizetype row, int k) const { return cell(row, k); }
    QString cell(qsizetype row, int column) const { return cellView(row, column).toString(); }
    // The cell's characters where the store keeps them, valid until the store
    // next changes: reading them makes no copy.
    QAnyStringView cellView(qsizetype row, int column) const;
    void setCell(qsizetype row, int column, QStringView text);
    // The cells the row holds, counting empty ones before the last.
    int cellCount(qsizetype row) const;

    bool checked(qsizetype row) const;
    void setChecked(qsizetype row, bool on);

    void remove(qsizetype row);
    void clear();

    // True once an add found the store at its limit (4 GiB of rows) and
    // failed with "Out of memory"; false again after clear().
    bool full() const { return full_; }
    // Tests: the limit in blocks of 1 MiB (4096 unless set).
    static void setBlockLimit(size_t blocks);

private:
    // Where a row starts: its block in the high bits, the offset in that block
    // in the low ones.
    using Row = quint32;
    struct Block {
        std::unique_ptr<char[]> bytes;
        qsizetype size;
    };
    // Where the row sits in rows_; fails with "Index out of bounds" for one
    // that does not exist.
    size_t index(qsizetype row) const
    {
        if (row < 1 || row > count())
            outOfBounds();
        return static_cast<size_t>(row - 1);
    }
    [[noreturn]] static void outOfBounds();
    Row at(qsizetype row) const { return rows_[index(row)]; }
    Row& at(qsizetype row) { return rows_[index(row)]; }
    const char* blockStart(Row row) const { return blocks_[row >> kOffsetBits].bytes.get(); }
    char* header(Row row) { return const_cast<char*>(blockStart(row)) + (row & kOffsetMask); }
    template <typename Cells> Row write(const Cells& cells, bool checked);
    template <typename Cells> bool writeAs(const Cells& cells, bool checked, bool wide, Row& row);
    char* reserve(qsizetype size, Row& row);

    static constexpr int kOffsetBits = 20;
    static constexpr Row kOffsetMask = (Row(1) << kOffsetBits) - 1;

    std::vector<Row> rows_; // grows in place: a row is one index away
    std::vector<Block> blocks_;
    qsizetype used_ = 0; // bytes used in the last block
    bool full_ = false;
};

} // namespace widgets
