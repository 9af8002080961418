#include "platform/spreadsheet/spreadsheet.h"

#include "core/failure.h"
#include "platform/spreadsheet/desktopspreadsheet.h"
#include "platform/spreadsheet/spreadsheetopener.h"

#include <QStandardPaths>

namespace spreadsheet {
namespace {
SpreadsheetFactory replacementFactory;
} // namespace

SpreadsheetCell::ValueMember& SpreadsheetCell::ValueMember::operator=(const QString& text)
{
    sheet_.setCell(row_, column_, text, CellMember::Value);
    return *this;
}

SpreadsheetCell& SpreadsheetCell::operator=(const QString& text)
{
    sheet_.setCell(row_, column_, text, CellMember::Default);
    return *this;
}

void SpreadsheetColumns::Autofit() { sheet_.autofitColumns(); }

SpreadsheetWorkbook& SpreadsheetWorkbooks::Add() { return application_.addWorkbook(); }

std::unique_ptr<SpreadsheetApplication> createSpreadsheetApplication()
{
    if (replacementFactory)
        return replacementFactory();
    const std::optional<SpreadsheetOpener> opener = findSpreadsheetOpener();
    if (!opener)
        throw noSpreadsheetApplication();
    return std::make_unique<DesktopSpreadsheet>(
        *opener, QStandardPaths::writableLocation(QStandardPaths::CacheLocation));
}

void setSpreadsheetFactory(SpreadsheetFactory replacement)
{
    replacementFactory = std::move(replacement);
}

core::Failure noSpreadsheetApplication()
{
    return {429, QStringLiteral("No spreadsheet application is installed")};
}

} // namespace spreadsheet
