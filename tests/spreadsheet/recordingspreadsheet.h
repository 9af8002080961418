#pragma once
// A spreadsheet application for tests: every call is written to a shared log
// ("create", "Workbooks.Add", "ActiveSheet", "Cells(2,1).value=text",
// "Columns.Autofit", "Visible=true", "release"). It can be made missing, and
// can stop answering from a given call on.

#include "core/failure.h"
#include "platform/spreadsheet/spreadsheet.h"

#include <QStringList>
#include <functional>

struct SpreadsheetLog {
    QStringList calls;
    bool installed = true;
    // Every call from this position of the log on fails; -1 never.
    qsizetype failFrom = -1;
    // The rows of a sheet, lowered to reach the end of a sheet quickly.
    int sheetRows = spreadsheet::SpreadsheetWorkbook::kSheetRows;
    // Runs after each recorded call.
    std::function<void(const QString&)> onCall;

    void record(const QString& call)
    {
        if (failFrom >= 0 && calls.size() >= failFrom)
            throw core::Failure{462, QStringLiteral("The spreadsheet does not answer")};
        calls << call;
        if (onCall)
            onCall(call);
    }

    QStringList cells() const { return calls.filter(QStringLiteral("Cells(")); }
};

class RecordingSheet final : public spreadsheet::SpreadsheetSheet {
public:
    explicit RecordingSheet(SpreadsheetLog& log)
        : log_(log)
    {
    }
    void setCell(int row, int column, const QString& text, spreadsheet::CellMember member) override
    {
        const char* how = member == spreadsheet::CellMember::Value ? ".value" : "";
        log_.record(QStringLiteral("Cells(%1,%2)%3=%4").arg(row).arg(column).arg(how, text));
    }
    void autofitColumns() override { log_.record(QStringLiteral("Columns.Autofit")); }

private:
    SpreadsheetLog& log_;
};

class RecordingWorkbook final : public spreadsheet::SpreadsheetWorkbook {
public:
    explicit RecordingWorkbook(SpreadsheetLog& log)
        : log_(log)
        , sheet_(log)
    {
    }
    spreadsheet::SpreadsheetSheet& ActiveSheet() override
    {
        log_.record(QStringLiteral("ActiveSheet"));
        return sheet_;
    }
    int sheetRows() const override { return log_.sheetRows; }

private:
    SpreadsheetLog& log_;
    RecordingSheet sheet_;
};

class RecordingApplication final : public spreadsheet::SpreadsheetApplication {
public:
    explicit RecordingApplication(SpreadsheetLog& log)
        : log_(log)
        , workbook_(log)
    {
    }
    ~RecordingApplication() override { log_.calls << QStringLiteral("release"); }
    spreadsheet::SpreadsheetWorkbook& addWorkbook() override
    {
        log_.record(QStringLiteral("Workbooks.Add"));
        return workbook_;
    }
    bool Visible() const override { return visible_; }
    void setVisible(bool on) override
    {
        log_.record(on ? QStringLiteral("Visible=true") : QStringLiteral("Visible=false"));
        visible_ = on;
    }

private:
    SpreadsheetLog& log_;
    RecordingWorkbook workbook_;
    bool visible_ = false;
};

// Installs the recording application for as long as it lives.
class RecordingSpreadsheet {
public:
    RecordingSpreadsheet()
    {
        spreadsheet::setSpreadsheetFactory(
            [this]() -> std::unique_ptr<spreadsheet::SpreadsheetApplication> {
                log.calls << QStringLiteral("create");
                if (!log.installed)
                    throw spreadsheet::noSpreadsheetApplication();
                return std::make_unique<RecordingApplication>(log);
            });
    }
    ~RecordingSpreadsheet() { spreadsheet::setSpreadsheetFactory({}); }

    SpreadsheetLog log;
};
