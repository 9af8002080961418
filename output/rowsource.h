#pragma once
// What the text writer and the clipboard copy read from a list: column
// headers and rows, numbered from 1, each with its cells and its check mark.
// The list view offers it, and so does the command line's windowless table.

#include <QString>

namespace platform {

class RowSource {
public:
    virtual ~RowSource() = default;
    virtual int columnCount() const = 0;
    virtual QString columnText(int column) const = 0; // 1-based
    virtual qsizetype count() const = 0;
    // Column c from 1: the row's text for 1, sub-item c - 1 after.
    virtual QString cell(qsizetype row, int column) const = 0;
    virtual bool checked(qsizetype row) const = 0;
};

} // namespace platform
