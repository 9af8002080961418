#pragma once
// What the text writer and the clipboard copy read from a list: column
// headers and rows, numbered from 1, each with its cells and its check mark.
// The list view offers it.

#include <QAnyStringView>
#include <QString>

namespace core {

class RowSource {
public:
    virtual ~RowSource() = default;
    virtual int columnCount() const = 0;
    virtual QString columnText(int column) const = 0; // 1-based
    virtual qsizetype count() const = 0;
    // Column c from 1: the row's text for 1, sub-item c - 1 after.
    virtual QString cell(qsizetype row, int column) const = 0;
    virtual bool checked(qsizetype row) const = 0;
    // The same cell without a copy where the source keeps its characters,
    // valid until the source changes or this is called again.
    virtual QAnyStringView cellView(qsizetype row, int column) const
    {
        scratch_ = cell(row, column);
        return scratch_;
    }

private:
    mutable QString scratch_;
};

} // namespace core
