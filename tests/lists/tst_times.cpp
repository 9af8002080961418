// Points' times as track files write them: read once into a UTC moment, and
// written back as ISO 8601 UTC with the fraction's digits as read.

#include "lists/pointtime.h"

#include <QtTest>

class TimesTest : public QObject {
    Q_OBJECT

private slots:
    // Each row: the text as a file has it, and how it is written back (empty: no time).
    void isoTimes_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QByteArray>("written");
        QTest::newRow("UTC") << QByteArray("2024-05-01T10:00:00Z") << QByteArray("2024-05-01T10:00:00Z");
        QTest::newRow("an offset moves it to UTC")
            << QByteArray("2024-05-01T12:00:00+02:00") << QByteArray("2024-05-01T10:00:00Z");
        QTest::newRow("a western offset without colon, into the next year")
            << QByteArray("2024-12-31T20:00:00.5-0530") << QByteArray("2025-01-01T01:30:00.5Z");
        QTest::newRow("hours alone, back over the month's start")
            << QByteArray("2024-05-01T00:30:00+01") << QByteArray("2024-04-30T23:30:00Z");
        QTest::newRow("no zone: UTC") << QByteArray("2024-05-01T10:00:00")
                                      << QByteArray("2024-05-01T10:00:00Z");
        QTest::newRow("trailing zeros of the fraction kept")
            << QByteArray("2024-05-01T10:00:00.000Z") << QByteArray("2024-05-01T10:00:00.000Z");
        QTest::newRow("nine digits of a longer fraction")
            << QByteArray("2024-05-01T10:00:00.123456789123Z")
            << QByteArray("2024-05-01T10:00:00.123456789Z");
        QTest::newRow("white space around, lower-case letters")
            << QByteArray("\n  2024-05-01t10:00:00z\t") << QByteArray("2024-05-01T10:00:00Z");
        QTest::newRow("before 1970") << QByteArray("1969-12-31T23:59:59.5Z")
                                     << QByteArray("1969-12-31T23:59:59.5Z");
        QTest::newRow("a leap day") << QByteArray("2024-02-29T00:00:00Z")
                                    << QByteArray("2024-02-29T00:00:00Z");
        QTest::newRow("24:00 ends the day") << QByteArray("2024-02-29T24:00:00Z")
                                            << QByteArray("2024-03-01T00:00:00Z");
        QTest::newRow("no leap day in 2023") << QByteArray("2023-02-29T00:00:00Z") << QByteArray();
        QTest::newRow("month 13") << QByteArray("2024-13-01T00:00:00Z") << QByteArray();
        QTest::newRow("minute 60") << QByteArray("2024-05-01T10:60:00Z") << QByteArray();
        QTest::newRow("24:00:01") << QByteArray("2024-05-01T24:00:01Z") << QByteArray();
        QTest::newRow("a space for the T") << QByteArray("2024-05-01 10:00:00Z") << QByteArray();
        QTest::newRow("an offset of 24 hours") << QByteArray("2024-05-01T10:00:00+24:00")
                                               << QByteArray();
        QTest::newRow("more after the zone") << QByteArray("2024-05-01T10:00:00Zx") << QByteArray();
        QTest::newRow("a point without a fraction") << QByteArray("2024-05-01T10:00:00.Z")
                                                    << QByteArray();
        QTest::newRow("a date alone") << QByteArray("2024-05-01") << QByteArray();
    }
    void isoTimes()
    {
        QFETCH(QByteArray, text);
        QFETCH(QByteArray, written);
        const auto time = lists::isoTime(text);
        QCOMPARE(time.has_value(), !written.isEmpty());
        if (!time)
            return;
        char buffer[48];
        const std::string_view back = lists::isoText(*time, buffer);
        QCOMPARE(QByteArray(back.data(), qsizetype(back.size())), written);
        // Written back, it reads as the same moment.
        const auto again = lists::isoTime(written);
        QVERIFY(again);
        QCOMPARE(again->seconds, time->seconds);
        QCOMPARE(again->nanoseconds, time->nanoseconds);
    }
};

int runTimesTest(int argc, char* argv[])
{
    TimesTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_times.moc"
