#pragma once
// The desktop program that shows a written workbook: LibreOffice Calc, which
// opens it as a new untitled document, or else the desktop's default
// application for .xlsx files.

#include <QString>
#include <QStringList>
#include <optional>

namespace spreadsheet {

struct SpreadsheetOpener {
    QString program;
    QStringList arguments; // the workbook's path follows them
};

// Nothing when the desktop has no program for spreadsheets.
std::optional<SpreadsheetOpener> findSpreadsheetOpener();

} // namespace spreadsheet
