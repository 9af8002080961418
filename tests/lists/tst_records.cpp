// The list reader's first steps, without a window: which format the first
// bytes tell, and the lines that any split of the bytes into blocks gives.

#include "listbytes.h"
#include "lists/listformat.h"
#include "lists/listrecords.h"

#include <QtTest>

Q_DECLARE_METATYPE(lists::ListFormat)

class RecordsTest : public QObject {
    Q_OBJECT

private slots:
    // The format is told as soon as the first bytes can tell it, and only then.
    void recognition_data()
    {
        QTest::addColumn<QByteArray>("head");
        QTest::addColumn<bool>("complete");
        QTest::addColumn<lists::ListFormat>("format");
        using F = lists::ListFormat;
        QTest::newRow("nothing yet") << QByteArray() << false << F::Undecided;
        QTest::newRow("empty file") << QByteArray() << true << F::Plain;
        QTest::newRow("a point") << QByteArray("42.1,3\n") << false << F::Plain;
        QTest::newRow("a point, its line not ended") << QByteArray("42.1,3") << false << F::Undecided;
        QTest::newRow("part of a byte-order mark")
            << QByteArray("\xEF\xBB") << false << F::Undecided;
        QTest::newRow("half a UTF-16 mark") << QByteArray("\xFF") << false << F::Undecided;
        QTest::newRow("declaration cut") << QByteArray("<?xml version") << false << F::Xml;
        QTest::newRow("comment cut") << QByteArray("<?xml?><!-- <gpx>") << false << F::Xml;
        QTest::newRow("comment cut, file ends") << QByteArray("<!-- <gpx>") << true << F::Xml;
        QTest::newRow("name cut") << QByteArray("\n<gpx") << false << F::Xml;
        QTest::newRow("gpx after a commented kml")
            << QByteArray("<?xml version=\"1.0\"?>\n<!-- <kml> -->\n<gpx ") << false << F::Xml;
        QTest::newRow("prefixed kml") << QByteArray("<k:kml>") << false << F::Xml;
        QTest::newRow("a longer name") << QByteArray("<gpxdata>") << false << F::Xml;
        QTest::newRow("another element") << QByteArray("<points>\n1,2") << false << F::Xml;
        QTest::newRow("an object") << QByteArray(" \r\n{\n \"type\"") << false << F::Json;
        QTest::newRow("a brace before a point") << QByteArray("{1,2}") << false << F::Json;
        QTest::newRow("a brace alone") << QByteArray("{") << true << F::Json;
        QTest::newRow("UTF-16 kml") << listbytes::utf16("<kml>", true) << false << F::Xml;
        QTest::newRow("UTF-16 BE markup without a mark")
            << listbytes::utf16("<?xml", false).sliced(2) << false << F::Xml;
    }

    void recognition()
    {
        QFETCH(QByteArray, head);
        QFETCH(bool, complete);
        QFETCH(lists::ListFormat, format);
        QCOMPARE(lists::recogniseListFormat(head, complete), format);
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
        const qsizetype limit = lists::ListRecords::kLineLimit;
        QTest::newRow("a line past the limit: cut there, the next line whole")
            << QByteArray(limit + 5, 'x') + "\nb" << QStringList{QString(limit, 'x'), "b"};
        QTest::newRow("a line cut at the start of its character")
            << QByteArray(limit - 1, 'x') + "\xC3\xBCyz" << QStringList{QString(limit - 1, 'x')};
    }

    void listRecords()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, lines);
        for (const qsizetype block : {1, 2, 3, 7, 1 << 20}) {
            QStringList out;
            lists::ListRecords records([&](QStringView line) { out << line.toString(); });
            for (qsizetype at = 0; at < bytes.size(); at += block)
                records.feed(QByteArrayView(bytes).sliced(at, std::min(block, bytes.size() - at)));
            records.finish();
            QVERIFY2(out == lines,
                     qPrintable(QString("blocks of %1: %2").arg(block).arg(out.join('|'))));
        }
    }

    // However long a line or the white space before the format is told,
    // what the reading needs of it is read and the rest passed over.
    void longAndBlank_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<QList<qint64>>("skipped");
        const qsizetype beyond = 2 * lists::ListRecords::kLineLimit;
        QTest::newRow("blank lines past the head's limit, then points")
            << QByteArray(beyond, '\n') + "1,2\n3,4" << QStringList{"1|2", "3|4"} << QList<qint64>();
        QTest::newRow("a GPX after a little white space: read")
            << QByteArray(1000, ' ') + "\n<gpx><wpt lat=\"1\" lon=\"2\"/></gpx>"
            << QStringList{"1|2"} << QList<qint64>();
        QTest::newRow("markup after white space past the head's limit: a plain list")
            << QByteArray(beyond, ' ') + "\n<gpx><wpt lat=\"1\" lon=\"2\"/></gpx>" << QStringList()
            << QList<qint64>{2};
        QTest::newRow("a long line with its point first keeps its point")
            << "1,2," + QByteArray(beyond, 'x') + "\n3,4" << QStringList{"1|2", "3|4"}
            << QList<qint64>();
        QTest::newRow("a longitude that reaches the cut: no point")
            << "1," + QByteArray(beyond, '5') + "\n3,4" << QStringList{"3|4"} << QList<qint64>{1};
        QTest::newRow("a long line of NUL bytes: skipped")
            << QByteArray(beyond, '\0') + "\n3,4" << QStringList{"3|4"} << QList<qint64>{1};
    }

    void longAndBlank()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, rows);
        QFETCH(QList<qint64>, skipped);
        for (const qsizetype block : {7, 4096, 1 << 20}) {
            const listbytes::Read result = listbytes::read(bytes, block);
            QVERIFY2(result.rows == rows, qPrintable(QString("blocks of %1: %2")
                                                         .arg(block)
                                                         .arg(result.rows.join(' '))));
            QCOMPARE(result.skipped, skipped);
            QCOMPARE(result.failure, QString());
        }
    }
};

int runRecordsTest(int argc, char* argv[])
{
    RecordsTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_records.moc"
