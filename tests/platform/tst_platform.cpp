// The platform stand-ins: the list store and its view, the progress bar and
// the file dialog's selection text.

#include "core/failure.h"
#include "platform/dialogs/commondialog.h"
#include "platform/dialogs/dialogs.h"
#include "platform/desktop/yield.h"
#include "platform/widgets/list/listview.h"
#include "platform/widgets/progressbar.h"
#include "platform/widgets/pushbutton.h"
#include "scripteddialogs.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QListView>
#include <QTemporaryDir>
#include <QtTest>
#include <atomic>
#include <thread>
#include <vector>

class PlatformTest : public QObject {
    Q_OBJECT

private slots:
    void storeKeepsTextsExactly_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("sub");
        QTest::newRow("plain") << "42.8712"
                               << "-71.3878";
        QTest::newRow("spaces kept") << " 42.8712 "
                                     << " -71.3878";
        QTest::newRow("empty cells") << ""
                                     << "";
        // A null text has no data at all; the sanitizer build checks it is never copied.
        QTest::newRow("null cell in a wide row") << QString() << QString::fromUtf8("東京");
        QTest::newRow("latin-1") << QString::fromUtf8("Zürich") << QString::fromUtf8("°");
        QTest::newRow("beyond latin-1") << QString::fromUtf8("Kraków 東京") << "1";
        QTest::newRow("beyond latin-1 in a group of eight")
            << QString::fromUtf8("東京 to Kraków") << QString::fromUtf8("Kraków to 東京");
        QTest::newRow("emoji in the second cell") << "1" << QString::fromUtf8("\U0001F30D");
        QTest::newRow("long cell") << QString(300, 'x') << QString(70000, 'y');
        // A length takes one byte up to 127 and two from 128: both sides of the step,
        // narrow and wide (a wide cell's length may need its pad byte).
        QTest::newRow("cells of 127") << QString(127, 'a') << QString(126, 'b') + QChar(0x6771);
        QTest::newRow("cells of 128") << QString(128, 'a') << QString(127, 'b') + QChar(0x6771);
        QTest::newRow("cells of 129") << QString(129, 'a') << QString(128, 'b') + QChar(0x6771);
        QTest::newRow("nul inside") << QString("a") + QChar(0) + "b"
                                    << "c";
    }

    void storeKeepsTextsExactly()
    {
        QFETCH(QString, text);
        QFETCH(QString, sub);
        widgets::ListStore store;
        store.add(QStringView(u"before"));
        store.add({text, sub});
        QCOMPARE(store.text(2), text);
        QCOMPARE(store.subItem(2, 1), sub);
        QCOMPARE(store.subItem(2, 3), QString()); // never set
        store.setCell(2, 3, QStringView(u"third"));
        QCOMPARE(store.subItem(2, 1), sub);
        QCOMPARE(store.subItem(2, 2), QString());
        QCOMPARE(store.subItem(2, 3), QString("third"));
        store.setCell(2, 0, QString::fromUtf8("ł"));
        QCOMPARE(store.text(2), QString::fromUtf8("ł"));
        QCOMPARE(store.subItem(2, 1), sub);
        QCOMPARE(store.text(1), QString("before"));
    }

    // Wide rows of every length around the one-byte length step, through three
    // blocks filled to within their padding: every row reads back whole on either
    // side of each seam.
    void storeFillsBlocksToTheirEnd()
    {
        widgets::ListStore store;
        std::vector<QString> texts;
        for (int i = 0; i < 12000; ++i) {
            texts.push_back(QChar(0x6771) + QString(100 + i % 61, QChar(0x4EAC)) + QString::number(i));
            store.add({texts.back(), QStringView(u"x")});
        }
        for (int i = 0; i < 12000; ++i)
            QCOMPARE(store.text(i + 1), texts[static_cast<size_t>(i)]);
    }

    void storeRowsAreNumberedFromOne()
    {
        widgets::ListStore store;
        for (const char* t : {"a", "b", "c", "d"})
            store.add(QString::fromLatin1(t));
        store.setChecked(3, true);
        store.remove(2);
        QCOMPARE(store.count(), 3);
        QCOMPARE(store.text(2), QString("c"));
        QVERIFY(store.checked(2));
        QVERIFY(!store.checked(1));
        for (qsizetype bad : {qsizetype(0), qsizetype(4), qsizetype(-1)}) {
            try {
                store.text(bad);
                QFAIL("no failure for a row that does not exist");
            } catch (const core::Failure& failure) {
                QCOMPARE(failure.number, 35600);
            }
        }
        store.clear();
        QCOMPARE(store.count(), 0);
    }

    void viewCatchesUpInBatchesAndNeverSeesRemovedRows()
    {
        widgets::ListView view;
        QAbstractItemModelTester tester(view.model(),
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        view.addColumn("Results");
        view.setCheckboxes(true);
        for (int i = 0; i < 1000; ++i)
            view.addItem(QString::number(i));
        QCOMPARE(view.count(), 1000);
        QCOMPARE(view.model()->rowCount(), 0); // not announced yet
        QTRY_COMPARE(view.model()->rowCount(), 1000);
        view.removeItem(1);
        QCOMPARE(view.model()->rowCount(), 999);
        view.addItem("late");
        view.removeItem(1000); // not announced yet
        QCOMPARE(view.model()->rowCount(), 999);
        view.setChecked(5, true);
        QCOMPARE(view.model()->index(4, 0).data(Qt::CheckStateRole).toInt(), int(Qt::Checked));
        view.model()->setData(view.model()->index(4, 0), Qt::Unchecked, Qt::CheckStateRole);
        QVERIFY(!view.checked(5)); // the user's click reaches the store
        view.clearItems();
        QCOMPARE(view.model()->rowCount(), 0);
        QCOMPARE(view.selectedIndex(), qsizetype(0));
    }

    void progressBarTakesFractionsAndTheSmallExcess()
    {
        widgets::ProgressBar bar;
        bar.resize(300, 25);
        for (double v : {0.0, 33.333333, 100.0, 100.05, 1e300}) {
            bar.setValue(v);
            QCOMPARE(bar.value(), v);
            QVERIFY(!bar.grab().isNull()); // paints without failing
        }
        bar.setText("Writing file: 100% done");
        QCOMPARE(bar.text(), QString("Writing file: 100% done"));
    }

    void selectionText_data()
    {
        QTest::addColumn<QStringList>("paths");
        QTest::addColumn<QString>("text");
        QTest::newRow("cancelled") << QStringList() << "";
        QTest::newRow("one file: its full path") << QStringList{"/data/a.txt"} << "/data/a.txt";
        QTest::newRow("several: folder, then names")
            << QStringList{"/data/a.txt", "/data/b.txt", "/data/c.txt"}
            << QString("/data") + QChar(0) + "a.txt" + QChar(0) + "b.txt" + QChar(0) + "c.txt";
        QTest::newRow("root folder") << QStringList{"/a.txt", "/b.txt"}
                                     << QString("/") + QChar(0) + "a.txt" + QChar(0) + "b.txt";
        QTest::newRow("several folders: the nearest common one")
            << QStringList{"/data/a/x.txt", "/data/b/y.txt", "/data/z.txt"}
            << QString("/data") + QChar(0) + "a/x.txt" + QChar(0) + "b/y.txt" + QChar(0) + "z.txt";
        QTest::newRow("folder names sharing a start")
            << QStringList{"/data/ab/x.txt", "/data/abc/y.txt"}
            << QString("/data") + QChar(0) + "ab/x.txt" + QChar(0) + "abc/y.txt";
        QTest::newRow("only the root in common")
            << QStringList{"/home/ann/a.txt", "/tmp/b.txt"}
            << QString("/") + QChar(0) + "home/ann/a.txt" + QChar(0) + "tmp/b.txt";
    }

    void selectionText()
    {
        QFETCH(QStringList, paths);
        QFETCH(QString, text);
        QCOMPARE(platform::selectionText(paths), text);
    }

    // The filters keep their texts, and "All Files (*.*)" lists names without a dot too.
    void fileDialogFilters_data()
    {
        QTest::addColumn<int>("choice");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QStringList>("listed");
        QTest::newRow("text files") << 0 << "Text Files (*.txt)" << QStringList{"a.txt"};
        QTest::newRow("all files")
            << 1 << "All Files (*.*)" << QStringList{"a.txt", "results", "x.csv"};
    }

    void fileDialogFilters()
    {
        QFETCH(int, choice);
        QFETCH(QString, shown);
        QFETCH(QStringList, listed);
        QTemporaryDir dir;
        for (const char* name : {"a.txt", "results", "x.csv"})
            QFile(dir.filePath(name)).open(QIODevice::WriteOnly);
        QFileDialog dialog(nullptr, QString(), dir.path());
        dialog.setOption(QFileDialog::DontUseNativeDialog);
        platform::setBarFilter(dialog, "Text Files (*.txt)|*.txt|All Files (*.*)|*.*|");
        dialog.selectNameFilter(dialog.nameFilters().value(choice));
        auto* types = dialog.findChild<QComboBox*>("fileTypeCombo");
        QVERIFY(types);
        QCOMPARE(types->currentText(), shown);
        auto* view = dialog.findChild<QListView*>("listView");
        QVERIFY(view);
        const auto names = [&] {
            QStringList out;
            for (int r = 0; r < view->model()->rowCount(view->rootIndex()); ++r)
                out << view->model()->index(r, 0, view->rootIndex()).data().toString();
            out.sort();
            return out;
        };
        QTRY_COMPARE(names(), listed);
    }

    void keysOnAFocusedButton_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<bool>("autoRepeat");
        QTest::addColumn<int>("clicks");
        QTest::newRow("Enter") << int(Qt::Key_Return) << 0 << false << 1;
        QTest::newRow("keypad Enter") << int(Qt::Key_Enter) << int(Qt::KeypadModifier) << false << 1;
        QTest::newRow("Space") << int(Qt::Key_Space) << 0 << false << 1;
        QTest::newRow("Enter held down repeats nothing") << int(Qt::Key_Return) << 0 << true << 0;
        QTest::newRow("Ctrl+Enter") << int(Qt::Key_Return) << int(Qt::ControlModifier) << false << 0;
        QTest::newRow("a letter") << int(Qt::Key_A) << 0 << false << 0;
    }

    void keysOnAFocusedButton()
    {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(bool, autoRepeat);
        QFETCH(int, clicks);
        widgets::PushButton button;
        button.show();
        button.setFocus();
        QVERIFY(QTest::qWaitForWindowActive(&button));
        int clicked = 0;
        connect(&button, &QPushButton::clicked, this, [&] { ++clicked; });
        const auto mods = Qt::KeyboardModifiers(modifiers);
        if (autoRepeat) { // the first press belongs to the key's press, not to the repeat
            QKeyEvent repeat(QEvent::KeyPress, key, mods, QString(), true);
            QApplication::sendEvent(&button, &repeat);
        } else {
            QTest::keyClick(&button, Qt::Key(key), mods);
        }
        QCOMPARE(clicked, clicks);
    }

    void saveDialogStartsFromTheFolderOfAMultipleSelection()
    {
        ScriptedDialogs dialogs;
        platform::CommonDialog dialog;
        dialog.FileName = QString("/data") + QChar(0) + "a.txt" + QChar(0) + "b.txt";
        dialog.ShowSave();
        QCOMPARE(dialogs.fileRequests.last().fileName, QString("/data"));
        QCOMPARE(dialog.FileName, QString()); // cancelled
    }

    void selectionThatDoesNotFitFails()
    {
        ScriptedDialogs dialogs;
        platform::CommonDialog dialog;
        dialog.MaxFileSize = 30000;
        QStringList many;
        for (int i = 0; i < 3000; ++i)
            many << QString("/data/points-%1.txt").arg(i, 5, 10, QChar('0'));
        dialogs.openReplies.enqueue(many.mid(0, 1000)); // 6 + 1000 x 17 + 2 characters: fits
        dialogs.openReplies.enqueue(many);
        dialog.ShowOpen();
        QVERIFY(dialog.FileName.startsWith(QString("/data") + QChar(0)));
        try {
            dialog.ShowOpen();
            QFAIL("a selection of 3000 files fits");
        } catch (const core::Failure& failure) {
            QCOMPARE(failure.number, platform::CommonDialog::kBufferTooSmall);
        }
    }

    // The work waits for an event that only the window's thread can handle.
    void workOnItsOwnThreadLeavesTheWindowAnswering()
    {
        std::atomic<bool> answered = false;
        QMetaObject::invokeMethod(qApp, [&] { answered = true; }, Qt::QueuedConnection);
        const QDeadlineTimer deadline(30000);
        platform::YieldUntilDone([&] {
            while (!answered && !deadline.hasExpired())
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
        });
        QVERIFY(answered);
    }
};

QTEST_MAIN(PlatformTest)
#include "tst_platform.moc"
