#include "platform/spreadsheet/streamedworkbook.h"

#include "platform/spreadsheet/textcells.h"

#include <QFile>

namespace spreadsheet {
namespace {

core::Failure rowAlreadyWritten(int row)
{
    return {1004, QStringLiteral("Row %1 is already in the workbook file: a sheet is filled "
                                 "from the top row down")
                      .arg(row)};
}

} // namespace

StreamedSheet::StreamedSheet(std::function<QString()> newPath)
    : newPath_(std::move(newPath))
{
    try {
        file_ = std::make_unique<XlsxFile>();
    } catch (const core::Failure& failure) {
        failure_ = failure;
    }
}

StreamedSheet::~StreamedSheet()
{
    file_.reset();
    const bool written = closed_ && !failure_;
    if (!written && !path_.isEmpty())
        QFile::remove(path_);
}

void StreamedSheet::setCell(int row, int column, const QString& text, CellMember)
{
    textcells::checkPlace(row, column);
    if (row < row_)
        throw rowAlreadyWritten(row);
    if (row > row_) {
        writeRow();
        row_ = row;
    }
    if (static_cast<size_t>(column) > cells_.size())
        cells_.resize(static_cast<size_t>(column));
    cells_[size_t(column - 1)] = textcells::fitToCell(text);
}

void StreamedSheet::autofitColumns()
{
    widths_ = passedWidths_;
    for (size_t c = 0; c < cells_.size(); ++c)
        textcells::widen(widths_, static_cast<int>(c + 1), cells_[c]);
}

QString StreamedSheet::close()
{
    if (!closed_) {
        writeRow();
        // A path that cannot be made leaves the workbook open for another try.
        if (file_)
            writeFile(newPath_());
        closed_ = true;
    }
    if (failure_)
        throw *failure_;
    return path_;
}

void StreamedSheet::writeRow()
{
    for (size_t c = 0; c < cells_.size(); ++c) {
        textcells::widen(passedWidths_, static_cast<int>(c + 1), cells_[c]);
        if (file_ && !cells_[c].isEmpty())
            write(static_cast<int>(c + 1), cells_[c]);
    }
    cells_.clear();
}

void StreamedSheet::writeFile(const QString& path)
{
    path_ = path;
    try {
        file_->setWidths(widths_);
        file_->close(path_);
    } catch (const core::Failure& failure) {
        failure_ = failure;
    }
    file_.reset();
}

// A row that cannot be written ends the file: the failure is kept for close().
void StreamedSheet::write(int column, const QString& text)
{
    try {
        file_->write(row_, column, text);
    } catch (const core::Failure& failure) {
        failure_ = failure;
        file_.reset();
    }
}

} // namespace spreadsheet
