// Coordinate input: typed-in points, the example points, list files and the
// format help, driven through the window's buttons with scripted dialogs.

#include "app/form1.h"
#include "app/listrecords.h"
#include "app/pointrecord.h"
#include "core/reporterror.h"
#include "engine/numbers.h"
#include "scripteddialogs.h"
#include "shell/paths.h"
#include "testsupport.h"

#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>
#include <sys/stat.h>

namespace {

const QString kFormatHelp = QStringLiteral(
    "1. In your text file, the latitude and the longitude should be separated by a comma.\r\n"
    "\r\n"
    "2. Latitude should always come before longitude.\r\n"
    "\r\n"
    "3. Each set should be separated by an enter (new line).\r\n"
    "\r\n"
    "For example: \r\n"
    "\r\n"
    "42.8712,-71.3878\r\n"
    "-0.58722,-69.79043\r\n"
    "6.49570,41.26694\r\n"
    "58.92982,47.90975");

const QStringList kExampleRows{"42.8712|-71.3878", "33.0169|-116.846", "6.49570|41.26694",
                               "58.92982|47.90975"};
const QStringList kHelpFileRows{"42.8712|-71.3878", "-0.58722|-69.79043", "6.49570|41.26694",
                                "58.92982|47.90975"};

// The window after its load, with scripted dialogs.
struct Window {
    ScriptedDialogs dialogs;
    Form1 form;
    Window() { form.Form_Load(); }

    // Every row as "latitude|longitude".
    QStringList rows() const
    {
        QStringList out;
        for (qsizetype r = 1; r <= form.ListView1->count(); ++r)
            out << form.ListView1->text(r) + '|' + form.ListView1->subItem(r, 1);
        return out;
    }
    void typeIn(const QString& entry)
    {
        if (!entry.isNull())
            dialogs.inputReplies.enqueue(entry);
        QTest::mouseClick(form.PushButton6, Qt::LeftButton);
    }
    void loadFiles(const QStringList& paths)
    {
        dialogs.openReplies.enqueue(paths);
        QTest::mouseClick(form.PushButton3, Qt::LeftButton);
    }
};

QString writeFile(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes)
{
    const QString path = dir.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
    return path;
}

QByteArray helpFile(const QByteArray& lineEnd)
{
    return "42.8712,-71.3878" + lineEnd + "-0.58722,-69.79043" + lineEnd + "6.49570,41.26694" +
           lineEnd + "58.92982,47.90975" + lineEnd;
}

QString report(int label, const QString& description)
{
    return core::errorReportText(QStringLiteral("Orvanta2021/08/31.Form1.PushButton3_Click"), label,
                                 description);
}

} // namespace

class InputTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void init() { testsupport::startTest(); }

    void typedInPoint_data()
    {
        QTest::addColumn<QString>("entry"); // null: the box is cancelled
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<bool>("invalidMessage");
        QTest::newRow("cancelled") << QString() << QStringList() << false;
        QTest::newRow("default text")
            << "42.8712,-71.3878" << QStringList{"42.8712|-71.3878"} << false;
        QTest::newRow("further fields ignored") << "1,2,3,4" << QStringList{"1|2"} << false;
        QTest::newRow("spaces kept")
            << " 42.8712 , -71.3878 " << QStringList{" 42.8712 | -71.3878 "} << false;
        QTest::newRow("space instead of comma") << "42.8712 -71.3878" << QStringList() << true;
        QTest::newRow("no comma") << "abc" << QStringList() << true;
        QTest::newRow("not numbers") << "abc,def" << QStringList() << false;
        QTest::newRow("nothing after the comma") << "42.8712," << QStringList() << false;
        QTest::newRow("nothing before the comma") << ",-71.3878" << QStringList() << false;
        QTest::newRow("second field not a number")
            << "42.8712,x,-71.3878" << QStringList() << false;
        QTest::newRow("no distance can be computed") << "nan,inf" << QStringList() << false;
    }

    void typedInPoint()
    {
        QFETCH(QString, entry);
        QFETCH(QStringList, rows);
        QFETCH(bool, invalidMessage);
        Window w;
        w.form.ListView1->addItem("1", "2");
        w.typeIn(entry);
        QCOMPARE(w.dialogs.lastPrompt, QString("Enter points separated by comma to add: "));
        QCOMPARE(w.dialogs.lastTitle, QString("Add Points"));
        QCOMPARE(w.dialogs.lastDefault, QString("42.8712,-71.3878"));
        QCOMPARE(w.rows(), QStringList{"1|2"} + rows);
        if (invalidMessage) {
            QCOMPARE(w.dialogs.messages.size(), 1);
            QCOMPARE(w.dialogs.messages[0].text,
                     QString("Invalid Points. Please put colon between points."));
            QCOMPARE(w.dialogs.messages[0].title, QString("Invalid Points"));
            QCOMPARE(w.dialogs.messages[0].icon, platform::MessageIcon::None);
        } else {
            QCOMPARE(w.dialogs.texts(), QStringList());
        }
    }

    void examplePointsAppendEachPress()
    {
        Window w;
        w.form.ListView1->addItem("1", "2");
        QTest::mouseClick(w.form.PushButton7, Qt::LeftButton);
        QTest::mouseClick(w.form.PushButton7, Qt::LeftButton);
        QCOMPARE(w.rows(), QStringList{"1|2"} + kExampleRows + kExampleRows);
        QVERIFY(w.dialogs.messages.isEmpty());
    }

    void formatHelp()
    {
        Window w;
        QTest::mouseClick(w.form.PushButton8, Qt::LeftButton);
        QCOMPARE(w.dialogs.messages.size(), 1);
        QCOMPARE(w.dialogs.messages[0].text, kFormatHelp);
        QCOMPARE(w.dialogs.messages[0].title, QString("Meridane"));
        QCOMPARE(w.dialogs.messages[0].icon, platform::MessageIcon::None);
    }

    void listFile_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("rows");
        QTest::newRow("CR LF") << helpFile("\r\n") << kHelpFileRows;
        QTest::newRow("LF only") << helpFile("\n") << kHelpFileRows;
        QTest::newRow("CR only") << helpFile("\r") << kHelpFileRows;
        QTest::newRow("LF CR") << helpFile("\n\r") << kHelpFileRows;
        QTest::newRow("mixed, last line unterminated")
            << QByteArray("42.8712,-71.3878\r\n-0.58722,-69.79043\n6.49570,41.26694\r"
                          "58.92982,47.90975")
            << kHelpFileRows;
        QTest::newRow("further fields ignored")
            << QByteArray("42.8712,-71.3878,extra\r\n") << QStringList{"42.8712|-71.3878"};
        QTest::newRow("invalid lines skipped")
            << QByteArray("42.8712;-71.3878\r\nlat,lon\r\n\r\n42.8712,\r\n,1\r\nnan,1\r\n"
                          "1,2\r\n")
            << QStringList{"1|2"};
        QTest::newRow("spaces kept")
            << QByteArray(" 42.8712 , -71.3878 \n") << QStringList{" 42.8712 | -71.3878 "};
        QTest::newRow("byte-order mark") << "\xEF\xBB\xBF" + helpFile("\r\n") << kHelpFileRows;
        QTest::newRow("empty file") << QByteArray() << QStringList();
        QTest::newRow("Latin-1 third field before a line end")
            << QByteArray("1,2,Bogot\xE1\n3,4\n") << QStringList{"1|2", "3|4"};
        QTest::newRow("last line ends inside a character")
            << QByteArray("1,2\n3,4\xC3") << QStringList{"1|2"};
        // The first reading block ends on the lead byte, the line end opens the next.
        QTest::newRow("block ends inside a character")
            << QByteArray(1048565, ' ') + "\n1,2,Bogot\xE1\n5,6\n"
            << QStringList{"1|2", "5|6"};
        QTest::newRow("long plain decimal") << QByteArray("1234567890123456789.5,-0.000001\n")
                                            << QStringList{"1234567890123456789.5|-0.000001"};
    }

    void listFile()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, rows);
        QTemporaryDir dir;
        Window w;
        w.form.ListView1->addItem("1", "2");
        w.loadFiles({writeFile(dir, "points.txt", bytes)});
        QCOMPARE(w.rows(), QStringList{"1|2"} + rows);
        QCOMPARE(w.dialogs.texts(), QStringList());
        QCOMPARE(w.form.MousePointer(), Form1::kDefaultPointer);
    }

    // The same lines for any split of the bytes into blocks.
    void listRecords_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("three line ends")
            << QByteArray("a\r\nb\nc\rd") << QStringList{"a", "b", "c", "d"};
        QTest::newRow("empty lines kept")
            << QByteArray("\r\r\n\n\n\r") << QStringList{"", "", "", "", ""};
        QTest::newRow("LF CR is two ends") << QByteArray("a\n\rb") << QStringList{"a", "", "b"};
        QTest::newRow("UTF-8") << QByteArray("Z\xC3\xBCrich\n") << QStringList{"Zürich"};
        QTest::newRow("Latin-1") << QByteArray("Z\xFCrich\n") << QStringList{"Zürich"};
        QTest::newRow("each line decoded alone")
            << QByteArray("Bogot\xE1\r\nBogot\xC3\xA1") << QStringList{"Bogotá", "Bogotá"};
        QTest::newRow("lead byte before a line end")
            << QByteArray("\xC3\n\xE2\x82\rx") << QStringList{"Ã", "â\u0082", "x"};
        // Only the file's own mark; a later one is a character of its line.
        QTest::newRow("byte-order mark skipped") << QByteArray("\xEF\xBB\xBF"
                                                               "1\n\xEF\xBB\xBF"
                                                               "2")
                                                 << QStringList{"1", QChar(0xFEFF) + QString("2")};
        QTest::newRow("nothing") << QByteArray() << QStringList();
        QTest::newRow("a long unterminated line")
            << QByteArray(1 << 20, 'x') << QStringList{QString(1 << 20, 'x')};
    }

    void listRecords()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, lines);
        for (const qsizetype block : {1, 2, 3, 7, 1 << 20}) {
            QStringList out;
            app::ListRecords records([&](QStringView line) { out << line.toString(); });
            for (qsizetype at = 0; at < bytes.size(); at += block)
                records.feed(QByteArrayView(bytes).sliced(at, std::min(block, bytes.size() - at)));
            records.finish();
            QVERIFY2(out == lines,
                     qPrintable(QString("blocks of %1: %2").arg(block).arg(out.join('|'))));
        }
    }

    // Lines and characters that straddle the reader's blocks arrive whole.
    void largeFileWithMixedLineEnds()
    {
        const char* ends[] = {"\r\n", "\n", "\r"};
        QByteArray bytes;
        QStringList rows;
        for (int i = 0; i < 150000; ++i) {
            if (i % 7 == 0)
                bytes += "Zürich,Genève\n"; // skipped, and its characters span two bytes
            const QByteArray lat = QByteArray::number(i) + ".5", lon = "-" + QByteArray::number(i);
            bytes += lat + ',' + lon + ends[i % 3];
            rows << QString(lat + '|' + lon);
        }
        QVERIFY(bytes.size() > 2 * 1024 * 1024);
        QTemporaryDir dir;
        Window w;
        w.loadFiles({writeFile(dir, "large.txt", bytes)});
        QCOMPARE(w.form.ListView1->count(), rows.size());
        QCOMPARE(w.rows(), rows);
    }

    void pointsWithDotsLoadInAGermanLocale()
    {
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        QTemporaryDir dir;
        Window w;
        w.loadFiles({writeFile(dir, "points.txt", helpFile("\r\n"))});
        w.typeIn("33.0169,-116.846");
        QCOMPARE(w.rows(), kHelpFileRows + QStringList{"33.0169|-116.846"});
    }

    void severalFilesInDialogOrder()
    {
        QTemporaryDir dir;
        const QString a = writeFile(dir, "a.txt", "1,1\n");
        const QString b = writeFile(dir, "b.txt", "2,2\r\n2.5,2.5");
        const QString c = writeFile(dir, "c.txt", "3,3\r");
        Window w;
        QList<int> pointers;
        connect(w.form.ListView1->model(), &QAbstractItemModel::rowsInserted, &w.form,
                [&] { pointers << w.form.MousePointer(); });
        w.loadFiles({c, a, b});
        QCOMPARE(w.rows(), QStringList({"3|3", "1|1", "2|2", "2.5|2.5"}));
        QCOMPARE(w.dialogs.texts(), QStringList());
        QCOMPARE(w.form.MousePointer(), Form1::kDefaultPointer);

        QCOMPARE(w.dialogs.fileRequests.size(), 1);
        const platform::FileDialogRequest& request = w.dialogs.fileRequests[0];
        QCOMPARE(request.title, QString("Load List(s) - Hold Ctrl to select multiple list files"));
        QCOMPARE(request.filter, QString("Text Files (*.txt)|*.txt|All Files (*.*)|*.*|"));
        QCOMPARE(request.flags, 2621953);
        QCOMPARE(request.fileName, QString());
    }

    // A selection from several folders (a recent-files view) loads every file.
    void filesFromSeveralFolders()
    {
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkpath("x/deeper") && QDir(dir.path()).mkpath("y"));
        const QString a = writeFile(dir, "x/deeper/a.txt", "1,1\n");
        const QString b = writeFile(dir, "y/b.txt", "2,2\n");
        const QString c = writeFile(dir, "c.txt", "3,3\n");
        Window w;
        w.loadFiles({a, b, c});
        QCOMPARE(w.rows(), QStringList({"1|1", "2|2", "3|3"}));
        QCOMPARE(w.dialogs.texts(), QStringList());
    }

    void missingFileAmongSeveral()
    {
        QTemporaryDir dir;
        const QString a = writeFile(dir, "a.txt", "1,1\n");
        const QString c = writeFile(dir, "c.txt", "3,3\n");
        Window w;
        int pointerDuringMessage = -1;
        w.dialogs.onMessage = [&](const RecordedMessage&) {
            pointerDuringMessage = w.form.MousePointer();
        };
        w.loadFiles({a, dir.filePath("missing.txt"), c});
        QCOMPARE(w.rows(), QStringList({"1|1", "3|3"}));
        QCOMPARE(w.dialogs.messages.size(), 1);
        QCOMPARE(w.dialogs.messages[0].text, QString("File not found"));
        QCOMPARE(w.dialogs.messages[0].title, QString("Meridane"));
        QCOMPARE(pointerDuringMessage, Form1::kHourglass);
        QCOMPARE(w.form.MousePointer(), Form1::kDefaultPointer);
    }

    // Only regular files are read: opening a pipe or a device may wait for ever.
    void unreadableFileIsReportedAtTheCallingStep_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<bool>("alone");
        QTest::addColumn<int>("label");
        QTest::newRow("folder, single file") << "folder" << true << 120;
        QTest::newRow("folder, among several") << "folder" << false << 134;
        QTest::newRow("named pipe, single file") << "pipe" << true << 120;
        QTest::newRow("named pipe, among several") << "pipe" << false << 134;
        QTest::newRow("endless device") << "/dev/zero" << false << 134;
        QTest::newRow("random device") << "/dev/urandom" << true << 120;
    }

    void unreadableFileIsReportedAtTheCallingStep()
    {
        QFETCH(QString, kind);
        QFETCH(bool, alone);
        QFETCH(int, label);
        QTemporaryDir dir;
        QString odd = dir.filePath("odd.txt");
        if (kind == "folder")
            QVERIFY(QDir(dir.path()).mkdir("odd.txt"));
        else if (kind == "pipe")
            QCOMPARE(::mkfifo(QFile::encodeName(odd).constData(), 0600), 0);
        else
            odd = kind;
        const QStringList paths = alone ? QStringList{odd}
                                        : QStringList{writeFile(dir, "a.txt", "1,1\n"), odd,
                                                      writeFile(dir, "c.txt", "3,3\n")};
        Window w;
        w.loadFiles(paths);
        QCOMPARE(w.dialogs.texts(), QStringList{report(label, "Path/File access error")});
        QCOMPARE(w.dialogs.messages[0].title, QString("Application Error"));
        QCOMPARE(w.rows(), alone ? QStringList() : QStringList({"1|1", "3|3"}));
        QCOMPARE(w.form.MousePointer(), Form1::kDefaultPointer);
    }

    void tooManyFiles()
    {
        QTemporaryDir dir;
        QStringList paths;
        for (int i = 0; i < 500; ++i) // about 37,000 characters
            paths << dir.filePath(
                QString("list-with-a-rather-long-name-%1.txt").arg(i, 40, 10, QChar('0')));
        Window w;
        QList<int> pointers;
        w.dialogs.onMessage = [&](const RecordedMessage&) { pointers << w.form.MousePointer(); };
        w.loadFiles(paths);
        QCOMPARE(w.dialogs.texts(), QStringList{"You've selected too many files to add.\r\r"
                                                "Please try adding via the \"Add All\" button."});
        QCOMPARE(w.dialogs.messages[0].title, QString("Meridane"));
        QCOMPARE(pointers, QList<int>{Form1::kDefaultPointer});
        QCOMPARE(w.form.MousePointer(), Form1::kDefaultPointer);
        QCOMPARE(w.form.ListView1->count(), 0);
    }

    void cancelledDialog()
    {
        Window w;
        w.form.CommonDialog1.FileName = "left over from an earlier dialog";
        QTest::mouseClick(w.form.PushButton3, Qt::LeftButton);
        QCOMPARE(w.dialogs.fileRequests.size(), 1);
        QCOMPARE(w.dialogs.texts(), QStringList());
        QCOMPARE(w.form.ListView1->count(), 0);
        QCOMPARE(w.form.MousePointer(), Form1::kDefaultPointer);
    }

    void joinedPaths_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("path");
        QTest::newRow("folder") << "/home/ann/lists"
                                << "a.txt"
                                << "/home/ann/lists/a.txt";
        QTest::newRow("root folder") << "/"
                                     << "a.txt"
                                     << "/a.txt";
        QTest::newRow("network folder") << "//server/share"
                                        << "a.txt"
                                        << "//server/share/a.txt";
        QTest::newRow("doubled separators") << "/home//ann"
                                            << "a.txt"
                                            << "/home/ann/a.txt";
        QTest::newRow("network, more leading separators") << "////server//share"
                                                          << "a.txt"
                                                          << "//server/share/a.txt";
    }

    void joinedPaths()
    {
        QFETCH(QString, folder);
        QFETCH(QString, name);
        QFETCH(QString, path);
        QCOMPARE(shell::CleanJoinedPath(shell::JoinedPath(folder, name)), path);
    }
};

QTEST_MAIN(InputTest)
#include "tst_input.moc"
