#pragma once
// A workbook written out while its cells are set, for a sheet filled from the
// top row down as the export fills it: only the row being filled is held in
// memory, so a million results need no copy of the sheet. Fitting the columns
// takes the widths gathered as the rows went by. The workbook file is named
// and written when the workbook is closed; one never closed leaves no file
// behind, even when the process ends without unwinding.

#include "core/failure.h"
#include "platform/spreadsheet/spreadsheet.h"
#include "platform/spreadsheet/xlsxfile.h"

#include <functional>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

namespace spreadsheet {

class StreamedSheet final : public SpreadsheetSheet {
public:
    // Closing writes the file at the new path that `newPath` makes.
    explicit StreamedSheet(std::function<QString()> newPath);
    ~StreamedSheet() override;
    StreamedSheet(const StreamedSheet&) = delete;
    StreamedSheet& operator=(const StreamedSheet&) = delete;

    // Cells of the row being filled may come in any order; throws Failure
    // for a cell outside the sheet or above that row.
    void setCell(int row, int column, const QString& text, CellMember member) override;
    void autofitColumns() override;

    // Writes the last row and the fitted widths, and the file; returns its
    // path. Throws Failure when no path can be made (a later call tries
    // again), and the first Failure met in writing, at every call. Cells set
    // after a close go nowhere.
    QString close();

private:
    void writeRow();
    void write(int column, const QString& text);
    void writeFile(const QString& path);

    std::function<QString()> newPath_;
    QString path_;
    std::unique_ptr<XlsxFile> file_;
    std::optional<core::Failure> failure_;
    bool closed_ = false;
    int row_ = 0; // the row being filled
    std::vector<QString> cells_; // its cells, column c at index c - 1
    std::vector<double> passedWidths_; // fitted to the rows written so far
    std::vector<double> widths_; // what fitting the columns set
};

class StreamedWorkbook final : public SpreadsheetWorkbook {
public:
    explicit StreamedWorkbook(std::function<QString()> newPath)
        : sheet_(std::move(newPath))
    {
    }
    SpreadsheetSheet& ActiveSheet() override { return sheet_; }
    // See StreamedSheet::close.
    QString close() { return sheet_.close(); }

private:
    StreamedSheet sheet_;
};

} // namespace spreadsheet
