#pragma once
// What a sheet of text cells allows, whichever way it is kept: where a cell
// may be, how long its text may be, and how wide fitting makes a column.

#include <QAnyStringView>
#include <QString>

#include <vector>

namespace spreadsheet::textcells {

constexpr int kMaxRows = 1048576;
constexpr int kMaxColumns = 16384;
// A cell holds at most this many characters; longer texts are cut.
constexpr qsizetype kMaxTextLength = 32767;
constexpr double kMaxColumnWidth = 255;

// Throws Failure for a cell outside the sheet.
void checkPlace(int row, int column);
// The text as a cell keeps it.
QString fitToCell(const QString& text);
// Widens column `column` (from 1, at index column - 1) to fit the text: one
// character of room beside it. Columns without text keep 0, the default.
void widen(std::vector<double>& widths, int column, QAnyStringView text);

} // namespace spreadsheet::textcells
