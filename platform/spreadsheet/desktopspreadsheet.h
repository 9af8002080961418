#pragma once
// The spreadsheet application of this desktop: each new workbook is written,
// as its cells are set, to an .xlsx file of its own in a folder (the user's
// cache folder); showing the application closes the file and opens it in the
// spreadsheet program. Files of earlier exports older than a day are removed
// when a new one is shown; a workbook never shown leaves no file.

#include "platform/spreadsheet/spreadsheet.h"
#include "platform/spreadsheet/spreadsheetopener.h"
#include "platform/spreadsheet/streamedworkbook.h"

#include <memory>
#include <vector>

namespace spreadsheet {

class DesktopSpreadsheet final : public SpreadsheetApplication {
public:
    DesktopSpreadsheet(SpreadsheetOpener opener, QString folder);

    SpreadsheetWorkbook& addWorkbook() override;
    bool Visible() const override { return visible_; }
    // Throws Failure when a workbook cannot be written or the program not started.
    void setVisible(bool on) override;

private:
    void show(StreamedWorkbook& workbook);
    QString newFilePath() const;

    SpreadsheetOpener opener_;
    QString folder_;
    std::vector<std::unique_ptr<StreamedWorkbook>> workbooks_;
    size_t shownCount_ = 0;
    bool visible_ = false;
};

} // namespace spreadsheet
