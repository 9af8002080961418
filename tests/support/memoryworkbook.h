#pragma once
// A workbook kept in memory (the tests' and the benchmark's): one sheet whose cells are texts, and the column
// widths that fitting the columns has set, to be written with writeXlsx.

#include "platform/spreadsheet/spreadsheet.h"
#include "platform/widgets/list/liststore.h"

#include <vector>

namespace spreadsheet {

class MemorySheet final : public SpreadsheetSheet {
public:
    // Throws Failure for a cell outside the sheet.
    void setCell(int row, int column, const QString& text, CellMember member) override;
    void autofitColumns() override;

    // Rows from 1 up to the last one that holds a cell.
    int rowCount() const { return static_cast<int>(rows_.count()); }
    // Columns from 1 up to the last one set in the row.
    int columnCount(int row) const { return rows_.cellCount(row); }
    // Unset cells are empty.
    QAnyStringView cell(int row, int column) const { return rows_.cellView(row, column - 1); }
    // Width of column c at index c - 1 in characters; 0 keeps the default.
    const std::vector<double>& columnWidths() const { return widths_; }

private:
    // Kept as compactly as a list's rows: a million results fit twice.
    widgets::ListStore rows_;
    std::vector<double> widths_;
};

class MemoryWorkbook final : public SpreadsheetWorkbook {
public:
    SpreadsheetSheet& ActiveSheet() override { return sheet_; }
    const MemorySheet& sheet() const { return sheet_; }

private:
    MemorySheet sheet_;
};

// Throws Failure when the file cannot be written.
void writeXlsx(const QString& path, const MemorySheet& sheet);

} // namespace spreadsheet
