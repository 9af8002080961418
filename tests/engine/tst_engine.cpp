// The distance engine: sentences, units, rounding, locales and failures.

#include "core/failure.h"
#include "engine/distanceunits.h"
#include "engine/formulaentry.h"
#include "engine/modzipdistance.h"
#include "engine/numbers.h"
#include "recordedreports.h"

#include <QLocale>
#include <QtTest>
#include <cpuid.h>
#include <functional>

namespace {

const QLocale kEnglish(QLocale::English, QLocale::UnitedStates);
const QLocale kGerman(QLocale::German, QLocale::Germany);

// The processor tells which parts of its state are in use when it has AVX
// and XGETBV with ECX=1 (CPUID leaf 0Dh, sub-leaf 1, EAX bit 2).
bool stateInUseReadable()
{
    unsigned a = 0, b = 0, c = 0, d = 0;
    return __builtin_cpu_supports("avx") && __get_cpuid_count(0xd, 1, &a, &b, &c, &d) &&
           (a & (1u << 2)) != 0;
}

// Bit 2 of the state in use: the upper halves of the vector registers.
bool upperStateInUse()
{
    unsigned low = 0, high = 0;
    asm volatile("xgetbv" : "=a"(low), "=d"(high) : "c"(1));
    return (low & (1u << 2)) != 0;
}

// One 256-bit instruction, as Qt's string hash leaves behind: all ones in
// ymm0. Not compiled for AVX: the compiler would clear the state on return.
void dirtyUpperState()
{
    asm volatile("vcmpps $15, %%ymm0, %%ymm0, %%ymm0" ::: "xmm0");
}

bool dirtyAtEntry = true;
int entries = 0;
void lookAtEntry()
{
    dirtyAtEntry = upperStateInUse();
    ++entries;
}

} // namespace

class EngineTest : public QObject {
    Q_OBJECT

private slots:
    void init() { QLocale::setDefault(kEnglish); }

    void sentences_data()
    {
        QTest::addColumn<int>("unit");
        QTest::addColumn<QStringList>("points");
        QTest::addColumn<QString>("tail");

        const QStringList example{"42.8712", "-71.3878", "33.0169", "-116.846"};
        QTest::newRow("example miles") << 1 << example << "is 2534.0868 miles";
        QTest::newRow("example feet") << 2 << example << "is 13379978.26 feets";
        QTest::newRow("example kilometers") << 3 << example << "is 4078.217 kilometers";
        QTest::newRow("example meters") << 4 << example << "is 4078217.37 meters";

        const QStringList halfTurn{"0", "0", "0", "180"};
        QTest::newRow("half turn miles") << 1 << halfTurn << "is 12428.424 miles";
        QTest::newRow("half turn feet") << 2 << halfTurn << "is 65622078.79 feets";
        QTest::newRow("half turn kilometers") << 3 << halfTurn << "is 20001.61 kilometers";
        QTest::newRow("half turn meters") << 4 << halfTurn << "is 20001609.62 meters";

        const QStringList same{"42.8712", "-71.3878", "42.8712", "-71.3878"};
        QTest::newRow("same texts: two spaces") << 1 << same << "is 0  miles";
        QTest::newRow("same texts in feet") << 2 << same << "is 0  feets";
        QTest::newRow("same texts, no unit: one trailing space") << 0 << same << "is 0 ";
        QTest::newRow("the same parallel: equal latitudes are no equal points")
            << 1 << QStringList{"42.8712", "-71.3878", "42.8712", "-116.846"}
            << "is 2271.5538 miles";
        QTest::newRow("the same meridian: equal longitudes are no equal points")
            << 3 << QStringList{"0", "10", "1", "10"} << "is 111.12 kilometers";
        QTest::newRow("equal values, other texts: one space")
            << 1 << QStringList{"0", "0", "0.0", "0.0"} << "is 0 miles";
        QTest::newRow("no unit selected") << 0 << example << "is 0";
        QTest::newRow("same values with spaces are computed")
            << 1 << QStringList{"1", "2", " 1", "2 "} << "is 0 miles";
        // Their cosines come out a last bit past -1 and +1.
        QTest::newRow("nearly antipodal points are half a turn")
            << 1 << QStringList{"0.074", "0.022", "-0.074", "-179.978"} << "is 12428.424 miles";
        QTest::newRow("nearly identical points are 0")
            << 1 << QStringList{"0.703", "0", "0.703", "0.000000001"} << "is 0 miles";
        // 13472225.134999999776 meters: rounded at the places, not scaled first.
        QTest::newRow("just below a half in meters")
            << 4 << QStringList{"16.492819", "93.038550", "38.014963", "-110.329607"}
            << "is 13472225.13 meters";
        QTest::newRow("latitudes beyond 90 are computed as they are")
            << 1 << QStringList{"100", "0", "80", "0"} << "is 1380.936 miles";
    }

    void sentences()
    {
        QFETCH(int, unit);
        QFETCH(QStringList, points);
        QFETCH(QString, tail);
        RecordedReports reports;
        const QString sentence =
            engine::modZipDistance::GetDistance(points[0], points[1], points[2], points[3],
                                                engine::modZipDistance::selectedOption(unit));

        const QString head = "Distance between (" + points[0] + "," + points[1] + ") and (" +
                             points[2] + "," + points[3] + ") ";
        QCOMPARE(sentence, head + tail);
        QVERIFY2(reports.texts.isEmpty(), qPrintable(reports.texts.join("|")));
    }

    // Every formula starts with the vector state clean, however its caller
    // left it: dirty, every call into libm would wait on the processor.
    void formulaStartsWithCleanVectorState_data()
    {
        QTest::addColumn<std::function<void()>>("formula");
        const engine::DistanceUnit& miles = *engine::unitOfOption(1);
        const engine::PointPair pair{u"42.8712", u"-71.3878", u"33.0169", u"-116.846",
                                     42.8712,    -71.3878,    33.0169,    -116.846};
        QTest::newRow("the window's sentence") << std::function<void()>([] {
            engine::modZipDistance::GetDistance("42.8712", "-71.3878", "33.0169", "-116.846",
                                                engine::modZipDistance::selectedOption(1));
        });
        QTest::newRow("the sphere") << std::function<void()>(
            [=, &miles] { engine::pairDistance(engine::DistanceModel::Sphere, miles, pair); });
        QTest::newRow("the ellipsoid") << std::function<void()>(
            [=, &miles] { engine::pairDistance(engine::DistanceModel::Wgs84, miles, pair); });
    }
    void formulaStartsWithCleanVectorState()
    {
        QFETCH(std::function<void()>, formula);
        if (!stateInUseReadable())
            QSKIP("the processor does not tell which of its state is in use");
        engine::setFormulaEntryProbe(lookAtEntry);
        entries = 0;
        dirtyUpperState();
        const bool dirtyBefore = upperStateInUse();
        formula();
        engine::setFormulaEntryProbe(nullptr);
        QVERIFY(dirtyBefore);
        QCOMPARE(entries, 1);
        QVERIFY(!dirtyAtEntry);
    }

    // Cosines that rounding pushes a last bit past 1 or -1 must not fail.
    void cosineOutsideRangeIsClamped()
    {
        RecordedReports reports;
        QCOMPARE(engine::modZipDistance::SphericalDistanceMiles(0.074, -0.074, 0.022, -179.978),
                 engine::modZipDistance::SphericalDistanceMiles(0, 0, 0, 180));
        QVERIFY_THROWS_EXCEPTION(core::Failure, engine::modZipDistance::ArcCos(1.0000000001));
        QCOMPARE(engine::modZipDistance::ArcCos(-1), 3.14159265358979);
        QCOMPARE(engine::modZipDistance::ArcCos(1), 0.0);
        // Over many near-identical pairs, none is reported and none is negative.
        for (int i = 1; i < 2000; ++i) {
            const double lat = i * 0.0451;
            const double miles =
                engine::modZipDistance::SphericalDistanceMiles(lat, lat, i, i + 1e-12);
            QVERIFY(miles >= 0 && miles < 0.001);
        }
        QVERIFY(reports.texts.isEmpty());
    }

    void badTextsAreReportedOnce_data()
    {
        QTest::addColumn<QStringList>("points");
        QTest::newRow("letters") << QStringList{"abc", "-71.3878", "33.0169", "-116.846"};
        QTest::newRow("empty") << QStringList{"42.8712", "", "33.0169", "-116.846"};
        QTest::newRow("stray sign") << QStringList{"42.8712", "-71.3878", "-", "-116.846"};
        QTest::newRow("nan") << QStringList{"42.8712", "-71.3878", "nan", "-116.846"};
        QTest::newRow("infinity") << QStringList{"42.8712", "-71.3878", "33.0169", "inf"};
        QTest::newRow("out of range") << QStringList{"1e400", "-71.3878", "33.0169", "1"};
        QTest::newRow("lat overflow") << QStringList{"1e308", "1e308", "-1e308", "-1e308"};
    }

    void badTextsAreReportedOnce()
    {
        QFETCH(QStringList, points);
        RecordedReports reports;
        const QString sentence = engine::modZipDistance::GetDistance(
            points[0], points[1], points[2], points[3], engine::modZipDistance::selectedOption(1));
        QVERIFY2(sentence.endsWith(") is 0 miles"), qPrintable(sentence));
        QVERIFY(sentence.contains("(" + points[0] + "," + points[1] + ")"));
        QCOMPARE(reports.texts.size(), 1);
        const QString& report = reports.texts.first();
        QVERIFY2(
            report.contains("\r\nin Orvanta2021/08/31.modZipDistance.GetDistance at line 138\r\r"),
            qPrintable(report));
    }

    void typeMismatchReportText()
    {
        RecordedReports reports;
        engine::modZipDistance::GetDistance("abc", "1", "2", "3",
                                            engine::modZipDistance::selectedOption(1));
        QCOMPARE(reports.texts.value(0).section("\r\n", 0, 0), QString("Type mismatch"));
    }

    void germanLocale()
    {
        RecordedReports reports;
        QLocale::setDefault(kGerman);
        QCOMPARE(engine::decimalSeparator(), QChar(','));
        QCOMPARE(engine::modZipDistance::GetDistance("42.8712", "-71.3878", "33.0169", "-116.846",
                                                     engine::modZipDistance::selectedOption(1)),
                 QString("Distance between (42.8712,-71.3878) and (33.0169,-116.846) is "
                         "2534,0868 miles"));
        // A comma decimal typed by a German user converts as well.
        QVERIFY(engine::isNumeric("42,8712"));
        QCOMPARE(engine::numberText(1234567.5, 2), QString("1234567,5"));
        QVERIFY(reports.texts.isEmpty());
    }

    void unitIsReadAtEveryCall()
    {
        int calls = 0;
        int unit = 1;
        const engine::modZipDistance::UnitOptions options = [&](int option) {
            ++calls;
            return option == unit;
        };
        const auto distance = [&] {
            return engine::modZipDistance::GetDistance("42.8712", "-71.3878", "33.0169", "-116.846",
                                                       options);
        };
        QVERIFY(distance().endsWith(" miles"));
        unit = 3;
        QVERIFY(distance().endsWith(" kilometers"));
        QCOMPARE(calls, 1 + 3); // options are tested in order and stop at the first selected
    }

    void numberText_data()
    {
        QTest::addColumn<QLocale>("locale");
        QTest::addColumn<double>("value");
        QTest::addColumn<int>("places");
        QTest::addColumn<QString>("text");
        const QLocale e = kEnglish;
        QTest::newRow("trailing zeros dropped") << e << 5854086.5989866 << 2 << "5854086.6";
        QTest::newRow("whole value has no separator") << e << 12.0 << 4 << "12";
        QTest::newRow("zero") << e << 0.0 << 4 << "0";
        QTest::newRow("no grouping") << e << 1234567.891 << 2 << "1234567.89";
        QTest::newRow("half to even, down") << e << 0.125 << 2 << "0.12";
        QTest::newRow("half to even, up") << e << 0.375 << 2 << "0.38";
        QTest::newRow("half to even, whole") << e << 2.5 << 0 << "2";
        // Scaled by 100 this lands on ...513.5 exactly and would go up.
        QTest::newRow("just below a half stays below")
            << e << 13472225.134999999776 << 2 << "13472225.13";
        QTest::newRow("just above a half goes up") << e << 0.12500000000000003 << 2 << "0.13";
        QTest::newRow("negative") << e << -1234.56 << 2 << "-1234.56";
        QTest::newRow("negative rounding to zero") << e << -0.001 << 2 << "0";
        QTest::newRow("large whole value") << e << 1e20 << 4 << "100000000000000000000";
        QTest::newRow("German separator") << kGerman << 1234567.5 << 2 << "1234567,5";
        QTest::newRow("Swedish minus")
            << QLocale(QLocale::Swedish, QLocale::Sweden) << -1234.56 << 2 << "\u22121234,56";
        QTest::newRow("Arabic digits, sign and separator")
            << QLocale(QLocale::Arabic, QLocale::Egypt) << -1234.56 << 2
            << "\u061C-\u0661\u0662\u0663\u0664\u066B\u0665\u0666";
        QTest::newRow("Chakma digits beyond 16 bits, trailing zeros dropped")
            << QLocale(QLocale::Chakma) << 1200.5 << 2
            << QString::fromUtf8("\U00011137\U00011138\U00011136\U00011136.\U0001113B");
    }

    void numberText()
    {
        QFETCH(QLocale, locale);
        QFETCH(double, value);
        QFETCH(int, places);
        QFETCH(QString, text);
        QLocale::setDefault(locale);
        QCOMPARE(engine::numberText(value, places), text);
    }

    void numericTest_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("numeric");
        QTest::newRow("decimal") << "42.8712" << true;
        QTest::newRow("negative") << "-71.3878" << true;
        QTest::newRow("surrounding spaces") << " 42.8712 " << true;
        QTest::newRow("trailing zero kept") << "6.49570" << true;
        QTest::newRow("empty") << "" << false;
        QTest::newRow("letters") << "lat" << false;
        QTest::newRow("nan") << "nan" << false;
        QTest::newRow("infinity") << "inf" << false;
        QTest::newRow("too large") << "1e999" << false;
        QTest::newRow("semicolon pair") << "42.8712;-71.3878" << false;
        QTest::newRow("group separator") << "1,234" << false;
        QTest::newRow("surrounding tabs") << "\t42.8712\t" << true;
        QTest::newRow("line feed after") << "13.5\n" << false;
        QTest::newRow("line feed before") << "\n23.5" << false;
        QTest::newRow("carriage return after") << "13.5\r" << false;
        QTest::newRow("carriage return, line feed") << "13.5\r\n" << false;
    }

    void numericTest()
    {
        QFETCH(QString, text);
        QFETCH(bool, numeric);
        QCOMPARE(engine::isNumeric(text), numeric);
    }

    // Plain decimals take a quicker road than QLocale; both must give the
    // same answer and the same value in every kind of locale.
    void quickConversionAgreesWithTheLocale_data()
    {
        QTest::addColumn<QLocale>("locale");
        QTest::newRow("English") << kEnglish;
        QTest::newRow("German") << kGerman;
        QTest::newRow("French") << QLocale(QLocale::French, QLocale::France);
        QTest::newRow("Swedish") << QLocale(QLocale::Swedish, QLocale::Sweden);
        QTest::newRow("Arabic") << QLocale(QLocale::Arabic, QLocale::Egypt);
        QTest::newRow("Hindi") << QLocale(QLocale::Hindi, QLocale::India);
        QTest::newRow("C") << QLocale(QLocale::C);
    }

    void quickConversionAgreesWithTheLocale()
    {
        QFETCH(QLocale, locale);
        QLocale::setDefault(locale);
        QLocale reference = locale;
        reference.setNumberOptions(QLocale::RejectGroupSeparator);
        const QStringList texts{"42.8712",
                                "-71.3878",
                                "007",
                                "-0",
                                "123456789012345",
                                "0.1000000000000000055511151231257827",
                                "1234567890123456789012345678901234567890",
                                "1.",
                                ".5",
                                "-",
                                "",
                                " 1",
                                "1 ",
                                "\t-2.5\t",
                                "+1",
                                "1,5",
                                "1.234,5",
                                "1e5",
                                "nan",
                                "inf",
                                "1.2.3",
                                "--1",
                                "\u0661\u0662",
                                "\u22125",
                                QString(400, '9')};
        for (const QString& text : texts) {
            bool ok = false;
            const double expected =
                reference.toDouble(QString(text).replace('.', reference.decimalPoint()), &ok);
            const auto value = engine::toNumber(text);
            QVERIFY2(value.has_value() == (ok && std::isfinite(expected)), qPrintable(text));
            QCOMPARE(engine::isNumeric(text), value.has_value());
            if (value)
                QCOMPARE(*value, expected);
        }
    }
};

QTEST_GUILESS_MAIN(EngineTest)
#include "tst_engine.moc"
