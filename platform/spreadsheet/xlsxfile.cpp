#include "platform/spreadsheet/xlsxfile.h"

#include "core/failure.h"
#include "platform/spreadsheet/memoryworkbook.h"

#include <QFile>
#include <xlsxwriter.h>

namespace platform {
namespace {

Failure writeFailure(lxw_error error)
{
    if (error == LXW_ERROR_CREATING_XLSX_FILE || error == LXW_ERROR_CREATING_TMPFILE)
        return Failure::pathAccess();
    return {5, QString::fromUtf8(lxw_strerror(error))};
}

lxw_error writeCells(lxw_worksheet* worksheet, const MemorySheet& sheet)
{
    QByteArray utf8;
    for (int r = 1; r <= sheet.rowCount(); ++r) {
        for (int c = 1; c <= sheet.columnCount(r); ++c) {
            const QAnyStringView text = sheet.cell(r, c);
            if (text.isEmpty())
                continue;
            utf8 = text.toString().toUtf8();
            const lxw_error error =
                worksheet_write_string(worksheet, static_cast<lxw_row_t>(r - 1),
                                       static_cast<lxw_col_t>(c - 1), utf8.constData(), nullptr);
            if (error != LXW_NO_ERROR)
                return error;
        }
    }
    return LXW_NO_ERROR;
}

lxw_error writeWidths(lxw_worksheet* worksheet, const MemorySheet& sheet)
{
    const std::vector<double>& widths = sheet.columnWidths();
    for (size_t c = 0; c < widths.size(); ++c) {
        if (widths[c] <= 0)
            continue;
        const auto column = static_cast<lxw_col_t>(c);
        const lxw_error error = worksheet_set_column(worksheet, column, column, widths[c], nullptr);
        if (error != LXW_NO_ERROR)
            return error;
    }
    return LXW_NO_ERROR;
}

} // namespace

void writeXlsx(const QString& path, const MemorySheet& sheet)
{
    // Rows go to the file as they are written (inline strings, no shared
    // string table), so a million results do not need a second copy in memory.
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;
    lxw_workbook* workbook = workbook_new_opt(QFile::encodeName(path).constData(), &options);
    if (!workbook)
        throw Failure::pathAccess();
    lxw_worksheet* worksheet = workbook_add_worksheet(workbook, nullptr);
    lxw_error error = worksheet ? writeWidths(worksheet, sheet) : LXW_ERROR_MEMORY_MALLOC_FAILED;
    if (error == LXW_NO_ERROR)
        error = writeCells(worksheet, sheet);
    // Closing writes the file and frees the workbook in every case.
    const lxw_error closed = workbook_close(workbook);
    if (error == LXW_NO_ERROR)
        error = closed;
    if (error != LXW_NO_ERROR)
        throw writeFailure(error);
}

} // namespace platform
