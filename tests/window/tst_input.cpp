// Coordinate input: typed-in points, the example points, list files and the
// format help, driven through the window's buttons with scripted dialogs.

#include "form1controls.h"
#include "window/form1.h"
#include "archivewriter.h"
#include "listbytes.h"
#include "lists/listfile.h"
#include "lists/pointrecord.h"
#include "core/reporterror.h"
#include "scripteddialogs.h"
#include "files/paths.h"
#include "testsupport.h"

#include <QMimeData>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>
#include <fcntl.h>
#include <future>
#include <sys/fsuid.h>
#include <sys/stat.h>
#include <unistd.h>

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
    window::Form1 form;
    Window() { form.Form_Load(); }

    // Every row as "latitude|longitude".
    QStringList rows() const
    {
        QStringList out;
        for (qsizetype r = 1; r <= ui(form).ListView1->count(); ++r)
            out << ui(form).ListView1->text(r) + '|' + ui(form).ListView1->subItem(r, 1);
        return out;
    }
    void typeIn(const QString& entry)
    {
        if (!entry.isNull())
            dialogs.inputReplies.enqueue(entry);
        QTest::mouseClick(ui(form).PushButton6, Qt::LeftButton);
    }
    void loadFiles(const QStringList& paths)
    {
        dialogs.openReplies.enqueue(paths);
        QTest::mouseClick(ui(form).PushButton3, Qt::LeftButton);
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

// A document of each format around the four help points, and a GPX point of its own.
QByteArray gpx(const QByteArray& body)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<gpx version=\"1.1\" "
           "xmlns=\"http://www.topografix.com/GPX/1/1\">\n" +
           body + "</gpx>\n";
}

QByteArray kml(const QByteArray& coordinates)
{
    return "<kml xmlns=\"http://www.opengis.net/kml/2.2\"><Placemark><LineString><coordinates>" +
           coordinates + "</coordinates></LineString></Placemark></kml>";
}


// GeoJSON with two points, then GeometryCollections nested `depth` deep.
QByteArray deeplyNested(int depth)
{
    return R"({"type":"GeometryCollection","geometries":[)"
           R"({"type":"MultiPoint","coordinates":[[2,1],[4,3]]},)" +
           QByteArray(R"({"type":"GeometryCollection","geometries":[)").repeated(depth) +
           QByteArray("]}").repeated(depth) + "]}";
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
        QTest::newRow("pasted line break ignored") << "13.5,\n23.5" << QStringList() << false;
    }

    void typedInPoint()
    {
        QFETCH(QString, entry);
        QFETCH(QStringList, rows);
        QFETCH(bool, invalidMessage);
        Window w;
        ui(w.form).ListView1->addItem("1", "2");
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
        ui(w.form).ListView1->addItem("1", "2");
        QTest::mouseClick(ui(w.form).PushButton7, Qt::LeftButton);
        QTest::mouseClick(ui(w.form).PushButton7, Qt::LeftButton);
        QCOMPARE(w.rows(), QStringList{"1|2"} + kExampleRows + kExampleRows);
        QVERIFY(w.dialogs.messages.isEmpty());
    }

    void formatHelp()
    {
        Window w;
        QTest::mouseClick(ui(w.form).PushButton8, Qt::LeftButton);
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
        QTest::newRow("gzip-compressed list")
            << archivewriter::compressed(helpFile("\r\n"), ARCHIVE_FILTER_GZIP) << kHelpFileRows;
    }

    void listFile()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, rows);
        QTemporaryDir dir;
        Window w;
        ui(w.form).ListView1->addItem("1", "2");
        w.loadFiles({writeFile(dir, "points.txt", bytes)});
        QCOMPARE(w.rows(), QStringList{"1|2"} + rows);
        QCOMPARE(w.dialogs.texts(), QStringList());
        QCOMPARE(w.form.MousePointer(), window::Form1::kDefaultPointer);
    }

    // Each format: its points in document order, latitude first, texts as
    // written; a point that is no pair of numbers skipped with its line. The
    // same for any split of the bytes into blocks.
    void listFormats_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<QList<qint64>>("skipped");
        const QList<qint64> none;
        QTest::newRow("GPX: every point kind in document order, attributes either way")
            << gpx("<wpt lon=\"-71.3878\" lat=\"42.8712\"><name>a</name></wpt>\n"
                   "<rte><rtept lat=\"-0.58722\" lon=\"-69.79043\"/></rte>\n"
                   "<trk><trkseg><trkpt lat=\"6.49570\" lon=\"41.26694\"><ele>3</ele></trkpt>\n"
                   "<trkpt lon=\"47.90975\" lat=\"58.92982\"/></trkseg></trk>\n")
            << kHelpFileRows << none;
        QTest::newRow("GPX 1.0 with prefixes, one never declared")
            << QByteArray("<g:gpx version=\"1.0\" xmlns:g=\"http://www.topografix.com/GPX/1/0\">"
                          "<g:wpt lat=\"1\" lon=\"2\"/><g:trkpt lat=\"3\" lon=\"4\"/></g:gpx>")
            << QStringList{"1|2", "3|4"} << none;
        QTest::newRow("GPX: comments, names and bounds hold no points")
            << gpx("<!-- <trkpt lat=\"9\" lon=\"9\"/> -->\n<metadata><name>lat=\"9\" lon=\"9\""
                   "</name><bounds minlat=\"1\" minlon=\"2\" maxlat=\"3\" maxlon=\"4\"/>"
                   "</metadata>\n<trkpt lat=\"1\" lon=\"2\"/>\n")
            << QStringList{"1|2"} << none;
        QTest::newRow("GPX: byte-order mark, comment and document type first")
            << QByteArray("\xEF\xBB\xBF<!-- from a watch -->\n<!DOCTYPE gpx [<!ENTITY e \"x\">]>\n"
                          "<gpx><wpt lat=\"1\" lon=\"2\"/></gpx>")
            << QStringList{"1|2"} << none;
        QTest::newRow("GPX: a point that is no pair of numbers")
            << gpx("<wpt lat=\"north\" lon=\"2\"/>\n<wpt lat=\"1\"/>\n<wpt lat=\"1\" lon=\"2\"/>\n")
            << QStringList{"1|2"} << QList<qint64>{3, 4};
        QTest::newRow("KML: tuples lon,lat[,alt] apart by any white space")
            << kml("-71.3878,42.8712,0 -69.79043,-0.58722\n\t41.26694,6.49570,12.5\r\n"
                   "  47.90975,58.92982 ")
            << kHelpFileRows << none;
        QTest::newRow("KML: one tuple a line, several elements in document order")
            << QByteArray("<kml><Document><Placemark><Point><coordinates>\n2,1\n</coordinates>"
                          "</Point></Placemark><Placemark><LineString><coordinates>\n4,3\n6,5\n"
                          "</coordinates></LineString></Placemark></Document></kml>")
            << QStringList{"1|2", "3|4", "5|6"} << none;
        QTest::newRow("KML: a comment and character data inside coordinates")
            << kml("2,1 4,<!-- the coast -->3 <![CDATA[6,5]]>\n8,7")
            << QStringList{"1|2", "3|4", "5|6", "7|8"} << none;
        QTest::newRow("GPX: quotes of either kind, \">\" inside a value")
            << gpx("<wpt name='a>b' lat='1' lon=\"2\"/>\n") << QStringList{"1|2"} << none;
        QTest::newRow("KML: a tuple of one field")
            << kml("2,1\n7\n4,3") << QStringList{"1|2", "3|4"} << QList<qint64>{2};
        QTest::newRow("GeoJSON: FeatureCollection; bbox and properties hold no points")
            << QByteArray(R"({"type": "FeatureCollection", "bbox": [1, 2, 3, 4],
 "features": [
  {"type": "Feature", "properties": {"lat": 9, "coordinates": [9, 9]}, "bbox": [5, 6, 7, 8],
   "geometry": {"type": "Point", "coordinates": [-71.3878, 42.8712]}},
  {"geometry": {"coordinates": [[-69.79043, -0.58722, 10], [41.26694 , 6.49570]],
   "type": "LineString"}, "type": "Feature"},
  {"type": "Feature", "geometry": null, "properties": null},
  {"type": "Feature", "geometry": {"type": "MultiPoint", "coordinates": [[47.90975,58.92982]]}}
 ]})") << kHelpFileRows
            << none;
        QTest::newRow("GeoJSON: every geometry kind, bare and nested")
            << QByteArray(R"({"type": "GeometryCollection", "geometries": [
  {"type": "Point", "coordinates": [2, 1]},
  {"type": "MultiLineString", "coordinates": [[[4, 3]], [[6, 5], [8, 7]]]},
  {"type": "Polygon", "coordinates": [[[10, 9], [12, 11]]]},
  {"type": "MultiPolygon", "coordinates": [[[[14, 13]]], [[[16, 15]]]]},
  {"type": "GeometryCollection", "geometries": [{"coordinates": [18e0, -17.50],
   "type": "Point"}]}]})")
            << QStringList{"1|2",   "3|4",   "5|6",   "7|8",        "9|10",
                           "11|12", "13|14", "15|16", "-17.50|18e0"}
            << none;
        QTest::newRow("GeoJSON with a byte-order mark")
            << QByteArray("\xEF\xBB\xBF{\"type\":\"Point\",\"coordinates\":[2,1]}")
            << QStringList{"1|2"} << none;
        QTest::newRow("GeoJSON: a position out of range")
            << QByteArray("{\"type\":\"MultiPoint\",\n\"coordinates\":[[1,1e999],\n[2,1]]}")
            << QStringList{"1|2"} << QList<qint64>{2};
        QTest::newRow("GeoJSON: member names count with their escapes read")
            << QByteArray(R"({"typ\u0065":"Feature","geometr\u0079":{"type":"Point",)"
                          R"("\u0063oordinates":[2,1]},"properties":{"type":1,"type":2}})")
            << QStringList{"1|2"} << none;
        QTest::newRow("UTF-16 LE plain list")
            << listbytes::utf16("42.8712,-71.3878\r\n6.49570,41.26694\r\n", true)
            << QStringList{"42.8712|-71.3878", "6.49570|41.26694"} << none;
        QTest::newRow("UTF-16 BE plain list, not ASCII")
            << listbytes::utf16("Zürich\n6.49570,41.26694", false) << QStringList{"6.49570|41.26694"}
            << QList<qint64>{1};
        QTest::newRow("UTF-16 LE GPX")
            << listbytes::utf16("<?xml version=\"1.0\" encoding=\"UTF-16\"?><gpx><wpt lat=\"1\" lon=\"2\"/>"
                     "</gpx>",
                     true)
            << QStringList{"1|2"} << none;
        QTest::newRow("UTF-16 BE GeoJSON")
            << listbytes::utf16("{\"type\":\"Point\",\"coordinates\":[2,1]}", false) << QStringList{"1|2"}
            << none;
    }

    void listFormats()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, rows);
        QFETCH(QList<qint64>, skipped);
        for (const qsizetype block : {1, 3, 4096}) {
            const listbytes::Read read = listbytes::read(bytes, block);
            const QString where = QString("blocks of %1: ").arg(block);
            QVERIFY2(read.failure.isEmpty(), qPrintable(where + read.failure));
            QVERIFY2(read.rows == rows, qPrintable(where + read.rows.join(' ')));
            QCOMPARE(read.skipped, skipped);
        }
        QTemporaryDir dir;
        Window w;
        w.loadFiles({writeFile(dir, "points.txt", bytes)});
        QCOMPARE(w.rows(), rows);
        QCOMPARE(w.dialogs.texts(), QStringList());
    }

    // A broken file of a known format: one report at the calling step, its
    // points up to the fault kept, the other files loaded.
    void malformedFile_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<QString>("description");
        QTest::addColumn<bool>("alone");
        QTest::newRow("GPX cut short")
            << gpx("<trkpt lat=\"1\" lon=\"2\"/>\n<trkpt lat=\"3\" lon=\"4\"/>\n").chopped(10)
            << QStringList{"1|2"} << "Invalid file format: GPX, line 4: attributes construct error"
            << false;
        QTest::newRow("GPX, a tag closed that is not open")
            << gpx("<trkpt lat=\"1\" lon=\"2\"/>\n<trk></trkseg>\n<trkpt lat=\"3\" lon=\"4\"/>\n")
            << QStringList{"1|2"} << "Invalid file format: GPX, line 4: Opening and ending tag mismatch: trk line 4 and trkseg" << false;
        QTest::newRow("GPX alone")
            << QByteArray("<gpx><wpt lat=\"1\" lon=\"2\"></gpx>") << QStringList{"1|2"}
            << "Invalid file format: GPX, line 1: Opening and ending tag mismatch: wpt line 1 and gpx" << true;
        QTest::newRow("GPX, an attribute without quotes")
            << gpx("<wpt lat=\"1\" lon=\"2\"/>\n<wpt lat=3 lon=\"4\"/>\n") << QStringList{"1|2"}
            << "Invalid file format: GPX, line 4: AttValue: \" or ' expected" << false;
        QTest::newRow("GPX, a second document")
            << QByteArray("<gpx><wpt lat=\"1\" lon=\"2\"/></gpx>\n<gpx>") << QStringList{"1|2"}
            << "Invalid file format: GPX, line 2: Extra content at the end of the document" << false;
        QTest::newRow("GPX, a comment that never closes")
            << QByteArray("<gpx><wpt lat=\"1\" lon=\"2\"/><!-- <wpt lat=\"3\" lon=\"4\"/></gpx>")
            << QStringList{"1|2"} << "Invalid file format: GPX, line 1: Comment not terminated"
            << false;
        QTest::newRow("KML cut short")
            << kml("2,1 4,3").chopped(20) << QStringList{"1|2", "3|4"}
            << "Invalid file format: KML, line 1: expected '>'" << false;
        QTest::newRow("KML: bytes that are no UTF-8 inside coordinates")
            << kml("4,3 2,1\xED\n4,3") << QStringList{"3|4"}
            << "Invalid file format: KML, line 1: Input is not proper UTF-8, indicate encoding !\n"
               "Bytes: 0xED 0x0A 0x34 0x2C"
            << false;
        QTest::newRow("GeoJSON cut short")
            << QByteArray("{\"type\":\"MultiPoint\",\"coordinates\":[[2,1],[4,3]")
            << QStringList{"1|2", "3|4"}
            << "Invalid file format: GeoJSON: The JSON document has an improper structure: "
               "missing or superfluous commas, braces, missing keys, etc."
            << false;
        QTest::newRow("GeoJSON, a text for a number")
            << QByteArray("{\"type\":\"MultiPoint\",\"coordinates\":[[2,1],[\"4\",3]]}")
            << QStringList{"1|2"} << "Invalid file format: GeoJSON: a position that holds no number"
            << false;
        QTest::newRow("GeoJSON, text after the object")
            << QByteArray("{\"type\":\"Point\",\"coordinates\":[2,1]} x") << QStringList{"1|2"}
            << "Invalid file format: GeoJSON: more text after the object" << false;
        QTest::newRow("zip without KML")
            << archivewriter::pack({{"points.txt", "1,2\n"}}) << QStringList()
            << "Invalid file format: a zip without a KML document" << false;
        const QString deep("Invalid file format: GeoJSON: nested too deeply (more than 256 levels)");
        QTest::newRow("GeoJSON nested 30,000 deep: the points before kept")
            << deeplyNested(30000) << QStringList{"1|2", "3|4"} << deep << false;
        QTest::newRow("GeoJSON nested too deeply where no points are")
            << R"({"type":"Point","coordinates":[2,1],"properties":)" +
                   QByteArray("[").repeated(300) + QByteArray("]").repeated(300) + "}"
            << QStringList{"1|2"} << deep << false;
        QTest::newRow("GeoJSON, a second type")
            << QByteArray(R"({"type":"Point","coordinates":[2,1],"type":"MultiPoint"})")
            << QStringList{"1|2"} << "Invalid file format: GeoJSON: an object with a second \"type\""
            << false;
        QTest::newRow("GeoJSON, a second coordinates, escaped")
            << QByteArray(R"({"type":"Point","coordinates":[2,1],"co\u006frdinates":[4,3]})")
            << QStringList{"1|2"}
            << "Invalid file format: GeoJSON: an object with a second \"coordinates\"" << false;
        QTest::newRow("GeoJSON, no JSON where no points are")
            << QByteArray(R"({"type":"Point","coordinates":[2,1],"bbox":[01,NaN]})")
            << QStringList{"1|2"} << "Invalid file format: GeoJSON: \"01\" is no number" << false;
        QTest::newRow("GeoJSON, a list closed by a brace after the type")
            << QByteArray(R"({"type": "FeatureCollection":[-l}]})") << QStringList()
            << "Invalid file format: GeoJSON: The JSON document has an improper structure: "
               "missing or superfluous commas, braces, missing keys, etc."
            << false;
        QTest::newRow("GeoJSON, a misspelled null")
            << QByteArray(R"({"type":"Feature","geometry":nul})") << QStringList()
            << "Invalid file format: GeoJSON: \"nul\" is no value" << false;
        const QString notOne("not a GPX, KML, TCX or GeoJSON document");
        QTest::newRow("JSON without a type is no plain list")
            << QByteArray("{\"name\": \"x\"}\n1,2\n") << QStringList() << notOne << false;
        QTest::newRow("a misspelled GeoJSON type is no plain list")
            << QByteArray("{\"type\":\"Featur\"}\n1,2\n") << QStringList() << notOne << false;
        QTest::newRow("markup of another kind is no plain list")
            << QByteArray("<points>\n1,2\n</points>\n") << QStringList() << notOne << true;
        QTest::newRow("GeoJSON of an unknown type")
            << QByteArray("{\"type\":\"Feature\",\"geometry\":{\"type\":\"Circle\",\"radius\":1}}")
            << QStringList() << "Invalid file format: GeoJSON: unknown type \"Circle\"" << false;
    }

    void malformedFile()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, rows);
        QFETCH(QString, description);
        QFETCH(bool, alone);
        QTemporaryDir dir;
        const QString bad = writeFile(dir, "b.txt", bytes);
        Window w;
        if (alone) {
            w.loadFiles({bad});
            QCOMPARE(w.rows(), rows);
        } else {
            w.loadFiles({writeFile(dir, "a.txt", "1,1\n"), bad, writeFile(dir, "c.txt", "3,3\n")});
            QCOMPARE(w.rows(), QStringList{"1|1"} + rows + QStringList{"3|3"});
        }
        // A file that breaks its format is named in the report.
        QCOMPARE(w.dialogs.texts(), QStringList{report(alone ? 120 : 134, "b.txt: " + description)});
        QCOMPARE(w.form.MousePointer(), window::Form1::kDefaultPointer);
    }

    // What the path names is checked on the opened file: a pipe put in place of
    // a file after any earlier look is refused at once, never waited on.
    void refusedFile_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("description");
        QTest::newRow("pipe without a writer") << "pipe" << 75 << "Path/File access error";
        QTest::newRow("pipe with a silent writer") << "writer" << 75 << "Path/File access error";
        QTest::newRow("no read permission") << "unreadable" << 70 << "Permission denied";
    }

    void refusedFile()
    {
        QFETCH(QString, kind);
        QFETCH(int, number);
        QFETCH(QString, description);
        QTemporaryDir dir;
        // Searchable by the unprivileged user that reads the unreadable file.
        QVERIFY(QFile::setPermissions(dir.path(), QFile::permissions(dir.path()) | QFile::ExeOther |
                                                      QFile::ReadOther));
        const QString path = dir.filePath("list.txt");
        const QByteArray name = QFile::encodeName(path);
        int writer = -1;
        if (kind == "unreadable") {
            writeFile(dir, "list.txt", "1,2\n");
            QCOMPARE(::chmod(name.constData(), 0200), 0);
        } else {
            QCOMPARE(::mkfifo(name.constData(), 0600), 0);
            if (kind == "writer")
                writer = ::open(name.constData(), O_RDWR | O_NONBLOCK);
        }
        // The reader runs on a thread of its own: one that waited would fail the
        // test instead of hanging it. Root reads any file, so that thread reads
        // as an ordinary user (the file-system user is per thread).
        auto reading = std::async(std::launch::async, [&] {
            if (kind == "unreadable")
                ::setfsuid(65534);
            try {
                lists::readListFile(path, [](QStringView, QStringView) {});
            } catch (const core::Failure& failure) {
                return failure;
            }
            return core::Failure{};
        });
        const bool ended = reading.wait_for(std::chrono::seconds(60)) == std::future_status::ready;
        if (!ended) // lets the waiting reader go
            ::close(::open(name.constData(), O_WRONLY | O_NONBLOCK));
        if (writer >= 0)
            ::close(writer);
        QVERIFY2(ended, "the reader waited on the pipe");
        const core::Failure failure = reading.get();
        QCOMPARE(failure.number, number);
        QCOMPARE(failure.description, description);
    }

    // A link flipped between a list and a pipe while the list loads again and
    // again: every load ends, with the list's point or refused.
    void pipeSwappedInWhileLoading()
    {
        QTemporaryDir dir;
        const QByteArray list = QFile::encodeName(writeFile(dir, "list.txt", "1,2\n"));
        const QByteArray pipe = QFile::encodeName(dir.filePath("pipe"));
        const QByteArray link = QFile::encodeName(dir.filePath("link"));
        const QByteArray next = QFile::encodeName(dir.filePath("next"));
        QCOMPARE(::mkfifo(pipe.constData(), 0600), 0);
        QCOMPARE(::symlink(list.constData(), link.constData()), 0);
        std::atomic<bool> loaded{false};
        auto flipping = std::async(std::launch::async, [&] {
            for (int i = 0; !loaded; ++i) {
                ::symlink(i % 2 ? pipe.constData() : list.constData(), next.constData());
                ::rename(next.constData(), link.constData());
            }
        });
        auto loading = std::async(std::launch::async, [&] {
            int points = 0, refused = 0;
            for (int i = 0; i < 20000; ++i) {
                try {
                    lists::readListFile(QFile::decodeName(link),
                                        [&](QStringView, QStringView) { ++points; });
                } catch (const core::Failure& failure) {
                    refused += failure.number == 75;
                }
            }
            return points + refused;
        });
        const bool ended = loading.wait_for(std::chrono::seconds(60)) == std::future_status::ready;
        loaded = true;
        // A reader that waits on the pipe is let go, again and again.
        while (loading.wait_for(std::chrono::milliseconds(10)) != std::future_status::ready)
            ::close(::open(pipe.constData(), O_WRONLY | O_NONBLOCK));
        QVERIFY2(ended, "a load waited on the pipe");
        QCOMPARE(loading.get(), 20000);
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
        QCOMPARE(ui(w.form).ListView1->count(), rows.size());
        QCOMPARE(w.rows(), rows);
    }

    void pointsWithDotsLoadInAGermanLocale()
    {
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        QTemporaryDir dir;
        Window w;
        w.loadFiles({writeFile(dir, "points.txt", helpFile("\r\n"))});
        w.typeIn("33.0169,-116.846");
        w.loadFiles({writeFile(dir, "points.json", R"({"type":"Point","coordinates":[2.5,1e-1]})")});
        QCOMPARE(w.rows(), kHelpFileRows + QStringList({"33.0169|-116.846", "1e-1|2.5"}));
    }

    // Files given with --open or dropped are many and picked by no one: each
    // report names its file. A nesting that would overflow the stack is one.
    void filesFromOutsideNameTheirReports()
    {
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir("folder"));
        Window w;
        w.form.LoadListFiles({writeFile(dir, "deep.json", deeplyNested(30000)),
                              dir.filePath("gone.txt"), dir.filePath("folder")});
        const QString at = QStringLiteral("Orvanta2021/08/31.Form1.LoadListFiles");
        QCOMPARE(w.dialogs.texts(),
                 (QStringList{core::errorReportText(at, 102,
                                                    "deep.json: Invalid file format: GeoJSON: "
                                                    "nested too deeply (more than 256 levels)"),
                              "gone.txt: File not found",
                              core::errorReportText(at, 102, "folder: Path/File access error")}));
        QCOMPARE(w.rows(), QStringList({"1|2", "3|4"}));
    }

    void severalFilesInDialogOrder()
    {
        QTemporaryDir dir;
        const QString a = writeFile(dir, "a.txt", "1,1\n");
        const QString b = writeFile(dir, "b.txt", "2,2\r\n2.5,2.5");
        const QString c = writeFile(dir, "c.txt", "3,3\r");
        Window w;
        QList<int> pointers;
        connect(ui(w.form).ListView1->model(), &QAbstractItemModel::rowsInserted, &w.form,
                [&] { pointers << w.form.MousePointer(); });
        w.loadFiles({c, a, b});
        QCOMPARE(w.rows(), QStringList({"3|3", "1|1", "2|2", "2.5|2.5"}));
        QCOMPARE(w.dialogs.texts(), QStringList());
        QCOMPARE(w.form.MousePointer(), window::Form1::kDefaultPointer);

        QCOMPARE(w.dialogs.fileRequests.size(), 1);
        const platform::FileDialogRequest& request = w.dialogs.fileRequests[0];
        QCOMPARE(request.title, QString("Load List(s) - Hold Ctrl to select multiple list files"));
        QCOMPARE(request.filter,
                 QString("Text Files (*.txt)|*.txt|GPS and Map Files (*.gpx;*.kml;*.kmz;*.tcx;"
                         "*.fit;*.FIT;*.nmea;*.geojson;*.json;*.gz;*.bz2;*.xz)|*.gpx;*.kml;*.kmz;"
                         "*.tcx;*.fit;*.FIT;*.nmea;*.geojson;*.json;*.gz;*.bz2;*.xz|"
                         "All Files (*.*)|*.*|"));
        QCOMPARE(request.flags, 2621953);
        QCOMPARE(request.fileName, QString());
    }

    void droppedFilesLoadInOrder_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<int>("pointer"); // the window's pointer when the files arrive
        QTest::addColumn<QStringList>("rows");
        const QStringList loaded{"3|3", "1|1", "2|2"};
        QTest::newRow("on the window") << "window" << 0 << loaded;
        QTest::newRow("on the coordinate list") << "coordinates" << 0 << loaded;
        QTest::newRow("on the results list") << "results" << 0 << loaded;
        QTest::newRow("during a long operation") << "coordinates" << 11 << QStringList();
    }

    // Local files dragged from a file manager, with a web address and a
    // vanished file among them.
    void droppedFilesLoadInOrder()
    {
        QFETCH(QString, target);
        QFETCH(int, pointer);
        QFETCH(QStringList, rows);
        QTemporaryDir dir;
        const QString a = writeFile(dir, "a.txt", "1,1\n2,2\n");
        const QString c = writeFile(dir, "c.txt", "3,3\n");
        Window w;
        w.form.setMousePointer(pointer);
        QList<int> pointers; // at each message
        w.dialogs.onMessage = [&](const RecordedMessage&) { pointers << w.form.MousePointer(); };
        QWidget* on = target == "window"        ? &w.form
                      : target == "coordinates" ? ui(w.form).ListView1->viewport()
                                                : ui(w.form).ListView2->viewport();
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(c), QUrl("https://example.org/b.txt"),
                      QUrl::fromLocalFile(dir.filePath("gone.txt")), QUrl::fromLocalFile(a)});
        const QPoint at = on->rect().center();
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(on, &enter);
        QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(on, &drop);

        QCOMPARE(enter.isAccepted(), pointer == 0);
        const bool taken = !rows.isEmpty();
        QCoreApplication::sendPostedEvents(); // the load follows the drop
        QCOMPARE(w.rows(), rows);
        QCOMPARE(w.dialogs.texts(), taken ? QStringList{"gone.txt: File not found"} : QStringList());
        QCOMPARE(pointers, taken ? QList<int>{window::Form1::kHourglass} : QList<int>());
        QCOMPARE(w.form.MousePointer(), pointer);
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
        QCOMPARE(pointerDuringMessage, window::Form1::kHourglass);
        QCOMPARE(w.form.MousePointer(), window::Form1::kDefaultPointer);
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
        QCOMPARE(w.form.MousePointer(), window::Form1::kDefaultPointer);
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
        QCOMPARE(pointers, QList<int>{window::Form1::kDefaultPointer});
        QCOMPARE(w.form.MousePointer(), window::Form1::kDefaultPointer);
        QCOMPARE(ui(w.form).ListView1->count(), 0);
    }

    void cancelledDialog()
    {
        Window w;
        ui(w.form).CommonDialog1.FileName = "left over from an earlier dialog";
        QTest::mouseClick(ui(w.form).PushButton3, Qt::LeftButton);
        QCOMPARE(w.dialogs.fileRequests.size(), 1);
        QCOMPARE(w.dialogs.texts(), QStringList());
        QCOMPARE(ui(w.form).ListView1->count(), 0);
        QCOMPARE(w.form.MousePointer(), window::Form1::kDefaultPointer);
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
        QCOMPARE(files::CleanJoinedPath(files::JoinedPath(folder, name)), path);
    }
};

int runInputTest(int argc, char* argv[])
{
    InputTest test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_input.moc"
