#pragma once
// The spreadsheet application of this desktop: workbooks are kept in memory;
// showing the application writes each new one to an .xlsx file of its own in
// a folder (the user's cache folder) and opens it in the spreadsheet program.
// Files of earlier exports older than a day are removed when a new one is
// written.

#include "platform/spreadsheet/memoryworkbook.h"
#include "platform/spreadsheet/spreadsheet.h"
#include "platform/spreadsheet/spreadsheetopener.h"

#include <memory>
#include <vector>

namespace platform {

class DesktopSpreadsheet final : public SpreadsheetApplication {
public:
    DesktopSpreadsheet(SpreadsheetOpener opener, QString folder);

    SpreadsheetWorkbook& addWorkbook() override;
    bool Visible() const override { return visible_; }
    // Throws Failure when a workbook cannot be written or the program not started.
    void setVisible(bool on) override;

private:
    void show(const MemoryWorkbook& workbook);
    QString newFilePath() const;

    SpreadsheetOpener opener_;
    QString folder_;
    std::vector<std::unique_ptr<MemoryWorkbook>> workbooks_;
    size_t shownCount_ = 0;
    bool visible_ = false;
};

} // namespace platform
