// "Save Results As Text File" and "Copy Results To Clipboard" driven through
// the window's buttons with scripted dialogs.

#include "form1controls.h"
#include "window/form1.h"
#include "outputtestsupport.h"
#include "scripteddialogs.h"
#include "testsupport.h"

#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

namespace {

const QString kCopied = QStringLiteral(
    "Results have been copied to the clipboard.\r\rClick a text area where you normally type and "
    "press Ctrl+V to paste the clipboard.");

void addResults(window::Form1& form, const QStringList& sentences)
{
    for (const QString& s : sentences)
        ui(form).ListView2->setChecked(ui(form).ListView2->addItem(s), true);
}

void click(QWidget* button) { QTest::mouseClick(button, Qt::LeftButton); }

} // namespace

class OutputHandlersTest : public QObject {
    Q_OBJECT

private slots:
    void init() { testsupport::startTest(); }

    void saveWritesTheCheckedResultsUnderTheChosenName()
    {
        ScriptedDialogs dialogs;
        QTemporaryDir dir;
        window::Form1 form;
        form.Form_Load();
        addResults(form, {"Distance is 1 Miles", "Distance is 22 Miles", "Distance is 3 Miles"});
        ui(form).ListView2->setChecked(2, false);
        ui(form).CommonDialog1.FileName = dir.filePath("earlier.txt");
        const QString path = dir.filePath("results"); // no extension is added
        dialogs.saveReplies.enqueue(path);
        QList<int> pointers;
        connect(ui(form).ProgressBar1, &widgets::ProgressBar::valueSet, this,
                [&] { pointers << form.MousePointer(); });

        click(ui(form).PushButton4);

        QCOMPARE(dialogs.fileRequests.size(), 1);
        const platform::FileDialogRequest& request = dialogs.fileRequests[0];
        QCOMPARE(request.title, QStringLiteral("Save"));
        QCOMPARE(request.filter, QStringLiteral("Text Files (*.txt)|*.txt|All Files (*.*)|*.*|"));
        QCOMPARE(request.flags, 0x280201);
        QCOMPARE(request.fileName, dir.filePath("earlier.txt"));
        QCOMPARE(readAll(path), QByteArray("Results             \t\r\n"
                                           "Distance is 1 Miles \t\r\n"
                                           "Distance is 3 Miles \t\r\n"));
        QCOMPARE(entriesOf(dir.path()), QStringList{"results"});
        QVERIFY(!pointers.isEmpty());
        QCOMPARE(pointers.count(window::Form1::kHourglass), pointers.size());
        QCOMPARE(form.MousePointer(), window::Form1::kDefaultPointer);
        QCOMPARE(ui(form).CommonDialog1.FileName, path);
        QVERIFY(dialogs.messages.isEmpty());
    }

    void cancelledSaveChangesNothing()
    {
        ScriptedDialogs dialogs; // no reply: the dialog is cancelled
        window::Form1 form;
        form.Form_Load();
        addResults(form, {"Distance is 1 Miles"});
        form.setMousePointer(window::Form1::kCustomPointer);
        ui(form).ProgressBar1->setValue(37);
        ui(form).ProgressBar1->setText(QStringLiteral("Kept"));

        click(ui(form).PushButton4);

        QCOMPARE(dialogs.fileRequests.size(), 1);
        QCOMPARE(form.MousePointer(), window::Form1::kCustomPointer);
        QCOMPARE(ui(form).ProgressBar1->value(), 37.0);
        QCOMPARE(ui(form).ProgressBar1->text(), QStringLiteral("Kept"));
        QVERIFY(dialogs.messages.isEmpty());
    }

    // One Enter in the save dialog must never replace a list file that was
    // just loaded: the dialog starts in its folder with no name.
    void saveDialogStartingName_data()
    {
        // "load NAME[,NAME]", "open NAME[,NAME]" (dropped, or "--open") or "save NAME"
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<QString>("start");     // relative to the folder; "." the folder
        QTest::newRow("after a load") << QStringList{"load a.txt"} << ".";
        QTest::newRow("after a load of two files") << QStringList{"load a.txt,b.txt"} << ".";
        QTest::newRow("after a drop") << QStringList{"open a.txt"} << ".";
        QTest::newRow("after a drop of two files") << QStringList{"open a.txt,b.txt"} << ".";
        QTest::newRow("after a save, then a drop")
            << QStringList{"save out.txt", "open a.txt"} << ".";
        QTest::newRow("after a save") << QStringList{"save out.txt"} << "out.txt";
        QTest::newRow("after a save, then a load")
            << QStringList{"save out.txt", "load a.txt"} << ".";
        QTest::newRow("after a load, then a save on that file")
            << QStringList{"load a.txt", "save a.txt"} << "a.txt";
    }

    void saveDialogStartingName()
    {
        QFETCH(QStringList, steps);
        QFETCH(QString, start);
        ScriptedDialogs dialogs;
        QTemporaryDir dir;
        for (const char* name : {"a.txt", "b.txt"}) {
            QFile file(dir.filePath(name));
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        window::Form1 form;
        form.Form_Load();
        for (const QString& step : steps) {
            QStringList paths;
            for (const QString& name : step.section(' ', 1).split(','))
                paths << dir.filePath(name);
            if (step.startsWith("open")) {
                form.LoadListFiles(paths);
                continue;
            }
            if (step.startsWith("load"))
                dialogs.openReplies.enqueue(paths);
            else
                dialogs.saveReplies.enqueue(paths.first());
            click(step.startsWith("load") ? ui(form).PushButton3 : ui(form).PushButton4);
        }
        click(ui(form).PushButton4); // cancelled
        QCOMPARE(dialogs.fileRequests.last().fileName, QDir::cleanPath(dir.filePath(start)));
        // A list file that the user picks is still replaced without a question.
        QCOMPARE(QFileInfo(dir.filePath("a.txt")).size() > 0, steps.last() == "save a.txt");
        QVERIFY(dialogs.messages.isEmpty());
    }

    void copyPutsTheResultsOnTheClipboardAndSaysHowToPaste()
    {
        ScriptedDialogs dialogs;
        RecordingClipboard clipboard;
        window::Form1 form;
        form.Form_Load();
        addResults(form, {"Distance is 1 Miles", "Distance is 22 Miles"});

        click(ui(form).PushButton5);

        QCOMPARE(clipboard.texts, QStringList{"Distance is 1 Miles\r\nDistance is 22 Miles\r\n"});
        QCOMPARE(dialogs.messages.size(), 1);
        QCOMPARE(dialogs.messages[0].text, kCopied);
        QCOMPARE(dialogs.messages[0].title, QStringLiteral("Meridane"));
        QCOMPARE(dialogs.messages[0].icon, platform::MessageIcon::None);
    }

    void busyClipboardIsGivenUpOnSilently()
    {
        ScriptedDialogs dialogs;
        RecordingClipboard clipboard(-1);
        window::Form1 form;
        form.Form_Load();
        addResults(form, {"Distance is 1 Miles"});

        click(ui(form).PushButton5);

        QCOMPARE(clipboard.clearAttempts, 1000);
        QCOMPARE(clipboard.setAttempts, 1000);
        QCOMPARE(dialogs.texts(), QStringList{kCopied});
    }

    // The results are cleared while the copy yields: the report, then the message.
    void failureWhileCopyingIsReportedAndTheMessageFollows()
    {
        ScriptedDialogs dialogs;
        RecordingClipboard clipboard;
        window::Form1 form;
        form.Form_Load();
        addResults(form, {"Distance is 1 Miles", "Distance is 2 Miles"});
        QTimer::singleShot(0, &form, [&] { ui(form).ListView2->clearItems(); });

        form.PushButton5_Click();

        QCOMPARE(dialogs.messages.size(), 2);
        QCOMPARE(dialogs.messages[0].title, QStringLiteral("Application Error"));
        QVERIFY(dialogs.messages[0].text.startsWith(
            QStringLiteral("Index out of bounds\r\nin Orvanta2021/08/31.Form1.PushButton5_Click at "
                           "line 106\r\r")));
        QCOMPARE(dialogs.messages[1].text, kCopied);
        QVERIFY(clipboard.calls.isEmpty());
    }
};

int runOutputHandlersTest(const QStringList& arguments)
{
    OutputHandlersTest test;
    return QTest::qExec(&test, arguments);
}

#include "tst_outputhandlers.moc"
