#include "memoryworkbook.h"

#include "platform/spreadsheet/textcells.h"
#include "platform/spreadsheet/xlsxfile.h"

namespace spreadsheet {

void MemorySheet::setCell(int row, int column, const QString& text, CellMember)
{
    textcells::checkPlace(row, column);
    const QString fitted = textcells::fitToCell(text);
    while (rows_.count() < row - 1)
        rows_.add(QStringView());
    if (rows_.count() < row && column == 1) {
        rows_.add(fitted); // the usual case: the next row's first cell
        return;
    }
    if (rows_.count() < row)
        rows_.add(QStringView());
    rows_.setCell(row, column - 1, fitted);
}

void MemorySheet::autofitColumns()
{
    widths_.clear();
    for (int r = 1; r <= rowCount(); ++r)
        for (int c = 1; c <= columnCount(r); ++c)
            textcells::widen(widths_, c, cell(r, c));
}

void writeXlsx(const QString& path, const MemorySheet& sheet)
{
    XlsxFile file;
    for (int r = 1; r <= sheet.rowCount(); ++r)
        for (int c = 1; c <= sheet.columnCount(r); ++c)
            if (const QAnyStringView text = sheet.cell(r, c); !text.isEmpty())
                file.write(r, c, text);
    file.setWidths(sheet.columnWidths());
    file.close(path);
}

} // namespace spreadsheet
