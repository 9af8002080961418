// The column-aligned text file: its bytes, the progress it shows, and what a
// save that cannot finish leaves behind.

#include "output/laststep.h"
#include "output/textwriter.h"
#include "outputtestsupport.h"
#include "platform/widgets/progressbar.h"
#include "scripteddialogs.h"
#include "testsupport.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <cerrno>
#include <cstring>
#include <thread>

namespace {

QString reportAt(int label)
{
    return QStringLiteral("\r\nin Orvanta2021/08/31.Main.SaveListviewProperlySpaced at line %1\r\r")
        .arg(label);
}

QList<double> values(const QSignalSpy& spy)
{
    QList<double> out;
    for (const auto& args : spy)
        out << args.at(0).toDouble();
    return out;
}

QStringList texts(const QSignalSpy& spy)
{
    QStringList out;
    for (const auto& args : spy)
        out << args.at(0).toString();
    return out;
}

} // namespace

class TextWriterTest : public QObject {
    Q_OBJECT

private slots:
    // A last step counts while it runs and not after, however it ends: the
    // process's end then waits for nothing.
    void lastStepsCounted_data()
    {
        QTest::addColumn<bool>("throws");
        QTest::newRow("a step that ends") << false;
        QTest::newRow("a step that throws") << true;
    }

    void lastStepsCounted()
    {
        QFETCH(bool, throws);
        bool thrown = false;
        try {
            output::runLastStep([&] {
                if (throws)
                    throw core::Failure::pathAccess();
            });
        } catch (const core::Failure&) {
            thrown = true;
        }
        QCOMPARE(thrown, throws);
        auto finished = std::make_shared<std::atomic<bool>>(false);
        std::thread([finished] {
            output::finishLastSteps();
            *finished = true;
        }).detach();
        QTRY_VERIFY_WITH_TIMEOUT(finished->load(), 10000);
    }

    void init() { testsupport::startTest(); }

    void fileBytes_data()
    {
        QTest::addColumn<QStringList>("headers");
        QTest::addColumn<Rows>("rows");
        QTest::addColumn<QByteArray>("bytes");
        const QStringList results{"Results"};
        QTest::newRow("empty list: header only")
            << results << Rows{} << QByteArray("Results\t\r\n");
        QTest::newRow("no checked rows: header padded to them")
            << results << Rows{{{"Distance is 12"}, false}, {{"Distance"}, false}}
            << QByteArray("Results       \t\r\n");
        QTest::newRow("header wider than its cells")
            << QStringList{"Latitude", "Longitude"} << Rows{{{"1.5", "-2"}}}
            << QByteArray("Latitude\tLongitude\t\r\n1.5     \t-2       \t\r\n");
        QTest::newRow("empty cells: width spaces and a TAB")
            << QStringList{"A", "B"} << Rows{{{"", "xyz"}}, {{"abcd", ""}}}
            << QByteArray("A   \tB  \t\r\n    \txyz\t\r\nabcd\t   \t\r\n");
        QTest::newRow("unchecked rows widen the column but are not written")
            << results << Rows{{{"short"}}, {{"a much longer one"}, false}, {{"mid"}}}
            << QByteArray("Results          \t\r\nshort            \t\r\nmid              \t\r\n");
        QTest::newRow("texts as they are, widths in UTF-16 units")
            << QStringList{"R"} << Rows{{{" \"é\" "}}, {{"\U0001F600x"}}}
            << QByteArray("R    \t\r\n \"\xC3\xA9\" \t\r\n\xF0\x9F\x98\x80x  \t\r\n");
    }

    void fileBytes()
    {
        QFETCH(QStringList, headers);
        QFETCH(Rows, rows);
        QFETCH(QByteArray, bytes);
        ScriptedDialogs dialogs;
        QTemporaryDir dir;
        const auto list = makeList(headers, rows);
        const QString path = dir.filePath("out.txt");
        output::SaveListviewProperlySpaced(*list, path, nullptr);
        QCOMPARE(readAll(path), bytes);
        QCOMPARE(dialogs.messages.size(), 0);
    }

    void progress_data()
    {
        QTest::addColumn<int>("rowCount");
        QTest::addColumn<QList<int>>("unchecked");
        QTest::addColumn<double>("lastRowValue");
        QTest::addColumn<QStringList>("rowTexts");
        QTest::newRow("1999 rows end at 100")
            << 1999 << QList<int>{} << 100.0 << QStringList{"Writing file: out.txt (1000)"};
        QTest::newRow("2000 rows end at 100.05")
            << 2000 << QList<int>{} << (2000 / 2000 + 2000) / 2000.0 * 100
            << QStringList{"Writing file: out.txt (1000)", "Writing file: out.txt (2000)"};
        QTest::newRow("unchecked row 1000 shows no number")
            << 2000 << QList<int>{1000} << (1 + 2000) / 2000.0 * 100
            << QStringList{"Writing file: out.txt (2000)"};
    }

    void progress()
    {
        QFETCH(int, rowCount);
        QFETCH(QList<int>, unchecked);
        QFETCH(double, lastRowValue);
        QFETCH(QStringList, rowTexts);
        QTemporaryDir dir;
        const auto list = numberedList(rowCount, unchecked);
        widgets::ProgressBar bar;
        QSignalSpy valueSpy(&bar, &widgets::ProgressBar::valueSet);
        QSignalSpy textSpy(&bar, &widgets::ProgressBar::textSet);

        output::SaveListviewProperlySpaced(*list, dir.filePath("out.txt"), &bar);

        const QList<double> v = values(valueSpy);
        QCOMPARE(v.size(), 3 + rowCount - unchecked.size() + 2);
        QCOMPARE(v.mid(0, 3), (QList<double>{1, 10, 20}));
        QCOMPARE(v.at(3), (rowCount / 2000 + 1) / double(rowCount) * 100);
        QCOMPARE(v.mid(v.size() - 3), (QList<double>{lastRowValue, 100, 0}));
        const QString writing = QStringLiteral("Writing file: out.txt");
        const QStringList expected = QStringList{writing, writing, writing} + rowTexts +
                                     QStringList{"Done.", "Progress Bar"};
        QCOMPARE(texts(textSpy), expected);
    }

    void windowAnswersWhileOldFileStaysUntilComplete()
    {
        ScriptedDialogs dialogs;
        QTemporaryDir dir;
        const QString path = dir.filePath("out.txt");
        writeAll(path, "old content");
        const auto list = numberedList(50);
        widgets::ProgressBar bar;
        QByteArray seenWhileWriting;
        connect(&bar, &widgets::ProgressBar::valueSet, this, [&](double value) {
            if (value == 20)
                QTimer::singleShot(0, this, [&] { seenWhileWriting = readAll(path); });
        });

        output::SaveListviewProperlySpaced(*list, path, &bar);

        QCOMPARE(seenWhileWriting, QByteArray("old content"));
        QVERIFY(readAll(path).startsWith("Results           \t\r\nDistance number 1 "));
        QCOMPARE(entriesOf(dir.path()), QStringList{"out.txt"});
        QCOMPARE(dialogs.messages.size(), 0);
    }

    void savingTwiceKeepsOnlyTheSecond()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("out.txt");
        output::SaveListviewProperlySpaced(*numberedList(30), path, nullptr);
        output::SaveListviewProperlySpaced(*makeList({"R"}, {{{"b"}}}), path, nullptr);
        QCOMPARE(readAll(path), QByteArray("R\t\r\nb\t\r\n"));
        QCOMPARE(entriesOf(dir.path()), QStringList{"out.txt"});
    }

    // One report instead of one per row; nothing written; the bar is reset.
    void fileThatCannotBeCreated_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("folder missing") << "missing";
        QTest::newRow("a file where a folder should be") << "file";
        QTest::newRow("a folder as the name") << "folder";
        QTest::newRow("read-only system folder") << "proc";
        QTest::newRow("folder that refuses new files") << "immutable";
    }

    void fileThatCannotBeCreated()
    {
        QFETCH(QString, kind);
        ScriptedDialogs dialogs;
        QTemporaryDir dir;
        writeAll(dir.filePath("file"), "untouched");
        QDir(dir.path()).mkdir("folder");
        const QString path = kind == "missing"  ? dir.filePath("missing/out.txt")
                             : kind == "file"   ? dir.filePath("file/out.txt")
                             : kind == "folder" ? dir.filePath("folder")
                             : kind == "proc"   ? QStringLiteral("/proc/meridane-out.txt")
                                                : dir.filePath("folder/out.txt");
        Immutable locked(dir.filePath("folder"));
        if (kind == "immutable" && !locked.ok())
            QSKIP("This file system cannot make a folder refuse new files");
        widgets::ProgressBar bar;
        QSignalSpy valueSpy(&bar, &widgets::ProgressBar::valueSet);
        QSignalSpy textSpy(&bar, &widgets::ProgressBar::textSet);

        output::SaveListviewProperlySpaced(*numberedList(40), path, &bar);

        QCOMPARE(dialogs.messages.size(), 1);
        QCOMPARE(dialogs.messages[0].title, QStringLiteral("Application Error"));
        QVERIFY2(dialogs.messages[0].text.contains(reportAt(156)),
                 qPrintable(dialogs.messages[0].text));
        QCOMPARE(values(valueSpy), (QList<double>{1, 10, 0}));
        QCOMPARE(texts(textSpy).last(), QStringLiteral("Progress Bar"));
        QCOMPARE(entriesOf(dir.path()), (QStringList{"file", "folder"}));
        QCOMPARE(entriesOf(dir.filePath("folder")), QStringList{});
        QCOMPARE(readAll(dir.filePath("file")), QByteArray("untouched"));
        QVERIFY(!QFile::exists(path) || kind == "folder");
    }

    // A disk that fills up halfway: one report naming the system's reason, and
    // the file it would replace stays intact. A pipe or a device is written
    // into as it is, never replaced by a regular file.
    void diskThatFillsUpOrIsNoFile_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("reason");
        QTest::addColumn<int>("label");
        QTest::newRow("file size limit") << "limit"
                                         << "File too large" << 232;
        QTest::newRow("full file system") << "tmpfs"
                                          << "No space left on device" << 232;
        QTest::newRow("full device") << "device"
                                     << "No space left on device" << 232;
        QTest::newRow("named pipe") << "pipe"
                                    << "" << 0;
        QTest::newRow("named pipe that nobody reads") << "unread pipe"
                                                      << "No such device or address" << 156;
    }

    void diskThatFillsUpOrIsNoFile()
    {
        QFETCH(QString, target);
        QFETCH(QString, reason);
        QFETCH(int, label);
        ScriptedDialogs dialogs;
        QTemporaryDir dir;
        const QString path = dir.filePath("out.txt");
        const QByteArray name = QFile::encodeName(path);
        SmallFileSystem small(dir.path(), target == "tmpfs" ? 64 * 1024 : 0);
        if (target == "tmpfs" && !small.ok())
            QSKIP("Mounting a small file system needs root");
        if (target == "device" && ::mknod(name, S_IFCHR | 0666, makedev(1, 7)) != 0)
            QSKIP("Making a device node needs root"); // the kernel's "full" device
        if (target.endsWith("pipe"))
            QCOMPARE(::mkfifo(name, 0600), 0);
        if (target == "limit" || target == "tmpfs")
            writeAll(path, "old content");
        // Open for reading first, so that the save's opening does not wait.
        const int reader = target == "pipe" ? ::open(name, O_RDONLY | O_NONBLOCK) : -1;
        // 60000 rows, about 1.5 MB: more than one of the writer's 1 MB blocks, so a
        // write meets both 64 KB limits.
        const auto list = numberedList(target == "pipe" ? 2 : 60000);
        widgets::ProgressBar bar;
        {
            FileSizeLimit limit(target == "limit" ? 64 * 1024 : RLIM_INFINITY);
            output::SaveListviewProperlySpaced(*list, path, &bar);
        }
        if (reason.isEmpty()) {
            QCOMPARE(dialogs.texts(), QStringList());
            char bytes[256] = {};
            const auto size = ::read(reader, bytes, sizeof bytes);
            ::close(reader);
            QCOMPARE(QByteArray(bytes, int(size)),
                     QByteArray("Results          \t\r\nDistance number 1\t\r\n"
                                "Distance number 2\t\r\n"));
        } else {
            QCOMPARE(dialogs.messages.size(), 1);
            QVERIFY2(dialogs.messages[0].text.startsWith(reason + reportAt(label)),
                     qPrintable(dialogs.messages[0].text));
        }
        struct stat info {};
        QCOMPARE(::stat(name, &info), 0);
        QCOMPARE(S_ISREG(info.st_mode), target == "limit" || target == "tmpfs");
        if (S_ISREG(info.st_mode))
            QCOMPARE(readAll(path), QByteArray("old content"));
        QCOMPARE(entriesOf(dir.path()), QStringList{"out.txt"});
        QCOMPARE(bar.value(), 0.0);
        QCOMPARE(bar.text(), QStringLiteral("Progress Bar"));
    }

    // The finished file cannot take the old one's place: one report, old file kept.
    void fileThatCannotBePutInPlaceKeepsTheOldFile()
    {
        ScriptedDialogs dialogs;
        QTemporaryDir dir;
        const QString path = dir.filePath("out.txt");
        writeAll(path, "old content");
        widgets::ProgressBar bar;
        std::unique_ptr<Immutable> locked;
        connect(&bar, &widgets::ProgressBar::valueSet, this, [&](double value) {
            if (value == 20 && !locked)
                locked = std::make_unique<Immutable>(path);
        });

        output::SaveListviewProperlySpaced(*numberedList(10), path, &bar);

        if (!locked || !locked->ok())
            QSKIP("This file system cannot make a file refuse changes");
        locked.reset();
        QCOMPARE(dialogs.messages.size(), 1);
        QVERIFY2(dialogs.messages[0].text.contains(reportAt(232)),
                 qPrintable(dialogs.messages[0].text));
        // The system's own reason, not a stand-in text.
        QVERIFY2(dialogs.messages[0].text.contains(QString::fromLocal8Bit(strerror(EPERM))),
                 qPrintable(dialogs.messages[0].text));
        QCOMPARE(readAll(path), QByteArray("old content"));
        QCOMPARE(entriesOf(dir.path()), QStringList{"out.txt"});
        QCOMPARE(bar.text(), QStringLiteral("Progress Bar"));
    }
};

int runTextWriterTest(const QStringList& arguments)
{
    TextWriterTest test;
    return QTest::qExec(&test, arguments);
}

#include "tst_textwriter.moc"
