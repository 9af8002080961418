// The clipboard text of a list, the clearing before the setting, and the
// bounded retries against a clipboard that another program holds.

#include "output/clipboardcopy.h"
#include "outputtestsupport.h"
#include "testsupport.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QtTest>

class ClipboardTest : public QObject {
    Q_OBJECT

private slots:
    void init() { testsupport::startTest(); }

    void text_data()
    {
        QTest::addColumn<QStringList>("headers");
        QTest::addColumn<Rows>("rows");
        QTest::addColumn<QString>("text");
        const QStringList two{"Latitude", "Longitude"};
        QTest::newRow("two columns")
            << two << Rows{{{"a", "xyz"}}, {{"bcd", "e"}}} << "a  \txyz\r\nbcd\te\r\n";
        QTest::newRow("headers count nowhere") << two << Rows{{{"1.5", "-2"}}} << "1.5\t-2\r\n";
        QTest::newRow("unchecked rows widen but are left out")
            << two << Rows{{{"a", "x"}}, {{"longest", "y"}, false}} << "a      \tx\r\n";
        QTest::newRow("last cell loses its trailing spaces")
            << QStringList{"Results"} << Rows{{{"one  "}}, {{"two"}}, {{"  "}}}
            << "one\r\ntwo\r\n\r\n";
        QTest::newRow("empty last cell keeps the TAB before it")
            << two << Rows{{{"ab", ""}}, {{"c", "d"}}} << "ab\t\r\nc \td\r\n";
        QTest::newRow("no checked rows: empty text")
            << QStringList{"Results"} << Rows{{{"a"}, false}} << "";
        QTest::newRow("widths in UTF-16 units")
            << two << Rows{{{"\U0001F600", "1"}}, {{"é", "2"}}} << "\U0001F600\t1\r\né \t2\r\n";
    }

    void text()
    {
        QFETCH(QStringList, headers);
        QFETCH(Rows, rows);
        QFETCH(QString, text);
        RecordingClipboard clipboard;
        output::CopyListviewToClipboard(*makeList(headers, rows));
        QCOMPARE(clipboard.calls, (QStringList{"clear", "set 0"}));
        QCOMPARE(clipboard.texts, QStringList{text});
    }

    // The text takes about what it holds, however wide the widest row.
    void memoryFollowsTheText_data()
    {
        QTest::addColumn<int>("checked");
        QTest::newRow("all rows checked") << 20000;
        QTest::newRow("only the long row checked") << 0;
    }

    void memoryFollowsTheText()
    {
        QFETCH(int, checked);
        Rows rows{{{QString(100000, 'x')}}};
        for (int r = 1; r <= 20000; ++r)
            rows << Row{{QString::number(r)}, r <= checked};
        RecordingClipboard clipboard;
        output::CopyListviewToClipboard(*makeList({"Results"}, rows));
        QCOMPARE(clipboard.texts.size(), 1);
        const QString& text = clipboard.texts[0];
        QVERIFY2(text.capacity() <= 2 * text.size(),
                 qPrintable(QString("%1 for %2").arg(text.capacity()).arg(text.size())));
    }

    void emptyListLeavesTheClipboardAlone()
    {
        RecordingClipboard clipboard;
        output::CopyListviewToClipboard(*makeList({"Results"}, {}));
        QCOMPARE(clipboard.clearAttempts + clipboard.setAttempts, 0);
    }

    // A busy clipboard is tried up to 1000 times per call, then given up silently.
    void retries_data()
    {
        QTest::addColumn<int>("busy");
        QTest::addColumn<int>("attempts");
        QTest::addColumn<bool>("set");
        QTest::newRow("free") << 0 << 1 << true;
        QTest::newRow("busy for 5 attempts") << 5 << 6 << true;
        QTest::newRow("free at the last attempt") << 999 << 1000 << true;
        QTest::newRow("busy for good") << -1 << 1000 << false;
    }

    void retries()
    {
        QFETCH(int, busy);
        QFETCH(int, attempts);
        QFETCH(bool, set);
        RecordingClipboard clipboard(busy);
        output::CopyListviewToClipboard(*makeList({"Results"}, {{{"a"}}}));
        QCOMPARE(clipboard.clearAttempts, attempts);
        QCOMPARE(clipboard.setAttempts, attempts);
        QCOMPARE(clipboard.texts, set ? QStringList{"a\r\n"} : QStringList{});
    }

    void systemClipboardTakesPlainText()
    {
        QGuiApplication::clipboard()->setText(QStringLiteral("before"));
        if (QGuiApplication::clipboard()->text() != QLatin1String("before"))
            QSKIP("This platform has no clipboard");
        output::CopyListviewToClipboard(*makeList({"Results"}, {{{"a "}}, {{"b"}}}));
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("a\r\nb\r\n"));
        output::SetClipboardText(QStringLiteral("x"), 12345); // refused, and silently
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("a\r\nb\r\n"));
        output::ClearClipboard();
        QCOMPARE(QGuiApplication::clipboard()->text(), QString());
    }
};

int runClipboardTest(const QStringList& arguments)
{
    ClipboardTest test;
    return QTest::qExec(&test, arguments);
}

#include "tst_clipboard.moc"
