#pragma once
// The rows of a list view, kept compact: a million result sentences must fit
// in a few hundred megabytes. Each row is one byte block holding its cells
// (text, then sub-items), each as a length and its characters; a row whose
// characters all fit in Latin-1 keeps one byte per character, others UTF-16.
// Rows are numbered from 1; a row number that does not exist fails with
// "Index out of bounds".

#include <QByteArray>
#include <QString>
#include <QStringView>
#include <deque>
#include <initializer_list>

namespace platform {

class ListStore {
public:
    qsizetype count() const { return static_cast<qsizetype>(rows_.size()); }

    // Appends a row and returns its number.
    qsizetype add(QStringView text);
    qsizetype add(std::initializer_list<QStringView> cells);

    QString text(qsizetype row) const { return cell(row, 0); }
    // Sub-item k (k >= 1); one that was never set is the empty text.
    QString subItem(qsizetype row, int k) const { return cell(row, k); }
    QString cell(qsizetype row, int column) const;
    void setCell(qsizetype row, int column, QStringView text);

    bool checked(qsizetype row) const;
    void setChecked(qsizetype row, bool on);

    void remove(qsizetype row);
    void clear();

private:
    struct Row {
        QByteArray bytes;
        bool wide = false;
        bool checked = false;
    };
    const Row& at(qsizetype row) const;
    Row& at(qsizetype row);

    std::deque<Row> rows_;
};

} // namespace platform
