#include "platform/spreadsheet/xlsxfile.h"

#include "core/failure.h"

#include <QFile>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <type_traits>
#include <utility>
#include <xlsxwriter.h>

namespace spreadsheet {
namespace {

core::Failure writeFailure(lxw_error error)
{
    if (error == LXW_ERROR_CREATING_XLSX_FILE || error == LXW_ERROR_CREATING_TMPFILE)
        return core::Failure::pathAccess();
    return {5, QString::fromUtf8(lxw_strerror(error))};
}

void check(lxw_error error)
{
    if (error != LXW_NO_ERROR)
        throw writeFailure(error);
}

void toUtf8(QAnyStringView text, QByteArray& utf8)
{
    text.visit([&](auto view) {
        if constexpr (std::is_same_v<decltype(view), QStringView>)
            utf8 = view.toUtf8();
        else
            utf8 = text.toString().toUtf8();
    });
}

} // namespace

XlsxFile::XlsxFile()
{
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;
    // The file is opened only when the workbook is closed; its name is set then.
    workbook_ = workbook_new_opt("unnamed.xlsx", &options);
    if (!workbook_)
        throw core::Failure::pathAccess();
    worksheet_ = workbook_add_worksheet(workbook_, nullptr);
    if (!worksheet_) {
        lxw_workbook_free(workbook_);
        throw writeFailure(LXW_ERROR_MEMORY_MALLOC_FAILED);
    }
}

XlsxFile::~XlsxFile()
{
    if (!workbook_)
        return;
    // Freeing the workbook leaves the rows' temporary file open.
    if (worksheet_->optimize_tmpfile) {
        std::fclose(worksheet_->optimize_tmpfile);
        worksheet_->optimize_tmpfile = nullptr;
    }
    lxw_workbook_free(workbook_);
}

void XlsxFile::write(int row, int column, QAnyStringView text)
{
    toUtf8(text, utf8_);
    check(worksheet_write_string(worksheet_, static_cast<lxw_row_t>(row - 1),
                                 static_cast<lxw_col_t>(column - 1), utf8_.constData(), nullptr));
}

void XlsxFile::setWidths(const std::vector<double>& widths)
{
    for (size_t c = 0; c < widths.size(); ++c) {
        if (widths[c] <= 0)
            continue;
        const auto column = static_cast<lxw_col_t>(c);
        check(worksheet_set_column(worksheet_, column, column, widths[c], nullptr));
    }
}

void XlsxFile::close(const QString& path)
{
    char* name = ::strdup(QFile::encodeName(path).constData());
    if (!name)
        throw core::Failure::outOfMemory();
    std::free(workbook_->filename); // the workbook frees its name with free()
    workbook_->filename = name;
    // Closing writes the file and frees the workbook in every case.
    lxw_workbook* workbook = std::exchange(workbook_, nullptr);
    check(workbook_close(workbook));
}

} // namespace spreadsheet
