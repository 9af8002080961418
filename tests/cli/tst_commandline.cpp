// The job without a window: the same file as the window's save, one line on
// standard error per error, and the exit status.

#include "core/argumentbytes.h"
#include "cli/console/terminalprogress.h"
#include "form1controls.h"
#include "window/form1.h"
#include "lists/formats/plainlist.h"
#include "cli/resultrows.h"
#include "cli/resultsfile.h"
#include "core/failure.h"
#include "engine/numbers.h"
#include "app/startmode.h"
#include "commandlinesupport.h"
#include "platform/desktop/yield.h"
#include "scripteddialogs.h"
#include "archivewriter.h"
#include "fitwriter.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>
#include <cmath>
#include <csignal>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QString kProgram = QStringLiteral(MERIDANE_EXECUTABLE);

// The window's way: load both files, pick Kilometers, run, save.
QByteArray savedByTheWindow(const QString& path)
{
    ScriptedDialogs dialogs;
    window::Form1 form;
    form.Form_Load();
    ui(form).Option3->setChecked(true);
    dialogs.openReplies.enqueue(goldenLists());
    QTest::mouseClick(ui(form).PushButton3, Qt::LeftButton);
    QTest::mouseClick(ui(form).PushButton17, Qt::LeftButton);
    dialogs.saveReplies.enqueue(path);
    QTest::mouseClick(ui(form).PushButton4, Qt::LeftButton);
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

// A track file of golden/tracks; "sessions.fit" is written into dir.
QString trackPath(const QString& name, const QTemporaryDir& dir)
{
    if (name != QLatin1String("sessions.fit"))
        return QDir(QStringLiteral(GOLDEN_DIR "/tracks")).filePath(name);
    // Two sessions: 2024-09-01T00:00:00Z on, and an hour later, the last
    // record with a compressed time (7 past the last time's 32-second step).
    const int64_t start = 1094083200;
    const auto at = fitwriter::semicircles;
    fitwriter::Writer fit;
    fit.define(0, fitwriter::kRecord, {{253, 4}, {0, 4}, {1, 4}})
        .data(0, {start, at(46.5), at(7.25)})
        .data(0, {start + 10, at(46.501), at(7.251)})
        .define(1, 18 /* session */, {{253, 4}})
        .data(1, {start + 11})
        .data(0, {start + 3600, at(46.6), at(7.35)})
        .define(2, fitwriter::kRecord, {{0, 4}, {1, 4}})
        .data(2, {at(46.601), at(7.351)}, true);
    const QString path = dir.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(fit.file()) < 0)
        return {};
    return path;
}

// The program on one track file.
Finished runTrack(const QString& input, const QStringList& arguments)
{
    QTemporaryDir dir;
    return runProgram(kProgram, arguments + QStringList{trackPath(input, dir)});
}

// A decimal text as a whole number of units of its `places`-th decimal.
qint64 units(QStringView text, int places)
{
    const qsizetype point = text.indexOf(u'.');
    const QStringView whole = point < 0 ? text : text.first(point);
    const QString fraction = (point < 0 ? QString() : text.sliced(point + 1).toString())
                                 .leftJustified(places, QLatin1Char('0'));
    return whole.toLongLong() * qint64(std::pow(10, places)) + fraction.toLongLong();
}

// The rows of a csv without its header, split into fields.
QList<QStringList> csvRows(const QByteArray& csv)
{
    QList<QStringList> rows;
    for (const QString& line : QString::fromUtf8(csv).split(QLatin1Char('\n'), Qt::SkipEmptyParts))
        rows << line.split(QLatin1Char(','));
    rows.removeFirst();
    return rows;
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
        QTest::newRow("command line, second list from standard input") << "stdin";
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
            const bool piped = way == QLatin1String("stdin");
            const QStringList lists = piped ? QStringList{goldenLists()[0], "-"} : goldenLists();
            const Finished run =
                runProgram(kProgram, QStringList{"--unit", "kilometers"} + output + lists,
                           piped ? readAll(goldenLists()[1]) : QByteArray());
            QCOMPARE(run.err, goldenNotes());
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
            << "meridane: {dir}/missing.txt: No such file or directory\n" << twoPoints;
        QTest::newRow("the only list missing: nothing written")
            << QStringList{"-o", "{dir}/r.txt", "{dir}/missing.txt"} << 1
            << "meridane: {dir}/missing.txt: No such file or directory\n" << none;
        QTest::newRow("a file where a folder of the path should be: not found, as in the window")
            << QStringList{"-o", "{dir}/r.txt", "{dir}/one.txt/x", "{dir}/two.txt"} << 1
            << "meridane: {dir}/one.txt/x: Not a directory\n"
            << twoPoints;
        QTest::newRow("folder as list file: the report's text on one line")
            << QStringList{"-o", "{dir}/r.txt", "{dir}", "{dir}/two.txt"} << 1
            << "meridane: {dir}: Is a directory\n" << twoPoints;
        QTest::newRow("results folder missing")
            << QStringList{"-o", "{dir}/no/r.txt", "{dir}/two.txt"} << 1
            << "meridane: {dir}/no/r.txt: No such file or directory\n" << none;
        QTest::newRow("one point: the header alone")
            << QStringList{"-o", "{dir}/r.txt", "{dir}/one.txt"} << 0 << "" << headerOnly;
        QTest::newRow("unit in any case")
            << QStringList{"-u", "MILES", "-o", "{dir}/r.txt", "{dir}/two.txt"} << 0 << ""
            << twoPoints;
        QTest::newRow("unknown unit: nothing written")
            << QStringList{"-u", "parsecs", "-o", "{dir}/r.txt", "{dir}/two.txt"} << 2
            << "meridane: unknown unit \"parsecs\": use miles, feet, kilometers, meters, mi, ft, "
               "km, m or nmi\n"
               "Try 'meridane --help' for more information.\n"
            << none;
        QTest::newRow("no list files")
            << QStringList{"-o", "{dir}/r.txt"} << 2
            << "meridane: no list files given\nTry 'meridane --help' for more information.\n"
            << none;
        QTest::newRow("one column: nothing written")
            << QStringList{"--columns", "3", "-o", "{dir}/r.txt", "{dir}/two.txt"} << 2
            << "meridane: --columns takes two columns, such as 3,4 or lat,lon\n"
               "Try 'meridane --help' for more information.\n"
            << none;
        QTest::newRow("three columns: nothing written")
            << QStringList{"--columns", "1,2,3", "-o", "{dir}/r.txt", "{dir}/two.txt"} << 2
            << "meridane: --columns takes two columns, such as 3,4 or lat,lon\n"
               "Try 'meridane --help' for more information.\n"
            << none;
        QTest::newRow("unknown separator, shown on one line")
            << QStringList{"--separator", "|\n", "{dir}/two.txt"} << 2
            << "meridane: unknown separator \"|\\n\": use , ; tab or space\n"
               "Try 'meridane --help' for more information.\n"
            << none;
        QTest::newRow("--time in the text format: nothing written")
            << QStringList{"--time", "-o", "{dir}/r.txt", "{dir}/two.txt"} << 2
            << "meridane: --time needs --format csv, tsv or geojson: the text format has no "
               "room for times\nTry 'meridane --help' for more information.\n"
            << none;
        QTest::newRow("--summary as geojson")
            << QStringList{"--summary", "-f", "geojson", "-o", "{dir}/r.txt", "{dir}/two.txt"} << 2
            << "meridane: --summary is written as text, csv or tsv, not geojson\n"
               "Try 'meridane --help' for more information.\n"
            << none;
        QTest::newRow("--summary with --time")
            << QStringList{"--summary", "--time", "-f", "csv", "{dir}/two.txt"} << 2
            << "meridane: --summary holds the times already: leave out --time\n"
               "Try 'meridane --help' for more information.\n"
            << none;
        QTest::newRow("empty unit: nothing written")
            << QStringList{"-u", "", "-o", "{dir}/r.txt", "{dir}/two.txt"} << 2
            << "meridane: unknown unit \"\": use miles, feet, kilometers, meters, mi, ft, km, m "
               "or nmi\nTry 'meridane --help' for more information.\n"
            << none;
        QTest::newRow("the output a link to a list: refused")
            << QStringList{"-o", "{dir}/link.txt", "{dir}/two.txt"} << 1
            << "meridane: {dir}/link.txt: The output is one of the lists to read\n"
            << none;
        QTest::newRow("a list a link to the output: refused")
            << QStringList{"-o", "{dir}/two.txt", "{dir}/link.txt"} << 1
            << "meridane: {dir}/two.txt: The output is one of the lists to read\n"
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
        QVERIFY(QFile::link(two.fileName(), dir.filePath(QStringLiteral("link.txt"))));

        const Finished run = runProgram(kProgram, expanded(arguments, dir));
        QCOMPARE(QString::fromLocal8Bit(run.err), expanded({err}, dir).constFirst());
        QCOMPARE(run.status, status);
        QCOMPARE(readAll(dir.filePath(QStringLiteral("r.txt"))), results);
    }

    // Each row: the list {dir}/list.txt, the arguments, standard input, the
    // locale, and what the run gives: status, standard output, standard error.
    void scripts_data()
    {
        QTest::addColumn<QByteArray>("list");
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<QString>("locale");
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("out");
        QTest::addColumn<QString>("err");
        const QByteArray pair("42.8712,-71.3878\n33.0169,-116.846\n");
        const QByteArray miles("lat1,lon1,lat2,lon2,distance_mi,cumulative_mi\n"
                               "42.8712,-71.3878,33.0169,-116.846,2534.0868,2534.0868\n");
        // GeodSolve -i -p 6 on the WGS84 ellipsoid, in meters: 4089466.823022,
        // 12122309.346758, 16989295.770540, 5708548.250459, 19936288.578965 (nearly antipodal).
        const QByteArray track("42.8712,-71.3878\n33.0169,-116.846\n-33.8688,151.2093\n"
                               "51.5074,-0.1278\n0,0\n0.5,179.5\n");
        QTest::newRow("wgs84: GeodSolve's distances, rounded to the unit's places")
            << track << QStringList{"-f", "csv", "--model", "wgs84", "-u", "m", "{dir}/list.txt"}
            << QByteArray() << "" << 0
            << QByteArray("lat1,lon1,lat2,lon2,distance_m,cumulative_m\n"
                          "42.8712,-71.3878,33.0169,-116.846,4089466.82,4089466.82\n"
                          "33.0169,-116.846,-33.8688,151.2093,12122309.35,16211776.17\n"
                          "-33.8688,151.2093,51.5074,-0.1278,16989295.77,33201071.94\n"
                          "51.5074,-0.1278,0,0,5708548.25,38909620.19\n"
                          "0,0,0.5,179.5,19936288.58,58845908.77\n")
            << "";
        // GeodSolve -i -p 6: 4089466.823022 m, 13416885.9023 ft.
        QTest::newRow("wgs84 in feet: GeodSolve's distance")
            << pair << QStringList{"-f", "csv", "--model", "wgs84", "-u", "ft", "{dir}/list.txt"}
            << QByteArray() << "" << 0
            << QByteArray("lat1,lon1,lat2,lon2,distance_ft,cumulative_ft\n"
                          "42.8712,-71.3878,33.0169,-116.846,13416885.9,13416885.9\n")
            << "";
        // 2534.0868 statute miles of the window's sphere are 2202.0602 of 1.15078.
        QTest::newRow("sphere in nautical miles")
            << pair << QStringList{"-f", "csv", "-u", "nmi", "{dir}/list.txt"} << QByteArray() << ""
            << 0
            << QByteArray("lat1,lon1,lat2,lon2,distance_nmi,cumulative_nmi\n"
                          "42.8712,-71.3878,33.0169,-116.846,2202.0602,2202.0602\n")
            << "";
        QTest::newRow("the same parallel: equal latitude texts are no equal points")
            << QByteArray("42.8712,-71.3878\n42.8712,-116.846\n")
            << QStringList{"-f", "csv", "{dir}/list.txt"} << QByteArray() << "" << 0
            << QByteArray("lat1,lon1,lat2,lon2,distance_mi,cumulative_mi\n"
                          "42.8712,-71.3878,42.8712,-116.846,2271.5538,2271.5538\n")
            << "";
        QTest::newRow("the only list missing: nothing on standard output")
            << QByteArray() << QStringList{"-f", "csv", "{dir}/missing.txt"} << QByteArray() << ""
            << 1 << QByteArray() << "meridane: {dir}/missing.txt: No such file or directory\n";
        QTest::newRow("wgs84 in nautical miles, tsv from standard input")
            << QByteArray() << QStringList{"-f", "tsv", "--model", "wgs84", "-u", "NMI", "-"}
            << pair << "" << 0
            << QByteArray("lat1\tlon1\tlat2\tlon2\tdistance_nmi\tcumulative_nmi\n"
                          "42.8712\t-71.3878\t33.0169\t-116.846\t2208.1354\t2208.1354\n")
            << "";
        QTest::newRow("wgs84 in the text format: the window's sentence")
            << pair << QStringList{"--model", "wgs84", "-u", "km", "{dir}/list.txt"} << QByteArray()
            << "" << 0
            << "Results" + QByteArray(74, ' ') +
                   "\t\r\nDistance between (42.8712,-71.3878) and (33.0169,-116.846) is "
                   "4089.467 kilometers\t\r\n"
            << "";
        // 0.0000006 degrees are 0.0000415 miles: each rounds to 0, and the
        // total stays the sum of the column (the exact sum would end in 7).
        QTest::newRow("running total: the sum of the rounded distances")
            << QByteArray("0,0\n0,0.0000006\n0,0.0000012\n0,0.0000018\n0,1\n")
            << QStringList{"-f", "csv", "--model", "wgs84", "{dir}/list.txt"} << QByteArray() << ""
            << 0
            << QByteArray("lat1,lon1,lat2,lon2,distance_mi,cumulative_mi\n"
                          "0,0,0,0.0000006,0,0\n0,0.0000006,0,0.0000012,0,0\n"
                          "0,0.0000012,0,0.0000018,0,0\n0,0.0000018,0,1,69.1706,69.1706\n")
            << "";
        QTest::newRow("csv: a decimal comma is quoted, the distance has a point")
            << QByteArray("42,8712;-71,3878\n33,0169;-116,846\n")
            << QStringList{"-f", "csv", "--separator", ";", "{dir}/list.txt"} << QByteArray()
            << "de_DE.UTF-8" << 0
            << QByteArray("lat1,lon1,lat2,lon2,distance_mi,cumulative_mi\n"
                          "\"42,8712\",\"-71,3878\",\"33,0169\",\"-116,846\",2534.0868,2534.0868\n")
            << "";
        // Arabic-Indic digits and separator, read by the locale: written as read
        // in UTF-8; the text format pads by UTF-16 code units, as the window does.
        const QString arabic = QStringLiteral("\u0664\u0662\u066b\u0668,\u0661\u0662");
        const QString arabicMiles = QStringLiteral("\u0662\u0669\u0661\u0667\u066b\u0667\u0669\u0669");
        QTest::newRow("Arabic digits in csv: the texts as read, the figures in ASCII")
            << (arabic + "\n1.5,2\n").toUtf8() << QStringList{"-f", "csv", "{dir}/list.txt"}
            << QByteArray() << "ar_EG.UTF-8" << 0
            << ("lat1,lon1,lat2,lon2,distance_mi,cumulative_mi\n" + arabic +
                ",1.5,2,2917.799,2917.799\n")
                   .toUtf8()
            << "";
        QTest::newRow("Arabic digits in text: padded by UTF-16 code units")
            << (arabic + "\n1.5,2\n").toUtf8() << QStringList{"{dir}/list.txt"} << QByteArray()
            << "ar_EG.UTF-8" << 0
            << ("Results" + QString(49, ' ') + "\t\r\nDistance between (" + arabic +
                ") and (1.5,2) is " + arabicMiles + " miles\t\r\n")
                   .toUtf8()
            << "";
        QTest::newRow("tsv: a tab in a field is written as \\t")
            << QByteArray("42.8712\t,-71.3878\n33.0169,-116.846\n")
            << QStringList{"-f", "tsv", "{dir}/list.txt"} << QByteArray() << "" << 0
            << QByteArray("lat1\tlon1\tlat2\tlon2\tdistance_mi\tcumulative_mi\n"
                          "42.8712\\t\t-71.3878\t33.0169\t-116.846\t2534.0868\t2534.0868\n")
            << "";
        QTest::newRow("columns by name, in any case, quoted")
            << QByteArray("id;\"Latitude\";Longitude\n7;42.8712;-71.3878\n8;\"33.0169\";-116.846\n")
            << QStringList{"-f", "csv", "--separator", ";", "--columns", "latitude,LONGITUDE",
                           "{dir}/list.txt"}
            << QByteArray() << "" << 0 << miles << "";
        QTest::newRow("columns by number, runs of spaces")
            << QByteArray("a  b 42.8712 -71.3878\n\tc d 33.0169   -116.846  \n")
            << QStringList{"-f", "csv", "--separator", "space", "--columns", "3,4",
                           "{dir}/list.txt"}
            << QByteArray() << "" << 0 << miles << "";
        QTest::newRow("a column name missing from the first line, shown on one line")
            << pair << QStringList{"-f", "csv", "--columns", "la\x1bt,lon", "{dir}/list.txt"}
            << QByteArray() << "" << 1 << QByteArray("lat1,lon1,lat2,lon2,distance_mi,cumulative_mi\n")
            << "meridane: {dir}/list.txt: No column \"la\\et\" in the first line\n";
        QTest::newRow("column 0 is no number: a name missing from the first line")
            << pair << QStringList{"-f", "csv", "--columns", "0,2", "{dir}/list.txt"}
            << QByteArray() << "" << 1
            << QByteArray("lat1,lon1,lat2,lon2,distance_mi,cumulative_mi\n")
            << "meridane: {dir}/list.txt: No column \"0\" in the first line\n";
        QTest::newRow("a column number past the first line's last column, as a missing name")
            << pair << QStringList{"-f", "csv", "--columns", "1,5", "{dir}/list.txt"}
            << QByteArray() << "" << 1 << QByteArray("lat1,lon1,lat2,lon2,distance_mi,cumulative_mi\n")
            << "meridane: {dir}/list.txt: No column \"5\" in the first line\n";
        const QByteArray flawed("lat,lon\n42.8712,-71.3878\n\n95,0\n33.0169,-116.846\n");
        const QString noted("meridane: {dir}/list.txt: 1 line skipped (line 1), "
                            "1 point out of range (line 4)\n");
        const QByteArray flawedRows("lat1,lon1,lat2,lon2,distance_mi,cumulative_mi\n"
                                    "42.8712,-71.3878,95,0,3376.3785,3376.3785\n"
                                    "95,0,33.0169,-116.846,3786.7484,7163.1269\n");
        QTest::newRow("skipped lines and a point out of range: noted, kept")
            << flawed << QStringList{"-f", "csv", "{dir}/list.txt"} << QByteArray() << "" << 0
            << flawedRows << noted;
        QTest::newRow("--strict: the same is a failure")
            << flawed << QStringList{"-f", "csv", "--strict", "{dir}/list.txt"} << QByteArray()
            << "" << 1 << flawedRows << noted;
        fitwriter::Writer watch;
        watch.define(0, fitwriter::kRecord, {{253, 4}})
            .data(0, {1000})
            .define(1, fitwriter::kRecord, {{0, 4}, {1, 4}})
            .data(1, {fitwriter::semicircles(-95), 0});
        QTest::newRow("FIT: the notes name records")
            << watch.file() << QStringList{"-f", "csv", "{dir}/list.txt"} << QByteArray() << "" << 0
            << QByteArray("lat1,lon1,lat2,lon2,distance_mi,cumulative_mi\n")
            << "meridane: {dir}/list.txt: 1 point out of range (record 4)\n";
        QTest::newRow("markup of no format read: said so, no lines skipped")
            << QByteArray("<points>\n1,2\n</points>\n") << QStringList{"-f", "csv", "{dir}/list.txt"}
            << QByteArray() << "" << 1 << QByteArray("lat1,lon1,lat2,lon2,distance_mi,cumulative_mi\n")
            << "meridane: {dir}/list.txt: not a GPX, KML, TCX or GeoJSON document\n";
        const QString unmeasured("meridane: {dir}/list.txt: Invalid procedure call or argument\n");
        QTest::newRow("wgs84 beyond the pole: each pair reported once, 0")
            << QByteArray("1,2\n95,0\n3,4\n") << QStringList{"--model", "wgs84", "{dir}/list.txt"}
            << QByteArray() << "" << 1
            << QByteArray("Results                                     \t\r\n"
                          "Distance between (1,2) and (95,0) is 0 miles\t\r\n"
                          "Distance between (95,0) and (3,4) is 0 miles\t\r\n")
            << unmeasured + unmeasured +
                   "meridane: {dir}/list.txt: 1 point out of range (line 2)\n";
        QTest::newRow("a GPX track's point out of range: noted at its line")
            << QByteArray() << QStringList{"-f", "csv", "-"}
            << QByteArray("<gpx>\n<trkpt lat=\"1\" lon=\"2\"/>\n<trkpt lat=\"95\" lon=\"0\"/>\n</gpx>\n")
            << "" << 0
            << QByteArray("lat1,lon1,lat2,lon2,distance_mi,cumulative_mi\n1,2,95,0,6490.1887,6490.1887\n")
            << "meridane: -: 1 point out of range (line 3)\n";
        fitwriter::Writer ride;
        ride.define(0, fitwriter::kRecord, {{0, 4}, {1, 4}})
            .data(0, {fitwriter::kInvalid, fitwriter::kInvalid})
            .data(0, {fitwriter::semicircles(42.8712), fitwriter::semicircles(-71.3878)})
            .data(0, {fitwriter::semicircles(33.0169), fitwriter::semicircles(-116.846)});
        ride.define(1, fitwriter::kRecord, {{253, 4}}).data(1, {1000});
        QTest::newRow("--strict: a compressed FIT ride with records without a fix: nothing lost")
            << QByteArray() << QStringList{"-f", "csv", "--strict", "-"}
            << archivewriter::compressed(ride.file(), ARCHIVE_FILTER_GZIP) << "" << 0 << miles
            << "";
        QTest::newRow("--strict: a KML gx:coord that is no point is a skipped line")
            << QByteArray() << QStringList{"-f", "csv", "--strict", "-"}
            << QByteArray("<kml xmlns:gx=\"http://www.google.com/kml/ext/2.2\"><gx:Track>\n"
                          "<gx:coord>2 1 0</gx:coord>\n<gx:coord>4</gx:coord>\n"
                          "<gx:coord>4 3</gx:coord>\n</gx:Track></kml>\n")
            << "" << 1
            << QByteArray("lat1,lon1,lat2,lon2,distance_mi,cumulative_mi\n1,2,3,4,195.2294,195.2294\n")
            << "meridane: -: 1 line skipped (line 3)\n";
        QTest::newRow("many skipped lines: the first five named")
            << QByteArray() << QStringList{"-f", "csv", "-"} << QByteArray("1\n2\n3\n4\n5\n6\n")
            << "" << 0 << QByteArray("lat1,lon1,lat2,lon2,distance_mi,cumulative_mi\n")
            << "meridane: -: 6 lines skipped (lines 1, 2, 3, 4, 5, ...)\n";
        QTest::newRow("nautical miles in the text format: a wrong command line")
            << pair << QStringList{"-u", "nmi", "{dir}/list.txt"} << QByteArray() << "" << 2
            << QByteArray()
            << "meridane: the text format has no unit \"nmi\": use --format csv or tsv\n"
               "Try 'meridane --help' for more information.\n";
    }
    void scripts()
    {
        QFETCH(QByteArray, list);
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, input);
        QFETCH(QString, locale);
        QTemporaryDir dir;
        QFile file(dir.filePath(QStringLiteral("list.txt")));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.write(list) == list.size());
        file.close();

        const Finished run = runProgram(kProgram, expanded(arguments, dir), input, locale);
        QFETCH(QString, err);
        QCOMPARE(QString::fromUtf8(run.err), expanded({err}, dir).constFirst());
        QTEST(run.status, "status");
        QTEST(run.out, "out");
    }

    // Each row: track files of golden/tracks, the arguments before them, and
    // the golden file of that folder that the run writes on standard output.
    void tracks_data()
    {
        QTest::addColumn<QStringList>("inputs");
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("golden");
        const QStringList gpx{"two-segments.gpx"};
        const QStringList times{"-f", "csv", "--time", "-u", "km"};
        QTest::newRow("GPX, two segments an hour apart: paired across the gap, as before")
            << gpx << times << "two-segments.csv";
        QTest::newRow("GPX with --segments: no pair over the gap, the total runs on")
            << gpx << times + QStringList{"--segments"} << "two-segments-apart.csv";
        QTest::newRow("GPX without --time: today's rows")
            << gpx << QStringList{"-f", "csv", "-u", "km"} << "two-segments-plain.csv";
        QTest::newRow("FIT: sessions are segments, timestamps and a compressed time")
            << QStringList{"sessions.fit"}
            << QStringList{"-f", "tsv", "--time", "--segments", "-u", "m"} << "sessions.tsv";
        QTest::newRow("NMEA: RMC dates, GGA after midnight takes the next day")
            << QStringList{"midnight.nmea"} << times << "midnight.csv";
        QTest::newRow("KML: a TimeStamp'd Point, a gx:Track with when, a LineString")
            << QStringList{"gx-track.kml"} << times + QStringList{"--segments"} << "gx-track.csv";
        QTest::newRow("TCX: Tracks are segments, a Trackpoint's Time")
            << QStringList{"laps.tcx"} << times + QStringList{"--segments"} << "laps.csv";
        QTest::newRow("GeoJSON: coordTimes and times, each line a segment")
            << QStringList{"lines.geojson"} << times + QStringList{"--segments"}
            << "lines.csv";
        QTest::newRow("times 9999 years apart, one nanosecond apart, backwards: seconds exact")
            << QStringList{"far-apart.gpx"} << QStringList{"-f", "csv", "--time", "-u", "m"}
            << "far-apart.csv";
        QTest::newRow("a list without times: empty cells")
            << QStringList{"no-times.txt"} << times << "no-times.csv";
        QTest::newRow("with --segments files never pair")
            << QStringList{"no-times.txt", "no-times.txt"}
            << QStringList{"-f", "csv", "--segments", "-u", "km"} << "two-files-apart.csv";
        QTest::newRow("geojson: a feature a pair, with times")
            << gpx << QStringList{"-f", "geojson", "--time", "--segments", "-u", "km"}
            << "two-segments.geojson";
        QTest::newRow("summary as text, segments apart")
            << gpx << QStringList{"--summary", "--segments", "-u", "km"} << "summary.txt";
        QTest::newRow("summary as tsv, across the gap")
            << gpx << QStringList{"--summary", "-f", "tsv", "-u", "nmi"} << "summary.tsv";
        QTest::newRow("summary of a list without times: empty cells")
            << QStringList{"no-times.txt"} << QStringList{"--summary", "-f", "csv"}
            << "summary-no-times.csv";
    }
    void tracks()
    {
        QFETCH(QStringList, inputs);
        QFETCH(QStringList, arguments);
        QFETCH(QString, golden);
        QTemporaryDir dir;
        for (const QString& input : inputs)
            arguments << trackPath(input, dir);
        const Finished run = runProgram(kProgram, arguments);
        QCOMPARE(run.err, QByteArray());
        QCOMPARE(run.status, 0);
        QCOMPARE(run.out, readAll(trackPath(golden, dir)));
    }

    // The summary's distance is the sum of the rows' distances, and the rows'
    // last running total; its pairs are the rows.
    void summaryAddsTheRows_data()
    {
        QTest::addColumn<QString>("input");
        QTest::addColumn<QStringList>("arguments");
        for (const char* input : {"two-segments.gpx", "gx-track.kml", "midnight.nmea",
                                  "sessions.fit", "lines.geojson", "no-times.txt"}) {
            QTest::addRow("%s", input) << input << QStringList{"-u", "km"};
            QTest::addRow("%s, segments, feet", input) << input << QStringList{"--segments", "-u", "ft"};
        }
    }
    void summaryAddsTheRows()
    {
        QFETCH(QString, input);
        QFETCH(QStringList, arguments);
        const Finished rows = runTrack(input, arguments + QStringList{"-f", "csv"});
        const Finished summary = runTrack(input, arguments + QStringList{"--summary", "-f", "csv"});
        QCOMPARE(rows.status, 0);
        QCOMPARE(summary.status, 0);
        const QList<QStringList> table = csvRows(rows.out);
        const QStringList record = csvRows(summary.out).constFirst();
        const int places = 4; // the most any unit has
        qint64 sum = 0;
        for (const QStringList& row : table)
            sum += units(row[4], places);
        QCOMPARE(record[1].toLongLong(), qint64(table.size()));
        QCOMPARE(units(record[3], places), sum);
        QVERIFY(!table.isEmpty());
        QCOMPARE(record[3], table.constLast()[5]);
    }

    // The GeoJSON is JSON a reader takes: a FeatureCollection of LineStrings
    // from each pair's first point to its second, [longitude, latitude] with
    // the numbers as the csv has the texts (written as read where they are
    // JSON numbers), and the csv's figures as properties.
    void geojsonReadBack_data()
    {
        QTest::addColumn<QString>("input");
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("GPX with times")
            << "two-segments.gpx" << QStringList{"--time", "-u", "km"};
        QTest::newRow("a list whose texts are no JSON numbers (\"+47.3850\", \" 8.5500\")")
            << "no-times.txt" << QStringList{"--time"};
        QTest::newRow("NMEA, nautical miles") << "midnight.nmea" << QStringList{"-u", "nmi"};
        QTest::newRow("FIT, segments") << "sessions.fit" << QStringList{"--segments", "--time"};
    }
    void geojsonReadBack()
    {
        QFETCH(QString, input);
        QFETCH(QStringList, arguments);
        const Finished csv = runTrack(input, arguments + QStringList{"-f", "csv"});
        const Finished json = runTrack(input, arguments + QStringList{"-f", "geojson"});
        QCOMPARE(json.status, 0);
        QJsonParseError error;
        const QJsonDocument document = QJsonDocument::fromJson(json.out, &error);
        QCOMPARE(error.error, QJsonParseError::NoError);
        QCOMPARE(document["type"].toString(), QStringLiteral("FeatureCollection"));
        const QJsonArray features = document["features"].toArray();
        const QList<QStringList> rows = csvRows(csv.out);
        QCOMPARE(features.size(), rows.size());
        for (qsizetype i = 0; i < rows.size(); ++i) {
            const QStringList& row = rows[i];
            const QJsonObject feature = features[i].toObject();
            const QJsonObject geometry = feature["geometry"].toObject();
            QCOMPARE(geometry["type"].toString(), QStringLiteral("LineString"));
            const QJsonArray line = geometry["coordinates"].toArray();
            QCOMPARE(line.size(), 2);
            for (int end = 0; end < 2; ++end) {
                const QString lat = row[2 * end].trimmed(), lon = row[2 * end + 1].trimmed();
                QCOMPARE(line[end][0].toDouble(), lon.toDouble());
                QCOMPARE(line[end][1].toDouble(), lat.toDouble());
                if (!lat.startsWith(u'+') && !lon.startsWith(u'+'))
                    QVERIFY(json.out.contains(('[' + lon + ',' + lat + ']').toUtf8()));
            }
            const QJsonObject properties = feature["properties"].toObject();
            QCOMPARE(properties["distance"].toDouble(), row[4].toDouble());
            QCOMPARE(properties["cumulative"].toDouble(), row[5].toDouble());
            if (arguments.contains(QStringLiteral("--time"))) {
                QCOMPARE(properties["time1"].toString(), row[6]);
                QCOMPARE(properties["time2"].toString(), row[7]);
                QCOMPARE(properties["seconds"].isNull(), row[8].isEmpty());
                QCOMPARE(properties["speed"].toDouble(), row[9].toDouble());
            }
        }
    }

    // What a shell hands over: names as bytes (made with printf), pipes, devices.
    void fromAShell_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<QByteArray>("out");
        QTest::addColumn<QString>("err");
        QTest::newRow("a list whose name is not UTF-8")
            << "printf '1,2\\n3,4\\n' >\"$(printf 'bad\\377.txt')\"; "
               "exec \"$0\" -f csv \"$(printf 'bad\\377.txt')\""
            << QByteArray("lat1,lon1,lat2,lon2,distance_mi,cumulative_mi\n1,2,3,4,195.2294,195.2294\n")
            << "";
        QTest::newRow("an output whose name is not UTF-8 is that very name")
            << "printf '1,2\\n' >a.txt; \"$0\" -o \"$(printf 'out\\377.txt')\" a.txt && "
               "cat \"$(printf 'out\\377.txt')\""
            << QByteArray("Results\t\r\n") << "";
        QTest::newRow("an output that is a symbolic link: the file it points at is replaced")
            << "printf old >t.txt; ln -s t.txt l.txt; printf '1,2\\n' >a.txt; "
               "\"$0\" -o l.txt a.txt && test -L l.txt && cat t.txt"
            << QByteArray("Results\t\r\n") << "";
        QTest::newRow("control characters in a name are shown escaped")
            << "exec \"$0\" \"$(printf 'no\\nsuch\\033[31m\\\\\\377.txt')\"" << QByteArray()
            << "meridane: no\\nsuch\\e[31m\\\\\\xff.txt: No such file or directory\n";
        QTest::newRow("a named pipe is read as given")
            << "mkfifo p; printf '1,2\\n3,4\\n' >p & exec \"$0\" p"
            << QByteArray("Results                                           \t\r\n"
                          "Distance between (1,2) and (3,4) is 195.2294 miles\t\r\n")
            << "";
        QTest::newRow("more lists than descriptors")
            << "ulimit -n 64 && for i in $(seq 100); do echo $((i % 80)),1 >$i.txt; done && "
               "\"$0\" *.txt | wc -l"
            << QByteArray("100\n") << "";
        QTest::newRow("standard input read from where it stands, once")
            << "printf '9,9\\n1,2\\n3,4\\n' >a.txt; (read -r skip; exec \"$0\" -) <a.txt"
            << QByteArray("Results                                           \t\r\n"
                          "Distance between (1,2) and (3,4) is 195.2294 miles\t\r\n")
            << "";
        // The list typed on a terminal, ended by one Ctrl-D; waited on within a deadline.
        QTest::newRow("one end of file on a terminal ends standard input")
            << "exec python3 -c 'import os, pty, signal, sys\n"
               "pid, fd = pty.fork()\n"
               "if pid == 0:\n"
               "    os.dup2(os.open(\"out\", os.O_WRONLY | os.O_CREAT), 1)\n"
               "    os.execv(sys.argv[1], [sys.argv[1], \"-f\", \"csv\", \"-\"])\n"
               "os.write(fd, b\"1,2\\n3,4\\n\\x04\")\n"
               "signal.alarm(60)\n"
               "os.waitpid(pid, 0)\n"
               "sys.stdout.write(open(\"out\").read())' \"$0\""
            << QByteArray("lat1,lon1,lat2,lon2,distance_mi,cumulative_mi\n1,2,3,4,195.2294,195.2294\n")
            << "";
        QTest::newRow("a closed standard input is a failure, never waited on")
            << "\"$0\" -f csv - <&-; echo $?; exec \"$0\" - <&-"
            << QByteArray("1\n")
            << QString("meridane: -: standard input is closed\n")
                   .repeated(2);
        const QString sameFile("meridane: a.txt: The output is one of the lists to read\n");
        QTest::newRow("an output that is one of the lists: refused, the list kept")
            << "printf '1,2\\n3,4\\n' >a.txt; ln a.txt b.txt; "
               "\"$0\" -o a.txt c.txt b.txt; echo $?; cat a.txt"
            << QByteArray("1\n1,2\n3,4\n") << sameFile;
        QTest::newRow("an output that standard input is redirected from: refused")
            << "printf '1,2\\n3,4\\n' >a.txt; \"$0\" -f csv -o a.txt - <a.txt; echo $?; cat a.txt"
            << QByteArray("1\n1,2\n3,4\n") << sameFile;
        QTest::newRow("GeoJSON nested 30,000 deep: a failure, the points before kept")
            << "{ printf '{\"type\":\"GeometryCollection\",\"geometries\":[{\"type\":\"MultiPoint\",'; "
               "printf '\"coordinates\":[[2,1],[4,3]]},'; "
               "yes '{\"type\":\"GeometryCollection\",\"geometries\":[' | head -n 30000; "
               "yes ']}' | head -n 30001; } >g.json; exec \"$0\" -f csv g.json"
            << QByteArray("lat1,lon1,lat2,lon2,distance_mi,cumulative_mi\n1,2,3,4,195.2294,195.2294\n")
            << "meridane: g.json: Invalid file format: GeoJSON: nested too deeply (more than 256 "
               "levels)\n";
        QTest::newRow("a device is refused before it is opened")
            << "mknod z c 1 3 && exec \"$0\" -f csv z" << QByteArray()
            << "meridane: z: Path/File access error\n";
        // More than a pipe holds goes into the first before the second is
        // opened: the lists are opened in their turn.
        QTest::newRow("named pipes written one after the other")
            << "mkfifo fa fb; (yes 1,2 | head -n 40000 >fa; printf '3,4\\n' >fb) & "
               "timeout 10 \"$0\" -f csv fa fb | wc -l; kill $! 2>/dev/null"
            << QByteArray("40001\n") << "";
        QTest::newRow("text: an output that cannot be written is told before any list is read")
            << "printf '1,2\\n3,4\\n' >a.txt; { \"$0\" -o no/r.txt -; echo $?; cat; } <a.txt"
            << QByteArray("1\n1,2\n3,4\n") << "meridane: no/r.txt: No such file or directory\n";
        QTest::newRow("a closed standard output is told as such")
            << "printf '1,2\\n3,4\\n' >a.txt; \"$0\" -f csv a.txt >&-; echo $?"
            << QByteArray("1\n") << "meridane: -: standard output is closed\n";
        QTest::newRow("an output name of 255 bytes")
            << "n=$(printf '%0251d.txt' 0); printf '1,2\\n3,4\\n' >a.txt; "
               "\"$0\" -f csv -o $n a.txt && wc -l <$n"
            << QByteArray("2\n") << "";
        QTest::newRow("a symbolic link that leads nowhere: refused, the link kept")
            << "ln -s nowhere.txt l.txt; printf '1,2\\n' >a.txt; \"$0\" -o l.txt a.txt; echo $?; "
               "test -L l.txt && test ! -e nowhere.txt && echo kept"
            << QByteArray("1\nkept\n")
            << "meridane: l.txt: The output is a symbolic link that leads nowhere\n";
        QTest::newRow("a replaced file keeps no set-user-ID or set-group-ID bit")
            << "printf old >r.txt; chmod 6755 r.txt; printf '1,2\\n' >a.txt; "
               "\"$0\" -o r.txt a.txt && stat -c %a r.txt"
            << QByteArray("755\n") << "";
    }
    void fromAShell()
    {
        QFETCH(QString, script);
        QTemporaryDir dir;
        QProcess shell;
        shell.setWorkingDirectory(dir.path());
        shell.start(QStringLiteral("/bin/sh"), {"-c", script, kProgram});
        QVERIFY(shell.waitForFinished(120000));
        // Names that QTemporaryDir cannot spell go first.
        QProcess::execute(QStringLiteral("/bin/sh"), {"-c", "rm -f -- \"$0\"/*", dir.path()});
        QTEST(QString::fromUtf8(shell.readAllStandardError()), "err");
        QTEST(shell.readAllStandardOutput(), "out");
    }

    // Names as bytes: the text form gives the bytes back exactly, and the
    // shown form is one line of printable text.
    void argumentNames_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("shown");
        QTest::newRow("UTF-8 as it is") << QByteArray("Zürich 😀.txt") << "Zürich 😀.txt";
        QTest::newRow("a byte that is no UTF-8") << QByteArray("bad\xff.txt") << "bad\\xff.txt";
        QTest::newRow("line break and escape sequence")
            << QByteArray("a\nb\x1b[0m\t") << "a\\nb\\e[0m\\t";
        QTest::newRow("a C1 control in UTF-8") << QByteArray("x\xc2\x85y") << "x\\u0085y";
        QTest::newRow("an overlong slash") << QByteArray("\xc0\xaf") << "\\xc0\\xaf";
        QTest::newRow("a surrogate in UTF-8") << QByteArray("\xed\xa0\x80") << "\\xed\\xa0\\x80";
        QTest::newRow("a sequence cut short") << QByteArray("\xe2\x82z") << "\\xe2\\x82z";
        QTest::newRow("the backslash itself") << QByteArray("a\\xff") << "a\\\\xff";
    }
    void argumentNames()
    {
        QFETCH(QByteArray, bytes);
        QCOMPARE(core::argumentBytes(core::argumentText(bytes)), bytes);
        QTEST(core::shownName(bytes), "shown");
    }

    // A list read with spreadsheet options: the points as "lat|lon", the
    // skipped lines and the lines out of range.
    void spreadsheetLists_data()
    {
        QTest::addColumn<int>("separator"); // -1: none given
        QTest::addColumn<QString>("columns");
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QStringList>("points");
        QTest::addColumn<QList<qint64>>("skipped");
        QTest::addColumn<QList<qint64>>("outOfRange");
        const int comma = int(lists::FieldSeparator::Comma),
                  space = int(lists::FieldSeparator::Space);
        const int semicolon = int(lists::FieldSeparator::Semicolon);
        QTest::newRow("the window's reading: blank lines are not noted")
            << -1 << "" << QStringList{"1,2,London", "", "  ", "x,1", "3 , 4"}
            << QStringList{"1|2", "3 | 4"} << QList<qint64>{4} << QList<qint64>{};
        QTest::newRow("a quoted field holds the separator")
            << comma << "2,3" << QStringList{"\"a,b\",1,2", "\"c\"\"d, e\",3,4"}
            << QStringList{"1|2", "3|4"} << QList<qint64>{} << QList<qint64>{};
        QTest::newRow("a quoted number with a doubled quote is no number")
            << semicolon << "" << QStringList{"\"1\";\"2\"", "\"1\"\"\";2"}
            << QStringList{"1|2"} << QList<qint64>{2} << QList<qint64>{};
        QTest::newRow("runs of spaces and tabs, leading and trailing")
            << space << "" << QStringList{"\t 1   2 ", "3\t\t4"} << QStringList{"1|2", "3|4"}
            << QList<qint64>{} << QList<qint64>{};
        QTest::newRow("names in any order pick the columns; the header is no skip")
            << semicolon << "LAT,lon" << QStringList{"lon;x;lat", "2;0;1", "4;0"}
            << QStringList{"1|2"} << QList<qint64>{3} << QList<qint64>{};
        QTest::newRow("header names trimmed of spaces and tabs")
            << comma << "lat,lon" << QStringList{" lat\t, \tlon ", "1,2"} << QStringList{"1|2"}
            << QList<qint64>{} << QList<qint64>{};
        QTest::newRow("a name and a number") << comma << "3,Lon"
                                             << QStringList{"id,Lon,Lat", "7,2,1"}
                                             << QStringList{"1|2"} << QList<qint64>{}
                                             << QList<qint64>{};
        QTest::newRow("out of range: noted and kept; the limits themselves are in range")
            << -1 << "" << QStringList{"90,180", "-90.0001,0", "0,-180.5", "-90,-180"}
            << QStringList{"90|180", "-90.0001|0", "0|-180.5", "-90|-180"} << QList<qint64>{}
            << QList<qint64>{2, 3};
    }
    void spreadsheetLists()
    {
        QFETCH(int, separator);
        QFETCH(QString, columns);
        QFETCH(QStringList, lines);
        QStringList points;
        QList<qint64> skipped, outOfRange;
        lists::PlainListOptions options;
        if (separator >= 0)
            options.separator = lists::FieldSeparator(separator);
        if (!columns.isEmpty()) {
            options.latitudeColumn = columns.section(',', 0, 0);
            options.longitudeColumn = columns.section(',', 1, 1);
        }
        options.skipped = [&](qint64 line) { skipped << line; };
        options.outOfRange = [&](qint64 line) { outOfRange << line; };
        const lists::PointSink point = [&](QStringView latitude, QStringView longitude) {
            points << latitude.toString() + '|' + longitude.toString();
        };
        lists::PlainList list(point, options);
        for (const QString& line : lines)
            list.line(line);
        QTEST(points, "points");
        QTEST(skipped, "skipped");
        QTEST(outOfRange, "outOfRange");
    }

    // The running total is kept in units of the last place.
    void runningTotalText_data()
    {
        QTest::addColumn<QString>("rounded");
        QTest::addColumn<int>("places");
        QTest::addColumn<qint64>("scaled");
        QTest::newRow("a leading zero in the fraction") << "0.0005" << 4 << qint64(5);
        QTest::newRow("fewer decimals than places") << "1234.5" << 2 << qint64(123450);
        QTest::newRow("a whole number") << "12" << 3 << qint64(12000);
        QTest::newRow("zero") << "0" << 4 << qint64(0);
        QTest::newRow("beyond 32 bits") << "40075016.69" << 2 << qint64(4007501669);
    }
    void runningTotalText()
    {
        QFETCH(QString, rounded);
        QFETCH(int, places);
        QFETCH(qint64, scaled);
        QCOMPARE(engine::roundedUnits(rounded.toDouble(), places), scaled);
        char buffer[400];
        const std::string_view text = engine::unitsText(scaled, places, buffer);
        QCOMPARE(QLatin1String(text.data(), qsizetype(text.size())), rounded);
    }

    // The output file: what is left at the name, and the failure's text.
    void resultsFile_data()
    {
        QTest::addColumn<QString>("target"); // what lies at the name before
        QTest::addColumn<bool>("closed");    // false: the job ends without close()
        QTest::addColumn<QByteArray>("left");
        QTest::addColumn<QString>("failure");
        QTest::newRow("a file is replaced, its mode kept") << "file" << true << QByteArray("new")
                                                            << "";
        QTest::newRow("a job that does not finish leaves the old file")
            << "file" << false << QByteArray("old") << "";
        QTest::newRow("a named pipe is written into as it is")
            << "pipe" << true << QByteArray("new") << "";
        QTest::newRow("a missing folder: the system's reason")
            << "no folder" << true << QByteArray("(no file)") << "No such file or directory";
    }
    void resultsFile()
    {
        QFETCH(QString, target);
        QFETCH(bool, closed);
        QTemporaryDir dir;
        QString name = dir.filePath(QStringLiteral("r.txt"));
        int reader = -1;
        if (target == QLatin1String("file")) {
            QFile old(name);
            QVERIFY(old.open(QIODevice::WriteOnly) && old.write("old") == 3);
            QVERIFY(old.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                       QFileDevice::ReadGroup));
        } else if (target == QLatin1String("pipe")) {
            QCOMPARE(::mkfifo(QFile::encodeName(name).constData(), 0600), 0);
            reader = ::open(QFile::encodeName(name).constData(), O_RDONLY | O_NONBLOCK);
        } else {
            name = dir.filePath(QStringLiteral("no/r.txt"));
        }
        QString failure;
        {
            cli::ResultsFile file(QFile::encodeName(name));
            try {
                file.create();
                file.write(QStringLiteral("new"));
                if (closed)
                    file.close();
            } catch (const core::Failure& f) {
                failure = f.description;
            }
        }
        QTEST(failure, "failure");
        if (reader >= 0) {
            char bytes[8] = {};
            const auto read = ::read(reader, bytes, sizeof bytes);
            ::close(reader);
            QCOMPARE(QByteArray(bytes, int(std::max<ssize_t>(read, 0))), QByteArray("new"));
            QVERIFY(QFileInfo(name).exists() && !QFileInfo(name).isFile());
            return;
        }
        QTEST(readAll(name), "left");
        if (target == QLatin1String("file")) {
            struct stat status;
            QCOMPARE(::stat(QFile::encodeName(name).constData(), &status), 0);
            QCOMPARE(status.st_mode & 0777, mode_t(0640));
            QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"r.txt"});
        }
    }

    // A signal that ends the job while it writes removes the unfinished file;
    // the file it would have replaced stays as it was.
    void signalDuringAWrite_data()
    {
        QTest::addColumn<int>("signal");
        QTest::newRow("SIGINT") << SIGINT;
        QTest::newRow("SIGTERM") << SIGTERM;
        QTest::newRow("SIGHUP") << SIGHUP;
        QTest::newRow("SIGQUIT") << SIGQUIT;
        QTest::newRow("SIGUSR1") << SIGUSR1;
        QTest::newRow("SIGUSR2") << SIGUSR2;
        QTest::newRow("SIGALRM") << SIGALRM;
        QTest::newRow("SIGXFSZ, the file-size limit") << SIGXFSZ;
    }
    void signalDuringAWrite()
    {
        QFETCH(int, signal);
        QTemporaryDir dir;
        const QString out = dir.filePath(QStringLiteral("out.csv"));
        QFile old(out);
        QVERIFY(old.open(QIODevice::WriteOnly) && old.write("old") == 3);
        old.close();
        // A list from a named pipe held open without an end: the job waits for
        // more, its file begun.
        const QString pipe = dir.filePath(QStringLiteral("p"));
        QCOMPARE(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
        const int writer = ::open(QFile::encodeName(pipe).constData(), O_RDWR | O_CLOEXEC);
        QVERIFY(writer >= 0 && ::write(writer, "1,2\n", 4) == 4);
        const auto closeWriter = qScopeGuard([&] { ::close(writer); });
        QProcess job;
        // No core file from the signals that would leave one.
        job.setChildProcessModifier([] {
            const rlimit none{0, 0};
            ::setrlimit(RLIMIT_CORE, &none);
        });
        job.start(kProgram, {"-f", "csv", "-o", out, pipe});
        QVERIFY(job.waitForStarted());
        const auto files = [&] { return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden); };
        QTRY_COMPARE_WITH_TIMEOUT(files().size(), 2, 60000);
        QCOMPARE(::kill(pid_t(job.processId()), signal), 0);
        QVERIFY(job.waitForFinished(60000));
        QCOMPARE(job.exitStatus(), QProcess::CrashExit);
        QCOMPARE(files(), QStringList{"out.csv"});
        QCOMPARE(readAll(out), QByteArray("old"));
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
        QCOMPARE(app::isCommandLineJob(arguments), job);
    }

    void openWithFiles_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QStringList>("opened"); // the files the window loads
        QTest::addColumn<bool>("job");
        QTest::newRow("the menu entry's files")
            << QStringList{"--open", "/a.txt", "b.csv"} << QStringList{"/a.txt", "b.csv"} << false;
        QTest::newRow("a restored session first")
            << QStringList{"-session", "1f", "--open", "a.txt"} << QStringList{"a.txt"} << false;
        QTest::newRow("a bare file stays the job")
            << QStringList{"a.txt", "--open", "b.txt"} << QStringList() << true;
    }

    void openWithFiles()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QStringList, opened);
        QFETCH(bool, job);
        QCOMPARE(app::filesToOpen(arguments), opened);
        QCOMPARE(app::isCommandLineJob(arguments), job);
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
        QCOMPARE(cli::TerminalProgress::line(percent, text, 40), line);
    }
};

QTEST_MAIN(CommandLineTest)
#include "tst_commandline.moc"
