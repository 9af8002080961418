#include "platform/spreadsheet/desktopspreadsheet.h"

#include "core/failure.h"
#include "platform/system/processstart.h"

#include <QDateTime>
#include <QDir>
#include <QRegularExpression>
#include <QTemporaryFile>

namespace spreadsheet {
namespace {

// The names of the workbook files: "Results-" and six letters or digits.
const QString kFileTemplate = QStringLiteral("Results-XXXXXX.xlsx");
const QRegularExpression kFileName(QStringLiteral("^Results-[A-Za-z0-9]{6}\\.xlsx$"));

// The spreadsheet program has long read the workbooks of earlier exports:
// those written more than a day ago go. Only regular files of our own names
// are touched; one that cannot be removed stays.
void removeOldWorkbooks(const QString& folder)
{
    const QDateTime dayAgo = QDateTime::currentDateTimeUtc().addDays(-1);
    const QFileInfoList files = QDir(folder).entryInfoList(QDir::Files | QDir::NoSymLinks);
    for (const QFileInfo& file : files)
        if (kFileName.match(file.fileName()).hasMatch() && file.lastModified() < dayAgo)
            QFile::remove(file.filePath());
}

} // namespace

DesktopSpreadsheet::DesktopSpreadsheet(SpreadsheetOpener opener, QString folder)
    : opener_(std::move(opener))
    , folder_(std::move(folder))
{
}

SpreadsheetWorkbook& DesktopSpreadsheet::addWorkbook()
{
    workbooks_.push_back(std::make_unique<StreamedWorkbook>([this] { return newFilePath(); }));
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

void DesktopSpreadsheet::show(StreamedWorkbook& workbook)
{
    removeOldWorkbooks(folder_);
    const QString path = workbook.close();
    if (!platform::get<platform::ProcessStart>().startDetached(
            opener_.program, opener_.arguments + QStringList{path}))
        throw core::Failure::fileNotFound();
}

// A name that no earlier workbook has used, so nothing is ever overwritten.
QString DesktopSpreadsheet::newFilePath() const
{
    if (!QDir().mkpath(folder_))
        throw core::Failure::pathAccess();
    QTemporaryFile file(QDir(folder_).filePath(kFileTemplate));
    file.setAutoRemove(false);
    if (!file.open())
        throw core::Failure::pathAccess();
    return file.fileName();
}

} // namespace spreadsheet
