// "Save Results As Excel File": the results in a new spreadsheet workbook.

#include "window/form1.h"

#include "core/trap.h"
#include "platform/desktop/yield.h"
#include "platform/spreadsheet/spreadsheet.h"
#include "window/chrome/msgbox.h"

#include <memory>

namespace window {

namespace {

const QString kNotInstalledProbe = QStringLiteral(
    "Excel is not installed on this computer. You need to have it installed to use this "
    "software without error.");
const QString kNotInstalledExport = QStringLiteral(
    "Excel is not installed on this computer. You need to have it installed to use this feature.");

// A step that reaches an object which an earlier failing step never set.
template <typename T> T& object(T* pointer)
{
    if (!pointer)
        throw core::Failure{91, QStringLiteral("Object variable not set")};
    return *pointer;
}

// A checked list row that would land below the sheet's last row: one
// report for all of them, and the rows above stay exported.
bool sheetIsFull(const spreadsheet::SpreadsheetWorkbook* workbook, int sheetRow, qsizetype listRow)
{
    if (!workbook || sheetRow <= workbook->sheetRows())
        return false;
    throw core::Failure{1004,
                        QStringLiteral("The sheet is full: it holds %1 rows, so the results from "
                                       "row %2 of the list on are not in the workbook")
                            .arg(workbook->sheetRows())
                            .arg(listRow)};
}

// Row 1: the headers of the columns whose cell in the first list row holds
// text, packed to the left.
void writeHeaderRow(core::Trap& trap, const widgets::ListView& list,
                    spreadsheet::SpreadsheetWorkbook* workbook)
{
    int sheetColumn = 1;
    trap.step(116, [&] { sheetColumn = 1; });
    int columns = 0;
    trap.step(118, [&] { columns = list.columnCount(); });
    for (int k = 1; k <= columns; ++k) {
        trap.step(120, [&] { platform::Yield(); });
        if (trap.test(122, [&] { return !list.cell(1, k).isEmpty(); })) {
            trap.step(124, [&] {
                object(workbook).ActiveSheet().Cells(1, sheetColumn) = list.columnText(k);
            });
            trap.step(126, [&] { ++sheetColumn; });
        }
    }
}

// One checked list row: its non-empty cells packed to the left; "=" is taken
// out of every column after the first.
void writeListRow(core::Trap& trap, const widgets::ListView& list, qsizetype r, int sheetRow,
                  spreadsheet::SpreadsheetWorkbook* workbook)
{
    int sheetColumn = 1;
    trap.step(146, [&] { sheetColumn = 1; });
    int columns = 0;
    trap.step(148, [&] { columns = list.columnCount(); });
    for (int k = 1; k <= columns; ++k) {
        trap.step(150, [&] { platform::Yield(); });
        QString text;
        trap.step(152, [&] { text = list.cell(r, k); });
        if (trap.test(154, [&] { return !text.isEmpty(); })) {
            if (k >= 2)
                trap.step(156, [&] { text.remove(QLatin1Char('=')); });
            trap.step(158, [&] {
                object(workbook).ActiveSheet().Cells(sheetRow, sheetColumn).value = text;
            });
            trap.step(160, [&] { ++sheetColumn; });
        }
    }
}

} // namespace

void Form1::PushButton13_Click()
{
    core::Trap trap(core::location("Form1", "PushButton13_Click"));
    if (trap.test(100, [&] { return !SaveResultsAsExcelFileIsExcelInstalled(); })) {
        trap.step(178, [&] { chrome::MsgBox(kNotInstalledExport); });
        return;
    }
    if (trap.test(108, [&] { return ListView2->count() == 0; }))
        return;
    trap.step(110, [&] { setMousePointer(kHourglass); });
    std::unique_ptr<spreadsheet::SpreadsheetApplication> application;
    trap.step(112, [&] { application = spreadsheet::createSpreadsheetApplication(); });
    spreadsheet::SpreadsheetWorkbook* workbook = nullptr;
    trap.step(114, [&] { workbook = &object(application.get()).Workbooks().Add(); });

    writeHeaderRow(trap, *ListView2, workbook);
    int sheetRow = 2;
    trap.step(138, [&] { sheetRow = 2; });
    // The count is read on every pass: rows removed while the export yields
    // shorten it instead of failing once per missing cell.
    for (qsizetype r = 1; trap.test(140, [&] { return r <= ListView2->count(); }); ++r) {
        trap.step(142, [&] { platform::Yield(); });
        if (trap.test(144, [&] { return ListView2->checked(r); })) {
            if (trap.test(170, [&] { return sheetIsFull(workbook, sheetRow, r); }))
                break;
            writeListRow(trap, *ListView2, r, sheetRow, workbook);
        }
        trap.step(168, [&] { ++sheetRow; });
    }
    trap.step(172, [&] { object(workbook).ActiveSheet().Columns().Autofit(); });
    trap.step(174, [&] { object(application.get()).setVisible(true); });
    trap.step(176, [&] { setMousePointer(kDefaultPointer); });
}

bool Form1::SaveResultsAsExcelFileIsExcelInstalled()
{
    // Creating an instance and releasing it at once is the whole probe; it
    // never fails towards its caller.
    try {
        spreadsheet::createSpreadsheetApplication().reset();
        return true;
    } catch (...) {
    }
    try {
        chrome::MsgBox(kNotInstalledProbe);
    } catch (...) {
    }
    return false;
}

} // namespace window
