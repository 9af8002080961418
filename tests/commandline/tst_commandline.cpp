// The job without a window: the same file as the window's save, one line on
// standard error per error, and the exit status.

#include "app/console/terminalprogress.h"
#include "app/form1.h"
#include "app/startmode.h"
#include "commandlinesupport.h"
#include "platform/desktop/yield.h"
#include "scripteddialogs.h"

#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

namespace {

const QString kProgram = QStringLiteral(MERIDANE_EXECUTABLE);

// The window's way: load both files, pick Kilometers, run, save.
QByteArray savedByTheWindow(const QString& path)
{
    ScriptedDialogs dialogs;
    Form1 form;
    form.Form_Load();
    form.Option3->setChecked(true);
    dialogs.openReplies.enqueue(goldenLists());
    QTest::mouseClick(form.PushButton3, Qt::LeftButton);
    QTest::mouseClick(form.PushButton17, Qt::LeftButton);
    dialogs.saveReplies.enqueue(path);
    QTest::mouseClick(form.PushButton4, Qt::LeftButton);
    return dialogs.texts() == QStringList{QStringLiteral("Done.")}
               ? readAll(path)
               : dialogs.texts().join('|').toUtf8();
}

QStringList expanded(const QStringList& arguments, const QTemporaryDir& dir)
{
    QStringList out;
    for (QString argument : arguments)
        out << argument.replace(QLatin1String("{dir}"), dir.path())
                   .replace(QLatin1String("{golden}"), QStringLiteral(GOLDEN_DIR));
    return out;
}

} // namespace

class CommandLineTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        QLocale::setDefault(QLocale::c());
        platform::setYieldInterval(std::chrono::milliseconds(0));
    }

    void sameFileAsTheWindow_data()
    {
        QTest::addColumn<QString>("way");
        QTest::newRow("window") << "window";
        QTest::newRow("command line") << "file";
        QTest::newRow("command line, standard output") << "stdout";
    }
    void sameFileAsTheWindow()
    {
        QFETCH(QString, way);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("results.txt"));
        QByteArray written;
        if (way == QLatin1String("window")) {
            written = savedByTheWindow(path);
        } else {
            const QStringList output =
                way == QLatin1String("file") ? QStringList{"-o", path} : QStringList{};
            const Finished run =
                runProgram(kProgram, QStringList{"--unit", "kilometers"} + output + goldenLists());
            QCOMPARE(run.err, QByteArray());
            QCOMPARE(run.status, 0);
            written = way == QLatin1String("file") ? readAll(path) : run.out;
        }
        QCOMPARE(written, goldenResults());
    }

    // Each row: arguments ({dir} a fresh folder, {golden} the shared lists),
    // exit status, standard error, and the results file {dir}/r.txt.
    void errorsAndStatus_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("err");
        QTest::addColumn<QByteArray>("results");
        const QByteArray headerOnly("Results\t\r\n");
        const QByteArray twoPoints = "Results" + QByteArray(70, ' ') +
                                     "\t\r\nDistance between (42.8712,-71.3878) and "
                                     "(33.0169,-116.846) is 2534.0868 miles\t\r\n";
        const QByteArray none("(no file)");
        QTest::newRow("missing list file: reported, the others still read")
            << QStringList{"-o", "{dir}/r.txt", "{dir}/missing.txt", "{dir}/two.txt"} << 1
            << "meridane: {dir}/missing.txt: File not found in "
               "Orvanta2021/08/31.Main.RunCommandLine at line 112\n"
            << twoPoints;
        QTest::newRow("folder as list file: the report's text on one line")
            << QStringList{"-o", "{dir}/r.txt", "{dir}", "{dir}/two.txt"} << 1
            << "meridane: {dir}: Path/File access error in "
               "Orvanta2021/08/31.Main.RunCommandLine at line 112\n"
            << twoPoints;
        QTest::newRow("results folder missing")
            << QStringList{"-o", "{dir}/no/r.txt", "{dir}/two.txt"} << 1
            << "meridane: {dir}/no/r.txt: No such file or directory in "
               "Orvanta2021/08/31.Main.SaveListviewProperlySpaced at line 156\n"
            << none;
        QTest::newRow("one point: the header alone")
            << QStringList{"-o", "{dir}/r.txt", "{dir}/one.txt"} << 0 << "" << headerOnly;
        QTest::newRow("unit in any case")
            << QStringList{"-u", "MILES", "-o", "{dir}/r.txt", "{dir}/two.txt"} << 0 << ""
            << twoPoints;
        QTest::newRow("unknown unit: nothing written")
            << QStringList{"-u", "parsecs", "-o", "{dir}/r.txt", "{dir}/two.txt"} << 2
            << "meridane: unknown unit \"parsecs\": use miles, feet, kilometers or meters\n"
               "Try 'meridane --help' for more information.\n"
            << none;
        QTest::newRow("no list files")
            << QStringList{"-o", "{dir}/r.txt"} << 2
            << "meridane: no list files given\nTry 'meridane --help' for more information.\n"
            << none;
        QTest::newRow("unknown option")
            << QStringList{"--colour", "{dir}/two.txt"} << 2
            << "meridane: Unknown option 'colour'.\nTry 'meridane --help' for more information.\n"
            << none;
    }
    void errorsAndStatus()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, status);
        QFETCH(QString, err);
        QFETCH(QByteArray, results);
        QTemporaryDir dir;
        QFile two(dir.filePath(QStringLiteral("two.txt")));
        QVERIFY(two.open(QIODevice::WriteOnly));
        two.write("42.8712,-71.3878\n33.0169,-116.846\n");
        two.close();
        QVERIFY(QFile::copy(two.fileName(), dir.filePath(QStringLiteral("one.txt"))));
        QFile one(dir.filePath(QStringLiteral("one.txt")));
        QVERIFY(one.resize(17));

        const Finished run = runProgram(kProgram, expanded(arguments, dir));
        QCOMPARE(QString::fromLocal8Bit(run.err), expanded({err}, dir).constFirst());
        QCOMPARE(run.status, status);
        QCOMPARE(readAll(dir.filePath(QStringLiteral("r.txt"))), results);
    }

    void versionAndHelp()
    {
        const Finished version = runProgram(kProgram, {"--version"});
        QCOMPARE(version.out, QByteArray("meridane " MERIDANE_VERSION "\n"));
        const Finished help = runProgram(kProgram, {"--help"});
        QCOMPARE(help.status, 0);
        QVERIFY(help.out.contains("-o, --output <file>"));
    }

    void windowOrJob_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<bool>("job");
        QTest::newRow("no arguments") << QStringList() << false;
        QTest::newRow("a restored session") << QStringList{"-session", "10d2f3a"} << false;
        QTest::newRow("a style, joined") << QStringList{"-style=fusion"} << false;
        QTest::newRow("a style, two dashes")
            << QStringList{"--style", "fusion", "-reverse"} << false;
        QTest::newRow("a list file") << QStringList{"points.txt"} << true;
        QTest::newRow("a unit") << QStringList{"-u", "feet"} << true;
        QTest::newRow("help") << QStringList{"--help"} << true;
        QTest::newRow("a session and a list file")
            << QStringList{"-session", "10d2f3a", "points.txt"} << true;
    }

    void windowOrJob()
    {
        QFETCH(QStringList, arguments);
        QFETCH(bool, job);
        QCOMPARE(app::IsCommandLineJob(arguments), job);
    }

    void terminalLine_data()
    {
        QTest::addColumn<double>("percent");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("line");
        QTest::newRow("start") << 0.0 << "Reading a"
                               << "[                    ]   0% Reading a";
        QTest::newRow("half") << 50.0 << "x"
                              << "[##########          ]  50% x";
        QTest::newRow("past the end") << 100.05 << ""
                                      << "[####################] 100% ";
        QTest::newRow("long text cut to the width")
            << 10.0 << QString(100, 'w') << "[##                  ]  10% " + QString(12, 'w');
    }
    void terminalLine()
    {
        QFETCH(double, percent);
        QFETCH(QString, text);
        QFETCH(QString, line);
        QCOMPARE(platform::TerminalProgress::line(percent, text, 40), line);
    }
};

QTEST_MAIN(CommandLineTest)
#include "tst_commandline.moc"
