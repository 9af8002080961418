#pragma once
// .xlsx workbooks of one sheet of text cells, written with libxlsxwriter:
// every cell a text cell, fitted columns at their widths.

#include <QAnyStringView>
#include <QByteArray>
#include <QString>

#include <vector>

struct lxw_workbook;
struct lxw_worksheet;

namespace spreadsheet {

// A workbook being written. Rows go to a temporary file as they are written
// (inline strings, no shared string table), so a million results need no copy
// of the sheet in memory; closing packs them into the workbook file, which is
// named only then.
class XlsxFile {
public:
    // Throws Failure when the workbook cannot be started.
    XlsxFile();
    // A workbook that was never closed is dropped and leaves no file.
    ~XlsxFile();
    XlsxFile(const XlsxFile&) = delete;
    XlsxFile& operator=(const XlsxFile&) = delete;

    // Rows and columns from 1; a row may not come before one written earlier.
    // Throws Failure.
    void write(int row, int column, QAnyStringView text);
    // Width of column c at index c - 1 in characters; 0 keeps the default.
    // Throws Failure.
    void setWidths(const std::vector<double>& widths);
    // Writes the workbook file at `path`. Throws Failure when it cannot be
    // written.
    void close(const QString& path);

private:
    lxw_workbook* workbook_ = nullptr;
    lxw_worksheet* worksheet_ = nullptr;
    QByteArray utf8_;
};

} // namespace spreadsheet
