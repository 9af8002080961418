// "Save Results As Excel File": the calls the export makes and the sheet it
// fills, through a recording application; and real workbooks written by the
// desktop spreadsheet and read back.

#include "form1controls.h"
#include "window/form1.h"
#include "core/failure.h"
#include "platform/spreadsheet/desktopspreadsheet.h"
#include "memoryworkbook.h"
#include "platform/spreadsheet/spreadsheetopener.h"
#include "recordingprocessstart.h"
#include "recordingspreadsheet.h"
#include "scripteddialogs.h"
#include "testsupport.h"
#include "xlsxreader.h"

#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

namespace {

const QString kProbeMessage = QStringLiteral(
    "Excel is not installed on this computer. You need to have it installed to use this "
    "software without error.");
const QString kExportMessage = QStringLiteral(
    "Excel is not installed on this computer. You need to have it installed to use this feature.");
const QString kLocation = QStringLiteral("Orvanta2021/08/31.Form1.PushButton13_Click");

// A list row: "+" or "-" for the check mark, then its cells.
using Rows = QList<QStringList>;

void fillList(widgets::ListView& list, const Rows& rows)
{
    for (const QStringList& row : rows) {
        const qsizetype r = list.addItem(row.value(1));
        for (int k = 2; k < row.size(); ++k)
            list.setSubItem(r, k - 1, row[k]);
        list.setChecked(r, row[0] == u"+");
    }
}

void addHeaders(widgets::ListView& list, const QStringList& headers)
{
    for (const QString& header : headers)
        list.addColumn(header);
}

void press(window::Form1& form) { QTest::mouseClick(ui(form).PushButton13, Qt::LeftButton); }

QStringList labelsOf(const ScriptedDialogs& dialogs)
{
    QStringList labels;
    static const QRegularExpression at(QStringLiteral("in (\\S+) at line (\\d+)\r\r"));
    for (const RecordedMessage& m : dialogs.messages) {
        const auto match = at.match(m.text);
        labels << (match.hasMatch() && match.captured(1) == kLocation ? match.captured(2)
                                                                      : QStringLiteral("?"));
    }
    return labels;
}

// Installs the desktop spreadsheet writing into `folder`, opened by "calc".
void useDesktopSpreadsheet(const QString& folder)
{
    spreadsheet::setSpreadsheetFactory([folder] {
        return std::make_unique<spreadsheet::DesktopSpreadsheet>(
            spreadsheet::SpreadsheetOpener{QStringLiteral("/opt/calc"), {QStringLiteral("-n")}},
            folder);
    });
}

// Exports the rows of the results list and reads the written workbook back.
XlsxContent exportAndRead(const Rows& rows, RecordingProcessStart& processes)
{
    window::Form1 form;
    form.Form_Load();
    fillList(*ui(form).ListView2, rows);
    press(form);
    if (processes.started.size() != 1)
        return {};
    return readXlsx(processes.started.first().last());
}

} // namespace

class ExportTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void init() { testsupport::startTest(); }

    void cleanup() { spreadsheet::setSpreadsheetFactory({}); }

    void sheetLayout_data()
    {
        QTest::addColumn<QStringList>("headers");
        QTest::addColumn<Rows>("rows");
        QTest::addColumn<QStringList>("cells");

        const QStringList results{"Results"};
        QTest::newRow("results in list order")
            << results << Rows{{"+", "s1"}, {"+", "s2"}}
            << QStringList{"Cells(1,1)=Results", "Cells(2,1).value=s1", "Cells(3,1).value=s2"};
        QTest::newRow("cleared check mark leaves an empty sheet row")
            << results << Rows{{"+", "s1"}, {"-", "s2"}, {"+", "s3"}}
            << QStringList{"Cells(1,1)=Results", "Cells(2,1).value=s1", "Cells(4,1).value=s3"};
        QTest::newRow("unchecked first row still decides the headers")
            << results << Rows{{"-", "s1"}, {"+", "s2"}}
            << QStringList{"Cells(1,1)=Results", "Cells(3,1).value=s2"};
        QTest::newRow("empty first-row cell drops its header, later ones move left")
            << QStringList{"A", "B", "C"} << Rows{{"+", "a", "", "c"}}
            << QStringList{"Cells(1,1)=A", "Cells(1,2)=C", "Cells(2,1).value=a",
                           "Cells(2,2).value=c"};
        QTest::newRow("empty cells of a later row pack it left")
            << QStringList{"A", "B", "C"} << Rows{{"+", "a", "b", "c"}, {"+", "", "b", "c"}}
            << QStringList{"Cells(1,1)=A",       "Cells(1,2)=B",       "Cells(1,3)=C",
                           "Cells(2,1).value=a", "Cells(2,2).value=b", "Cells(2,3).value=c",
                           "Cells(3,1).value=b", "Cells(3,2).value=c"};
        QTest::newRow("equals signs removed from the second column on")
            << QStringList{"A", "B", "C"} << Rows{{"+", "a=b", "a=b", "==c="}}
            << QStringList{"Cells(1,1)=A",         "Cells(1,2)=B",        "Cells(1,3)=C",
                           "Cells(2,1).value=a=b", "Cells(2,2).value=ab", "Cells(2,3).value=c"};
        QTest::newRow("a cell of equals signs only still takes its column")
            << QStringList{"A", "B", "C"} << Rows{{"+", "x", "==", "y"}}
            << QStringList{"Cells(1,1)=A",       "Cells(1,2)=B",      "Cells(1,3)=C",
                           "Cells(2,1).value=x", "Cells(2,2).value=", "Cells(2,3).value=y"};
        QTest::newRow("headers keep their equals signs")
            << QStringList{"A", "=B"} << Rows{{"+", "a", "b"}}
            << QStringList{"Cells(1,1)=A", "Cells(1,2)==B", "Cells(2,1).value=a",
                           "Cells(2,2).value=b"};
    }

    void sheetLayout()
    {
        QFETCH(QStringList, headers);
        QFETCH(Rows, rows);
        QFETCH(QStringList, cells);
        ScriptedDialogs dialogs;
        RecordingSpreadsheet spreadsheet;
        window::Form1 form;
        addHeaders(*ui(form).ListView2, headers);
        fillList(*ui(form).ListView2, rows);
        press(form);
        QCOMPARE(spreadsheet.log.cells(), cells);
        QCOMPARE(dialogs.texts(), QStringList());
    }

    void callSequence()
    {
        ScriptedDialogs dialogs;
        RecordingSpreadsheet spreadsheet;
        window::Form1 form;
        form.Form_Load();
        fillList(*ui(form).ListView2, {{"+", "s1"}, {"-", "s2"}});
        QList<int> pointers;
        spreadsheet.log.onCall = [&](const QString&) { pointers << form.MousePointer(); };
        bool windowAnswered = false;
        QTimer::singleShot(0, &form, [&] { windowAnswered = spreadsheet.log.calls.size() > 2; });

        press(form);

        // The probe's instance, then the export's, which is shown and left to the user.
        QCOMPARE(spreadsheet.log.calls,
                 QStringList({"create", "release", "create", "Workbooks.Add", "ActiveSheet",
                              "Cells(1,1)=Results", "ActiveSheet", "Cells(2,1).value=s1",
                              "ActiveSheet", "Columns.Autofit", "Visible=true", "release"}));
        QVERIFY(!pointers.isEmpty());
        QVERIFY(std::all_of(pointers.cbegin(), pointers.cend(),
                            [](int p) { return p == window::Form1::kHourglass; }));
        QCOMPARE(form.MousePointer(), window::Form1::kDefaultPointer);
        QVERIFY2(windowAnswered, "the export did not yield to the event loop");
        QCOMPARE(dialogs.texts(), QStringList());
    }

    void noApplicationShowsTwoMessagesAndNothingElse()
    {
        ScriptedDialogs dialogs;
        RecordingSpreadsheet spreadsheet;
        spreadsheet.log.installed = false;
        window::Form1 form;
        form.Form_Load();
        fillList(*ui(form).ListView2, {{"+", "s1"}});
        QList<int> pointers;
        dialogs.onMessage = [&](const RecordedMessage&) { pointers << form.MousePointer(); };

        press(form);

        QCOMPARE(dialogs.texts(), QStringList({kProbeMessage, kExportMessage}));
        for (const RecordedMessage& m : dialogs.messages) {
            QCOMPARE(m.title, QString("Meridane"));
            QCOMPARE(m.icon, platform::MessageIcon::None);
        }
        QCOMPARE(spreadsheet.log.calls, QStringList{"create"});
        QCOMPARE(pointers, QList<int>({0, 0}));
        QCOMPARE(form.MousePointer(), 0);
    }

    void emptyListRunsTheProbeOnly()
    {
        ScriptedDialogs dialogs;
        RecordingSpreadsheet spreadsheet;
        window::Form1 form;
        form.Form_Load();
        press(form);
        QCOMPARE(spreadsheet.log.calls, QStringList({"create", "release"}));
        QCOMPARE(dialogs.texts(), QStringList());
        QCOMPARE(form.MousePointer(), 0);
    }

    void applicationThatStopsAnsweringIsReportedPerStep()
    {
        ScriptedDialogs dialogs;
        RecordingSpreadsheet spreadsheet;
        window::Form1 form;
        form.Form_Load();
        fillList(*ui(form).ListView2, {{"+", "s1"}, {"+", "s2"}, {"-", "s3"}, {"+", "s4"}});
        // Answers up to the first result; silent from the second one's sheet on.
        spreadsheet.log.failFrom = 8;

        press(form);

        QCOMPARE(spreadsheet.log.cells(),
                 QStringList({"Cells(1,1)=Results", "Cells(2,1).value=s1"}));
        // One report per remaining cell, one for the fit and one for the show.
        QCOMPARE(labelsOf(dialogs), QStringList({"158", "158", "172", "174"}));
        QVERIFY(dialogs.messages.first().text.startsWith("The spreadsheet does not answer\r\n"));
        QCOMPARE(dialogs.messages.first().title, QString("Application Error"));
        QCOMPARE(spreadsheet.log.calls.last(), QString("release"));
        QCOMPARE(form.MousePointer(), 0);
    }

    void applicationLostBetweenProbeAndExport()
    {
        ScriptedDialogs dialogs;
        int creations = 0;
        spreadsheet::setSpreadsheetFactory(
            [&]() -> std::unique_ptr<spreadsheet::SpreadsheetApplication> {
                if (++creations > 1)
                    throw spreadsheet::noSpreadsheetApplication();
                return std::make_unique<spreadsheet::DesktopSpreadsheet>(
                    spreadsheet::SpreadsheetOpener{}, QString());
            });
        window::Form1 form;
        form.Form_Load();
        fillList(*ui(form).ListView2, {{"+", "s1"}});
        press(form);
        // Every step that needs the missing application is reported; the window is released.
        QCOMPARE(labelsOf(dialogs), QStringList({"112", "114", "124", "158", "172", "174"}));
        QCOMPARE(form.MousePointer(), 0);
    }

    void rowsRemovedDuringTheExportShortenIt()
    {
        ScriptedDialogs dialogs;
        RecordingSpreadsheet spreadsheet;
        window::Form1 form;
        form.Form_Load();
        fillList(*ui(form).ListView2, {{"+", "s1"}, {"+", "s2"}, {"+", "s3"}});
        spreadsheet.log.onCall = [&](const QString& call) {
            if (call == u"Cells(2,1).value=s1")
                ui(form).ListView2->clearItems();
        };
        press(form);
        QCOMPARE(spreadsheet.log.cells(),
                 QStringList({"Cells(1,1)=Results", "Cells(2,1).value=s1"}));
        QCOMPARE(dialogs.texts(), QStringList());
        QVERIFY(spreadsheet.log.calls.contains("Visible=true"));
    }

    void fullSheetIsReportedOnce_data()
    {
        QTest::addColumn<Rows>("rows");
        QTest::addColumn<QStringList>("cells");    // after the header
        QTest::addColumn<QString>("firstLeftOut"); // list row named by the report; "" for none
        QTest::newRow("last row filled")
            << Rows{{"+", "s1"}, {"+", "s2"}} << QStringList{"s1", "s2"} << "";
        QTest::newRow("many results beyond, one report")
            << Rows{{"+", "s1"}, {"+", "s2"}, {"+", "s3"}, {"+", "s4"}, {"+", "s5"}}
            << QStringList{"s1", "s2"} << "3";
        QTest::newRow("checked row after unchecked ones beyond")
            << Rows{{"+", "s1"}, {"+", "s2"}, {"-", "s3"}, {"+", "s4"}} << QStringList{"s1", "s2"}
            << "4";
    }

    void fullSheetIsReportedOnce()
    {
        QFETCH(Rows, rows);
        QFETCH(QStringList, cells);
        QFETCH(QString, firstLeftOut);
        ScriptedDialogs dialogs;
        RecordingSpreadsheet spreadsheet;
        spreadsheet.log.sheetRows = 3; // the header and two results
        window::Form1 form;
        form.Form_Load();
        fillList(*ui(form).ListView2, rows);
        press(form);

        QStringList expected{"Cells(1,1)=Results"};
        for (qsizetype i = 0; i < cells.size(); ++i)
            expected << QString("Cells(%1,1).value=%2").arg(i + 2).arg(cells[i]);
        QCOMPARE(spreadsheet.log.cells(), expected);
        QCOMPARE(labelsOf(dialogs), firstLeftOut.isEmpty() ? QStringList() : QStringList{"170"});
        QVERIFY(firstLeftOut.isEmpty() ||
                dialogs.messages.first().text.startsWith(
                    "The sheet is full: it holds 3 rows, so the results from row " + firstLeftOut));
        QVERIFY(spreadsheet.log.calls.contains("Visible=true")); // the rows that fit are shown
    }

    void findsTheSpreadsheetProgram_data()
    {
        QTest::addColumn<QStringList>("programs");
        QTest::addColumn<QString>("defaultHandler");
        QTest::addColumn<QStringList>("opener");

        const QStringList calc{"/usr/bin/soffice", "--calc", "--norestore", "-n"};
        QTest::newRow("calc") << QStringList{"soffice", "xdg-open", "xdg-mime"} << "calc.desktop"
                              << calc;
        QTest::newRow("calc under its long name")
            << QStringList{"libreoffice"} << ""
            << QStringList{"/usr/bin/libreoffice", "--calc", "--norestore", "-n"};
        QTest::newRow("default application for xlsx")
            << QStringList{"xdg-open", "xdg-mime"} << "sheets.desktop"
            << QStringList{"/usr/bin/xdg-open"};
        QTest::newRow("opener without a handler for xlsx")
            << QStringList{"xdg-open", "xdg-mime"} << "" << QStringList{};
        QTest::newRow("nothing") << QStringList{} << "" << QStringList{};
    }

    void findsTheSpreadsheetProgram()
    {
        QFETCH(QStringList, programs);
        QFETCH(QString, defaultHandler);
        QFETCH(QStringList, opener);
        RecordingProcessStart processes;
        for (const QString& name : programs)
            processes.programs[name] = "/usr/bin/" + name;
        processes.queryAnswers["/usr/bin/xdg-mime"] = defaultHandler;

        const auto found = spreadsheet::findSpreadsheetOpener();
        QCOMPARE(found ? QStringList{found->program} + found->arguments : QStringList{}, opener);
    }

    void withoutProgramTheRealApplicationIsMissing()
    {
        ScriptedDialogs dialogs;
        RecordingProcessStart processes;
        window::Form1 form;
        QVERIFY(!form.SaveResultsAsExcelFileIsExcelInstalled());
        QCOMPARE(dialogs.texts(), QStringList{kProbeMessage});
        QVERIFY(processes.started.isEmpty());
    }

    void writtenWorkbookReadsBack_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");

        const QString sentence = "Distance between (42.8712,-71.3878) and (33.0169,-116.846) is "
                                 "2534.0868 miles";
        QTest::newRow("result sentence") << sentence << sentence;
        QTest::newRow("formula-like text stays text") << "=1+1"
                                                      << "=1+1";
        QTest::newRow("number-like text stays text") << "0042.50"
                                                     << "0042.50";
        QTest::newRow("xml specials") << "<a> & \"b\" 'c'"
                                      << "<a> & \"b\" 'c'";
        QTest::newRow("spaces kept") << "  both ends  "
                                     << "  both ends  ";
        QTest::newRow("beyond latin-1") << QString::fromUtf8("Kraków 東京 \U0001F30D")
                                        << QString::fromUtf8("Kraków 東京 \U0001F30D");
        QTest::newRow("longest cell kept whole") << QString(32767, 'x') << QString(32767, 'x');
        QTest::newRow("longer cell cut") << QString(40000, 'y') << QString(32767, 'y');
        const QString pair = QString::fromUtf8("\U0001F30D");
        QTest::newRow("cut never splits a character")
            << QString(32766, 'z') + pair + "tail" << QString(32766, 'z');
    }

    void writtenWorkbookReadsBack()
    {
        QFETCH(QString, text);
        QFETCH(QString, expected);
        ScriptedDialogs dialogs;
        RecordingProcessStart processes;
        QTemporaryDir folder;
        useDesktopSpreadsheet(folder.path());

        const XlsxContent content =
            exportAndRead({{"+", text}, {"-", "unchecked"}, {"+", "last"}}, processes);

        QCOMPARE(dialogs.texts(), QStringList());
        QCOMPARE(content.cells.value({1, 1}), QString("Results"));
        QCOMPARE(content.cells.value({2, 1}), expected);
        QVERIFY(!content.cells.contains({3, 1}));
        QCOMPARE(content.cells.value({4, 1}), QString("last"));
        QCOMPARE(content.cells.size(), 3);
        // Text cells, never formulas or numbers.
        QCOMPARE(content.cellTypes, QStringList({"inlineStr", "inlineStr", "inlineStr"}));
    }

    void columnWidthsFollowTheLongestText_data()
    {
        QTest::addColumn<QList<int>>("lengths"); // texts of column 1
        QTest::addColumn<double>("width");       // characters, before the file's padding
        QTest::newRow("header longest") << QList<int>{3} << 8.0;
        QTest::newRow("sentence longest") << QList<int>{90, 20} << 91.0;
        QTest::newRow("very long text capped") << QList<int>{1000} << 255.0;
    }

    void columnWidthsFollowTheLongestText()
    {
        QFETCH(QList<int>, lengths);
        QFETCH(double, width);
        ScriptedDialogs dialogs;
        RecordingProcessStart processes;
        QTemporaryDir folder;
        useDesktopSpreadsheet(folder.path());
        Rows rows;
        for (int length : lengths)
            rows << QStringList{"+", QString(length, QChar(0x00E9))}; // two UTF-8 bytes each

        const XlsxContent content = exportAndRead(rows, processes);

        // The file stores the width with a fraction of padding added.
        QVERIFY2(content.widths.value(1) >= width && content.widths.value(1) < width + 1,
                 qPrintable(QString::number(content.widths.value(1))));
        QCOMPARE(content.widths.size(), 1);
    }

    void shownWorkbookOpensAsNewFileInTheCacheFolder()
    {
        ScriptedDialogs dialogs;
        RecordingProcessStart processes;
        processes.programs["soffice"] = "/usr/bin/soffice";
        window::Form1 form;
        form.Form_Load();
        fillList(*ui(form).ListView2, {{"+", "s1"}});
        press(form);
        press(form);

        QCOMPARE(processes.started.size(), 2);
        const QString cache = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
        QStringList files;
        for (const QStringList& start : processes.started) {
            QCOMPARE(start.mid(0, 4),
                     QStringList({"/usr/bin/soffice", "--calc", "--norestore", "-n"}));
            const QFileInfo file(start.last());
            QCOMPARE(file.absolutePath(), QDir(cache).absolutePath());
            QCOMPARE(file.suffix(), QString("xlsx"));
            QCOMPARE(readXlsx(file.filePath()).cells.value({2, 1}), QString("s1"));
            files << file.filePath();
        }
        QVERIFY(files[0] != files[1]);
        for (const QString& file : files)
            QFile::remove(file);
        QCOMPARE(dialogs.texts(), QStringList());
    }

    void oldWorkbooksGoAtTheNextExport_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("hoursOld");
        QTest::addColumn<bool>("kept");
        QTest::newRow("export older than a day") << "Results-a1B2c3.xlsx" << 25 << false;
        QTest::newRow("export of today") << "Results-a1B2c3.xlsx" << 23 << true;
        QTest::newRow("user's file of a like name") << "Results-mine.xlsx" << 48 << true;
    }

    void oldWorkbooksGoAtTheNextExport()
    {
        QFETCH(QString, name);
        QFETCH(int, hoursOld);
        QFETCH(bool, kept);
        ScriptedDialogs dialogs;
        RecordingProcessStart processes;
        QTemporaryDir dir;
        QFile old(dir.filePath(name));
        QVERIFY(old.open(QIODevice::WriteOnly));
        QVERIFY(old.setFileTime(QDateTime::currentDateTimeUtc().addSecs(-3600 * hoursOld),
                                QFileDevice::FileModificationTime));
        old.close();
        useDesktopSpreadsheet(dir.path());
        window::Form1 form;
        form.Form_Load();
        fillList(*ui(form).ListView2, {{"+", "s1"}});
        press(form);

        QCOMPARE(QFileInfo::exists(old.fileName()), kept);
        QCOMPARE(processes.started.size(), 1); // the new export is there
        QCOMPARE(dialogs.texts(), QStringList());
    }

    void showingFailuresAreReported_data()
    {
        QTest::addColumn<bool>("folderWritable");
        QTest::addColumn<bool>("startSucceeds");
        QTest::addColumn<QString>("description");
        QTest::newRow("folder cannot be made") << false << true << "Path/File access error";
        QTest::newRow("program does not start") << true << false << "File not found";
    }

    void showingFailuresAreReported()
    {
        QFETCH(bool, folderWritable);
        QFETCH(bool, startSucceeds);
        QFETCH(QString, description);
        ScriptedDialogs dialogs;
        RecordingProcessStart processes;
        processes.startSucceeds = startSucceeds;
        QTemporaryDir dir;
        QString folder = dir.path();
        if (!folderWritable) {
            QFile blocker(dir.filePath("file"));
            QVERIFY(blocker.open(QIODevice::WriteOnly));
            folder = blocker.fileName() + "/cache";
        }
        useDesktopSpreadsheet(folder);
        window::Form1 form;
        form.Form_Load();
        fillList(*ui(form).ListView2, {{"+", "s1"}});
        press(form);

        QCOMPARE(labelsOf(dialogs), QStringList{"174"});
        QVERIFY(dialogs.messages.first().text.startsWith(description + "\r\n"));
        QCOMPARE(form.MousePointer(), 0);
    }

    // Cells set straight on the desktop spreadsheet's sheet, each "row:column:text";
    // the workbook file then holds the cells listed the same way.
    void sheetWrittenAsItIsFilled_data()
    {
        QTest::addColumn<QStringList>("sets");
        QTest::addColumn<QStringList>("cells");
        QTest::addColumn<int>("failures");
        QTest::addColumn<int>("width"); // of column 1, characters

        QTest::newRow("columns of a row in any order")
            << QStringList{"2:2:bb", "2:1:a"} << QStringList{"2:1:a", "2:2:bb"} << 0 << 2;
        QTest::newRow("a cell set again keeps its last text, and its width")
            << QStringList{"2:1:a longer text", "2:1:short"} << QStringList{"2:1:short"} << 0
            << 6;
        QTest::newRow("rows left out stay empty")
            << QStringList{"1:1:head", "4:1:x"} << QStringList{"1:1:head", "4:1:x"} << 0 << 5;
        QTest::newRow("a row above the one being filled fails, the rest stays")
            << QStringList{"3:1:x", "2:1:yyy", "3:2:z"} << QStringList{"3:1:x", "3:2:z"} << 1
            << 2;
        QTest::newRow("a cell beyond the sheet fails")
            << QStringList{"1:1:a", "1048577:1:b", "1:16385:c"} << QStringList{"1:1:a"} << 2 << 2;
    }

    void sheetWrittenAsItIsFilled()
    {
        QFETCH(QStringList, sets);
        QFETCH(QStringList, cells);
        QFETCH(int, failures);
        QFETCH(int, width);
        RecordingProcessStart processes;
        QTemporaryDir folder;
        spreadsheet::DesktopSpreadsheet application({QStringLiteral("/opt/calc"), {}},
                                                    folder.path());
        spreadsheet::SpreadsheetSheet& sheet = application.Workbooks().Add().ActiveSheet();
        int failed = 0;
        for (const QString& set : sets) {
            const QStringList parts = set.split(':');
            try {
                sheet.Cells(parts[0].toInt(), parts[1].toInt()).value = parts[2];
            } catch (const core::Failure&) {
                ++failed;
            }
        }
        sheet.Columns().Autofit();
        application.setVisible(true);

        QCOMPARE(failed, failures);
        QCOMPARE(processes.started.size(), 1);
        const XlsxContent content = readXlsx(processes.started.first().last());
        QStringList written;
        for (auto cell = content.cells.cbegin(); cell != content.cells.cend(); ++cell)
            written << QString("%1:%2:%3").arg(cell.key().first).arg(cell.key().second).arg(*cell);
        QCOMPARE(written, cells);
        QCOMPARE(int(content.widths.value(1)), width); // the file adds a fraction of padding
    }

    void workbookFilesLeftInTheFolder_data()
    {
        QTest::addColumn<bool>("shown");
        QTest::addColumn<bool>("startSucceeds");
        QTest::addColumn<int>("files");
        QTest::newRow("never shown: none") << false << true << 0;
        QTest::newRow("shown: its file") << true << true << 1;
        QTest::newRow("shown, program not started: its file") << true << false << 1;
    }

    void workbookFilesLeftInTheFolder()
    {
        QFETCH(bool, shown);
        QFETCH(bool, startSucceeds);
        QFETCH(int, files);
        RecordingProcessStart processes;
        processes.startSucceeds = startSucceeds;
        QTemporaryDir folder;
        {
            spreadsheet::DesktopSpreadsheet application({QStringLiteral("/opt/calc"), {}},
                                                        folder.path());
            application.Workbooks().Add().ActiveSheet().Cells(1, 1) = QStringLiteral("Results");
            // Nothing to leave behind should the process end here.
            QCOMPARE(QDir(folder.path()).entryList(QDir::Files).size(), 0);
            try {
                if (shown)
                    application.setVisible(true);
            } catch (const core::Failure&) {
            }
        }
        QCOMPARE(QDir(folder.path()).entryList(QDir::Files).size(), files);
    }

    void showingAgainAfterAFolderFailure_data()
    {
        QTest::addColumn<bool>("blockedAtFirst");
        QTest::addColumn<int>("failures");
        QTest::newRow("folder there: shown at once") << false << 0;
        QTest::newRow("folder blocked, then freed: shown at the second try") << true << 1;
    }

    void showingAgainAfterAFolderFailure()
    {
        QFETCH(bool, blockedAtFirst);
        QFETCH(int, failures);
        RecordingProcessStart processes;
        QTemporaryDir dir;
        const QString folder = dir.filePath("cache");
        QFile blocker(folder); // a file where the folder should be
        if (blockedAtFirst)
            QVERIFY(blocker.open(QIODevice::WriteOnly));
        spreadsheet::DesktopSpreadsheet application({QStringLiteral("/opt/calc"), {}}, folder);
        application.Workbooks().Add().ActiveSheet().Cells(2, 1).value = QStringLiteral("s1");
        int failed = 0;
        for (int attempt = 0; attempt < 2 && processes.started.isEmpty(); ++attempt) {
            try {
                application.setVisible(true);
            } catch (const core::Failure&) {
                ++failed;
                QVERIFY(blocker.remove());
            }
        }
        QCOMPARE(failed, failures);
        QCOMPARE(processes.started.size(), 1);
        QCOMPARE(readXlsx(processes.started.first().last()).cells.value({2, 1}), QString("s1"));
    }

    void cellsOutsideTheSheetFail_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("column");
        QTest::addColumn<bool>("fits");
        QTest::newRow("first") << 1 << 1 << true;
        QTest::newRow("last") << 1048576 << 16384 << true;
        QTest::newRow("row zero") << 0 << 1 << false;
        QTest::newRow("row below the sheet") << 1048577 << 1 << false;
        QTest::newRow("column beyond the sheet") << 1 << 16385 << false;
    }

    void cellsOutsideTheSheetFail()
    {
        QFETCH(int, row);
        QFETCH(int, column);
        QFETCH(bool, fits);
        spreadsheet::MemorySheet sheet;
        bool failed = false;
        try {
            sheet.Cells(row, column).value = "x";
        } catch (const core::Failure& failure) {
            failed = failure.number == core::Failure::invalidCall().number;
        }
        QCOMPARE(failed, !fits);
    }
};

QTEST_MAIN(ExportTest)
#include "tst_export.moc"
