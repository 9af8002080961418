// The trap, the error report, the file probe and path helpers.

#include "core/failure.h"
#include "core/reporterror.h"
#include "core/trap.h"
#include "scripteddialogs.h"
#include "files/fileexists.h"
#include "files/paths.h"

#include <QTemporaryDir>
#include <QtTest>
#include <stdexcept>

namespace {

[[noreturn]] void fail(const char* what = "Permission denied")
{
    throw core::Failure{70, QString::fromLatin1(what)};
}

// A procedure without a trap: its failure goes to the caller's step.
int untrapped(QStringList& log)
{
    log << "untrapped starts";
    fail("deep");
    log << "untrapped goes on"; // never runs
    return 1;
}

} // namespace

class FilesTest : public QObject {
    Q_OBJECT

private slots:
    void reportText_data()
    {
        QTest::addColumn<QString>("description");
        QTest::addColumn<int>("label");
        QTest::addColumn<QString>("text");
        QTest::newRow("clear list")
            << "Permission denied" << 100
            << "Permission denied\r\nin Orvanta2021/08/31.Form1.PushButton1_Click at line 100\r\r"
               "Please email screenshot of this message to support@meridane.org";
        QTest::newRow("empty description")
            << "" << 108
            << "\r\nin Orvanta2021/08/31.Form1.PushButton1_Click at line 108\r\r"
               "Please email screenshot of this message to support@meridane.org";
    }

    void reportText()
    {
        QFETCH(QString, description);
        QFETCH(int, label);
        QFETCH(QString, text);
        ScriptedDialogs dialogs;
        core::ReportError(core::location("Form1", "PushButton1_Click"), label, description);
        QCOMPARE(dialogs.messages.size(), 1);
        QCOMPARE(dialogs.messages[0].text, text);
        QCOMPARE(dialogs.messages[0].title, QString("Application Error"));
        QCOMPARE(dialogs.messages[0].icon, platform::MessageIcon::Exclamation);
    }

    void failingStepsAreReportedInOrderAndTheProcedureGoesOn()
    {
        ScriptedDialogs dialogs;
        QStringList log;
        core::Trap trap(core::location("Main", "Proc"));
        trap.step(100, [&] { fail("first"); });
        trap.step(102, [&] { log << "102"; });
        trap.step(104, [&] { throw std::runtime_error("second"); });
        trap.step(106, [&] { log << "106"; });
        QCOMPARE(log, QStringList({"102", "106"}));
        QCOMPARE(dialogs.messages.size(), 2);
        QVERIFY(dialogs.messages[0].text.startsWith(
            "first\r\nin Orvanta2021/08/31.Main.Proc at line 100\r\r"));
        QVERIFY(dialogs.messages[1].text.startsWith(
            "second\r\nin Orvanta2021/08/31.Main.Proc at line 104\r\r"));
    }

    void failingTestRunsTheGuardedSteps()
    {
        ScriptedDialogs dialogs;
        bool guarded = false;
        core::Trap trap(QStringLiteral("here"));
        if (trap.test(104, []() -> bool { fail(); }))
            trap.step(106, [&] { guarded = true; });
        QVERIFY(guarded);
        QCOMPARE(dialogs.messages.size(), 1);
    }

    void loopsGoOnWithOneReportPerPass()
    {
        ScriptedDialogs dialogs;
        int done = 0;
        core::Trap trap(QStringLiteral("here"));
        for (int i = 0; i < 5; ++i) {
            trap.step(110, [&] {
                if (i % 2)
                    fail();
            });
            trap.step(112, [&] { ++done; });
        }
        QCOMPARE(done, 5);
        QCOMPARE(dialogs.messages.size(), 2);
    }

    void untrappedCalleeIsReportedAtTheCallersLabel()
    {
        ScriptedDialogs dialogs;
        QStringList log;
        int result = 0;
        core::Trap trap(core::location("Form1", "PushButton3_Click"));
        trap.step(120, [&] { result = untrapped(log); });
        trap.step(122, [&] { log << "after"; });
        QCOMPARE(log, QStringList({"untrapped starts", "after"}));
        QCOMPARE(result, 0);
        QCOMPARE(dialogs.messages.size(), 1);
        QVERIFY(dialogs.messages[0].text.startsWith(
            "deep\r\nin Orvanta2021/08/31.Form1.PushButton3_Click at line 120\r\r"));
    }

    void endOnHandsOverAndEndsWithoutReport()
    {
        ScriptedDialogs dialogs;
        int handled = 0;
        bool later = false;
        core::Trap trap(QStringLiteral("here"));
        trap.endOn(20476, [&] { ++handled; });
        trap.step(108, [] { throw core::Failure{20476, "too small"}; });
        trap.step(110, [&] { later = true; });
        QVERIFY(!trap.test(112, [] { return true; }));
        QCOMPARE(handled, 1);
        QVERIFY(!later);
        QVERIFY(trap.ended());
        QVERIFY(dialogs.messages.isEmpty());
    }

    void otherFailuresAreStillReportedWithEndOn()
    {
        ScriptedDialogs dialogs;
        core::Trap trap(QStringLiteral("here"));
        trap.endOn(20476, [] {});
        trap.step(120, [] { fail(); });
        QVERIFY(!trap.ended());
        QCOMPARE(dialogs.messages.size(), 1);
    }

    void fileExists()
    {
        QTemporaryDir dir;
        QFile file(dir.filePath("points.txt"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        QVERIFY(files::FileExists(file.fileName()));
        QVERIFY(!files::FileExists(QString()));
        QVERIFY(!files::FileExists(dir.filePath("missing.txt")));
        QVERIFY(!files::FileExists(dir.filePath("no/such/folder/points.txt")));
        QVERIFY(!files::FileExists(QString("bad") + QChar(0) + "path"));
    }

    void fileNameFromPath_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("name");
        QTest::newRow("empty") << ""
                               << "";
        QTest::newRow("no separator") << "42.8712"
                                      << "42.8712";
        QTest::newRow("backslash") << "C:\\data\\points.txt"
                                   << "points.txt";
        QTest::newRow("slash") << "/home/user/points.txt"
                               << "points.txt";
        QTest::newRow("mixed, last wins") << "a\\b/c\\d"
                                          << "d";
        QTest::newRow("trailing separator") << "folder/"
                                            << "";
    }

    void fileNameFromPath()
    {
        QFETCH(QString, path);
        QFETCH(QString, name);
        QCOMPARE(files::FileNameFromPath(path), name);
    }
};

QTEST_GUILESS_MAIN(FilesTest)
#include "tst_files.moc"
