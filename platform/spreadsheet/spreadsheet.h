#pragma once
// The spreadsheet application that the export hands the results to. Only the
// members that the export uses exist:
//
//   auto app = spreadsheet::createSpreadsheetApplication();
//   SpreadsheetWorkbook& book = app->Workbooks().Add();
//   book.ActiveSheet().Cells(1, 1) = header;          // the cell's default value
//   book.ActiveSheet().Cells(2, 1).value = sentence;  // the named member
//   book.ActiveSheet().Columns().Autofit();
//   app->setVisible(true);                            // Visible
//
// Creating the application fails (throws Failure) when the desktop has no
// spreadsheet program. Tests install a factory of their own.

#include "core/failure.h"

#include <QString>
#include <functional>
#include <memory>

namespace spreadsheet {

class SpreadsheetSheet;

// How a cell was assigned: by its default value or through `value`.
enum class CellMember { Default, Value };

// One cell of a sheet, as returned by Cells(row, column).
class SpreadsheetCell {
public:
    class ValueMember {
    public:
        ValueMember& operator=(const QString& text);

    private:
        friend class SpreadsheetCell;
        ValueMember(SpreadsheetSheet& sheet, int row, int column)
            : sheet_(sheet)
            , row_(row)
            , column_(column)
        {
        }
        SpreadsheetSheet& sheet_;
        int row_;
        int column_;
    };

    SpreadsheetCell(SpreadsheetSheet& sheet, int row, int column)
        : value(sheet, row, column)
        , sheet_(sheet)
        , row_(row)
        , column_(column)
    {
    }
    SpreadsheetCell& operator=(const QString& text);

    ValueMember value;

private:
    SpreadsheetSheet& sheet_;
    int row_;
    int column_;
};

// All columns of a sheet, as returned by Columns().
class SpreadsheetColumns {
public:
    explicit SpreadsheetColumns(SpreadsheetSheet& sheet)
        : sheet_(sheet)
    {
    }
    // Fits the width of every column to its longest text.
    void Autofit();

private:
    SpreadsheetSheet& sheet_;
};

class SpreadsheetSheet {
public:
    virtual ~SpreadsheetSheet() = default;
    // Rows and columns from 1.
    SpreadsheetCell Cells(int row, int column) { return {*this, row, column}; }
    SpreadsheetColumns Columns() { return SpreadsheetColumns(*this); }

    // What the members above come down to.
    virtual void setCell(int row, int column, const QString& text, CellMember member) = 0;
    virtual void autofitColumns() = 0;
};

class SpreadsheetWorkbook {
public:
    // The rows of a sheet, its header row included.
    static constexpr int kSheetRows = 1048576;

    virtual ~SpreadsheetWorkbook() = default;
    virtual SpreadsheetSheet& ActiveSheet() = 0;
    // How many rows each of its sheets holds; a cell below the last one fails.
    virtual int sheetRows() const { return kSheetRows; }
};

class SpreadsheetApplication;

// The application's workbooks, as returned by Workbooks().
class SpreadsheetWorkbooks {
public:
    explicit SpreadsheetWorkbooks(SpreadsheetApplication& application)
        : application_(application)
    {
    }
    // A new, empty workbook; it lives as long as the application object.
    SpreadsheetWorkbook& Add();

private:
    SpreadsheetApplication& application_;
};

class SpreadsheetApplication {
public:
    virtual ~SpreadsheetApplication() = default;
    SpreadsheetWorkbooks Workbooks() { return SpreadsheetWorkbooks(*this); }

    virtual SpreadsheetWorkbook& addWorkbook() = 0;
    virtual bool Visible() const = 0;
    // Showing the application puts its workbooks in front of the user; they
    // stay open after this object is gone.
    virtual void setVisible(bool on) = 0;
};

// Throws Failure when no spreadsheet application exists.
std::unique_ptr<SpreadsheetApplication> createSpreadsheetApplication();

using SpreadsheetFactory = std::function<std::unique_ptr<SpreadsheetApplication>()>;
// Replaces the real application (tests); an empty factory puts the real one back.
void setSpreadsheetFactory(SpreadsheetFactory replacement);

// The failure of creating an application where none exists.
core::Failure noSpreadsheetApplication();

} // namespace spreadsheet
