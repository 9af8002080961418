#include "platform/spreadsheet/desktopspreadsheet.h"

#include "core/failure.h"
#include "platform/desktop/processstart.h"
#include "platform/spreadsheet/xlsxfile.h"

#include <QDir>
#include <QTemporaryFile>

namespace platform {

DesktopSpreadsheet::DesktopSpreadsheet(SpreadsheetOpener opener, QString folder)
    : opener_(std::move(opener))
    , folder_(std::move(folder))
{
}

SpreadsheetWorkbook& DesktopSpreadsheet::addWorkbook()
{
    workbooks_.push_back(std::make_unique<MemoryWorkbook>());
    return *workbooks_.back();
}

void DesktopSpreadsheet::setVisible(bool on)
{
    visible_ = on;
    if (!on)
        return;
    // A workbook is opened once; one added later opens at the next showing.
    for (; shownCount_ < workbooks_.size(); ++shownCount_)
        show(*workbooks_[shownCount_]);
}

void DesktopSpreadsheet::show(const MemoryWorkbook& workbook)
{
    const QString path = newFilePath();
    writeXlsx(path, workbook.sheet());
    if (!get<ProcessStart>().startDetached(opener_.program, opener_.arguments + QStringList{path}))
        throw Failure::fileNotFound();
}

// A name that no earlier workbook has used, so nothing is ever overwritten.
QString DesktopSpreadsheet::newFilePath() const
{
    if (!QDir().mkpath(folder_))
        throw Failure::pathAccess();
    QTemporaryFile file(QDir(folder_).filePath(QStringLiteral("Results-XXXXXX.xlsx")));
    file.setAutoRemove(false);
    if (!file.open())
        throw Failure::pathAccess();
    return file.fileName();
}

} // namespace platform
