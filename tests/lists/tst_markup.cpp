// The list readers without the window: GPX, KML and TCX through the XML
// parser, as the bytes arrive in blocks of any size.

#include "core/failure.h"
#include "listbytes.h"

#include <QLocale>
#include <QTemporaryDir>
#include <QtTest>

#include <chrono>
#include <fcntl.h>
#include <future>
#include <sys/stat.h>
#include <unistd.h>

namespace {

using listbytes::Read;
using listbytes::read;

const QByteArray kGpx11("<gpx version=\"1.1\" xmlns=\"http://www.topografix.com/GPX/1/1\">");

QByteArray kml(const QByteArray& body)
{
    return "<kml xmlns=\"http://www.opengis.net/kml/2.2\" xmlns:gx=\"http://www.google.com/kml/ext/"
           "2.2\"><Document>" +
           body + "</Document></kml>";
}

QByteArray lineString(const QByteArray& coordinates)
{
    return "<Placemark><LineString><coordinates>" + coordinates +
           "</coordinates></LineString></Placemark>";
}

QByteArray tcx(const QByteArray& body)
{
    return "<TrainingCenterDatabase xmlns=\"http://www.garmin.com/xmlschemas/"
           "TrainingCenterDatabase/v2\">" +
           body + "</TrainingCenterDatabase>";
}

QByteArray position(const QByteArray& latitude, const QByteArray& longitude)
{
    return "<Position><LatitudeDegrees>" + latitude + "</LatitudeDegrees><LongitudeDegrees>" +
           longitude + "</LongitudeDegrees></Position>";
}

QByteArray laughs()
{
    QByteArray subset = "<!ENTITY a0 \"ha\">";
    for (int i = 1; i <= 12; ++i)
        subset += QByteArray("<!ENTITY a%1 \"").replace("%1", QByteArray::number(i)) +
                  QByteArray("&a%1;").replace("%1", QByteArray::number(i - 1)).repeated(10) + "\">";
    return "<!DOCTYPE gpx [" + subset + "]><gpx><wpt lat=\"1\" lon=\"2\"><name>&a12;</name></wpt></gpx>";
}

// A GPX point at the given depth of elements (the gpx element is the first).
QByteArray pointAtDepth(int depth)
{
    return kGpx11 + "<wpt lat=\"1\" lon=\"2\"/>\n" + QByteArray("<a>").repeated(depth - 2) +
           "<wpt lat=\"3\" lon=\"4\"/>" + QByteArray("</a>").repeated(depth - 2) + "</gpx>";
}

// A GeoJSON point whose feature holds lists nested to `depth` levels of
// objects and lists in all.
QByteArray geojsonAtDepth(int depth)
{
    return R"({"type":"Feature","geometry":{"type":"Point","coordinates":[2,1]},"properties":{"x":)" +
           QByteArray("[").repeated(depth - 2) + QByteArray("]").repeated(depth - 2) + "}}";
}

// A GPX point whose tag holds `count` attributes in all.
QByteArray pointWithAttributes(int count)
{
    QByteArray tag = "<wpt lat=\"3\" lon=\"4\"";
    for (int i = 2; i < count; ++i)
        tag += " a" + QByteArray::number(i) + "=''";
    return kGpx11 + "<wpt lat=\"1\" lon=\"2\"/>\n" + tag + "/></gpx>";
}

// `count` references on line 3 to an entity of `size` bytes.
QByteArray expansions(int size, int count)
{
    return "<!DOCTYPE gpx [<!ENTITY e \"" + QByteArray(size, 'x') + "\">]>\n" + kGpx11 +
           "<wpt lat=\"1\" lon=\"2\"/>\n<wpt lat=\"3\" lon=\"4\"><name>" +
           QByteArray("&e;").repeated(count) + "</name></wpt></gpx>";
}

// `count` declared defaults for the element a.
QByteArray declaredAttributes(int count)
{
    QByteArray subset;
    for (int i = 0; i < count; ++i)
        subset += "<!ATTLIST a d" + QByteArray::number(i) + " CDATA 'x'>";
    return "<!DOCTYPE gpx [" + subset + "]>\n" + kGpx11 + "<wpt lat=\"1\" lon=\"2\"/><a/></gpx>";
}

// `count` namespaces declared on the elements around a point, 100 to an element.
QByteArray namespacesInScope(int count)
{
    QByteArray open, close;
    for (int i = 0; i < count; ++i) {
        if (i % 100 == 0) {
            open += i == 0 ? "<a" : "><a";
            close += "</a>";
        }
        open += " xmlns:p" + QByteArray::number(i) + "='urn:" + QByteArray::number(i) + "'";
    }
    open += ">";
    return kGpx11 + "<wpt lat=\"1\" lon=\"2\"/>\n" + open + "<wpt lat=\"3\" lon=\"4\"/>" +
           close + "</gpx>";
}

} // namespace

class MarkupFormatsTest : public QObject {
    Q_OBJECT

private slots:
    void init() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }

    void documents_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<QList<qint64>>("skipped");
        QTest::addColumn<QString>("failure"); // the start of the failure's text, or nothing
        const QList<qint64> none;
        const QString whole;

        QTest::newRow("DOCTYPE subset: a comment and a PI holding quotes")
            << QByteArray("<!DOCTYPE gpx [<!-- it's --><?note \"a\"?>]>\n<gpx><wpt lat=\"1\" "
                          "lon=\"2\"/></gpx>")
            << QStringList{"1|2"} << none << whole;
        // libxml2 2.9's push parser looks for the subset's end with quotes
        // counted: a lone one in a PI hides it. A failure, never a plain list.
        QTest::newRow("DOCTYPE subset: a PI holding a lone quote")
            << QByteArray("<!DOCTYPE gpx [<?note \"?>]>\n<gpx><wpt lat=\"1\" lon=\"2\"/></gpx>")
            << QStringList() << none << "Invalid file format: XML, line ";
        QTest::newRow("character and entity references")
            << QByteArray("<!DOCTYPE gpx [<!ENTITY south \"-\">]><gpx><wpt lat=\"&#45;1\" "
                          "lon=\"&#x2D;4\"/><wpt lat=\"&south;1\" lon=\"2\"/></gpx>")
            << QStringList{"-1|-4", "-1|2"} << none << whole;
        QTest::newRow("]> inside an entity value")
            << QByteArray("<!DOCTYPE kml [<!ENTITY e \"]>\">]>") + kml(lineString("2,1"))
            << QStringList{"1|2"} << none << whole;
        QTest::newRow("KML behind a DOCTYPE with ] in an entity: not a plain list")
            << "<!DOCTYPE kml SYSTEM \"kml.dtd\" [<!ENTITY copy \"(c) a]b\">]>\n" +
                   kml(lineString("\n-71.3878,42.8712,0\n-116.846,33.0169,0\n"))
            << QStringList{"42.8712|-71.3878", "33.0169|-116.846"} << none << whole;
        QTest::newRow("> in the DOCTYPE's system name")
            << QByteArray("<!DOCTYPE gpx SYSTEM \"a>b.dtd\">\n<gpx><wpt lat=\"1\" lon=\"2\"/></gpx>")
            << QStringList{"1|2"} << none << whole;
        QTest::newRow("a point element of another namespace")
            << kGpx11 + "<wpt lat=\"1\" lon=\"2\"><extensions><o:wpt xmlns:o=\"urn:other\" "
                        "lat=\"9\" lon=\"9\"/></extensions></wpt><trkpt o:lat=\"3\" lat=\"4\" "
                        "lon=\"5\" xmlns:o=\"urn:other\"/></gpx>"
            << QStringList{"1|2", "4|5"} << none << whole;
        QTest::newRow("lat of another namespace is no lat")
            << kGpx11 + "<wpt o:lat=\"3\" lon=\"5\" xmlns:o=\"urn:other\"/>\n"
                        "<wpt lat=\"4\" o:lat=\"3\" lon=\"5\" xmlns:o=\"urn:other\"/></gpx>"
            << QStringList{"4|5"} << QList<qint64>{1} << whole;
        QTest::newRow("TCX degrees count only right inside their Position")
            << tcx("<Courses><Course><Track>\n<Trackpoint><Position><x>"
                   "<LatitudeDegrees>1</LatitudeDegrees></x><LongitudeDegrees>2</LongitudeDegrees>"
                   "</Position></Trackpoint>\n<Trackpoint>" +
                   position("3", "4") + "</Trackpoint></Track></Course></Courses>")
            << QStringList{"3|4"} << QList<qint64>{2} << whole;
        for (const char* uri :
             {"http://www.opengis.net/kml/2.2", "http://www.opengis.net/kml/2.3",
              "http://earth.google.com/kml/2.0", "http://earth.google.com/kml/2.1",
              "http://earth.google.com/kml/2.2"})
            QTest::addRow("KML namespace %s", uri)
                << "<kml xmlns=\"" + QByteArray(uri) + "\">" + lineString("2,1") + "</kml>"
                << QStringList{"1|2"} << none << whole;
        QTest::newRow("KML without a namespace")
            << "<kml>" + lineString("2,1") + "</kml>" << QStringList{"1|2"} << none << whole;
        QTest::newRow("KML of another namespace: no document of ours")
            << "<kml xmlns=\"http://earth.google.com/kml/1.0\">" + lineString("2,1") + "</kml>"
            << QStringList() << none << "not a GPX, KML, TCX or GeoJSON document";
        QTest::newRow("GeoJSON nested 256 deep: read")
            << geojsonAtDepth(256) << QStringList{"1|2"} << none << whole;
        QTest::newRow("GeoJSON nested 257 deep: refused")
            << geojsonAtDepth(257) << QStringList{"1|2"} << none << "Invalid file format";
        QTest::newRow("GeoJSON position of one number: a failure")
            << QByteArray(R"({"type":"Point","coordinates":[2]})") << QStringList() << none
            << "Invalid file format";
        QTest::newRow("GeoJSON string with a bad escape: a failure")
            << QByteArray(R"({"type":"Feature","properties":{"name":"a\qb"},)"
                          R"("geometry":{"type":"Point","coordinates":[2,1]}})")
            << QStringList() << none << "Invalid file format";
        QTest::newRow("GeoJSON string with a cut unicode escape: a failure")
            << QByteArray(R"({"type":"Feature","properties":{"name":"\u12"},)"
                          R"("geometry":{"type":"Point","coordinates":[2,1]}})")
            << QStringList() << none << "Invalid file format";
        QTest::newRow("&#10; between KML tuples") << kml(lineString("2,1&#10;4,3"))
                                                  << QStringList{"1|2", "3|4"} << none << whole;
        QTest::newRow("tab in an attribute: white space, no part of the number")
            << QByteArray("<gpx><wpt lat=\"\t1\" lon=\"2\"/></gpx>") << QStringList{"1|2"} << none
            << whole;
        QTest::newRow("references to white space around a number, digits as written")
            << QByteArray("<gpx><wpt lat=\"&#10;5.0\" lon=\"&#9;-01&#13; \"/></gpx>")
            << QStringList{"5.0|-01"} << none << whole;
        QTest::newRow("TCX degrees that hold an element: no number")
            << tcx("<Courses><Course><Track><Trackpoint>" +
                   position("1<x>3</x>", "2") + "</Trackpoint></Track></Course></Courses>")
            << QStringList() << QList<qint64>{1} << whole;
        QTest::newRow("KML 2.3")
            << "<kml xmlns=\"http://www.opengis.net/kml/2.3\">" + lineString("2,1") + "</kml>"
            << QStringList{"1|2"} << none << whole;
        QTest::newRow("a Placemark of KML 2.1 as the document")
            << QByteArray("<Placemark xmlns=\"http://earth.google.com/kml/2.1\"><Point>"
                          "<coordinates>2,1</coordinates></Point></Placemark>")
            << QStringList{"1|2"} << none << whole;
        QTest::newRow("UTF-16 BE without a mark")
            << listbytes::utf16("<?xml version=\"1.0\"?><gpx><wpt lat=\"1\" lon=\"2\"/></gpx>", false)
                   .sliced(2)
            << QStringList{"1|2"} << none << whole;
        QTest::newRow("gx:Track between two LineStrings, in document order")
            << kml(lineString("2,1") +
                   "<Placemark><gx:Track><when>2026</when><gx:coord>4 3 10</gx:coord>\n"
                   "<gx:coord> 6 5 </gx:coord></gx:Track></Placemark>" +
                   "<Placemark><gx:MultiTrack><gx:Track><gx:coord>8 7</gx:coord></gx:Track>"
                   "</gx:MultiTrack></Placemark>" +
                   lineString("10,9"))
            << QStringList{"1|2", "3|4", "5|6", "7|8", "9|10"} << none << whole;
        QTest::newRow("gx:coord that is not two numbers: skipped")
            << kml("<gx:Track>\n<gx:coord>4</gx:coord>\n<gx:coord>4 x</gx:coord>\n"
                   "<gx:coord>1 2 3 4</gx:coord>\n<gx:coord>4,5 3</gx:coord>\n</gx:Track>")
            << QStringList() << QList<qint64>{2, 3, 4, 5} << whole;
        QTest::newRow("TCX activity: Trackpoints with and without a Position")
            << tcx("<Activities><Activity><Lap><Track>\n<Trackpoint>" + position("47.6443", "-122.34") +
                   "</Trackpoint>\n<Trackpoint><HeartRateBpm><Value>9</Value></HeartRateBpm>"
                   "</Trackpoint>\n<Trackpoint><Position><LatitudeDegrees>1</LatitudeDegrees>"
                   "</Position></Trackpoint>\n<Trackpoint>" +
                   position("\n 1.5 ", "2") + "</Trackpoint></Track></Lap></Activity></Activities>")
            << QStringList{"47.6443|-122.34", "1.5|2"} << QList<qint64>{4} << whole;
        QTest::newRow("TCX course: track points and course points in document order")
            << tcx("<Courses><Course><Track><Trackpoint>" + position("1", "2") +
                   "</Trackpoint></Track><CoursePoint><Name>a</Name>" + position("3", "4") +
                   "</CoursePoint><Track><Trackpoint>" + position("5", "6") +
                   "</Trackpoint></Track></Course></Courses>")
            << QStringList{"1|2", "3|4", "5|6"} << none << whole;
        QTest::newRow("billion laughs: refused")
            << laughs() << QStringList{"1|2"} << none
            << "Invalid file format: GPX, line 1: entities that expand";
        QTest::newRow("billion laughs: told at the reference's line")
            << laughs().replace("<name>", "\n\n<name>") << QStringList{"1|2"} << none
            << "Invalid file format: GPX, line 3: entities that expand";
        QTest::newRow("an external entity inside an internal one: refused, never read")
            << QByteArray("<!DOCTYPE gpx [<!ENTITY y \"&x;\"><!ENTITY x SYSTEM \"/etc/hostname\">]>\n"
                          "<gpx><wpt lat=\"1\" lon=\"2\"/>\n<name>&y;</name></gpx>")
            << QStringList{"1|2"} << none
            << "Invalid file format: GPX, line 3: a reference to the external entity \"x\"";
        QTest::newRow("an external entity in an attribute: refused")
            << QByteArray("<!DOCTYPE gpx [<!ENTITY x SYSTEM \"/etc/hostname\">]>\n<gpx><wpt "
                          "lat=\"1\" lon=\"2\"/>\n<wpt lat=\"&x;\" lon=\"2\"/></gpx>")
            << QStringList{"1|2"} << none
            << "Invalid file format: GPX, line 3: a reference to the external entity \"x\"";
        // Wherever the blocks split it, the same judgement.
        QTest::newRow("]]> in text: refused at any split")
            << kGpx11 + "<wpt lat=\"1\" lon=\"2\"><name>a]]>b</name></wpt></gpx>"
            << QStringList{"1|2"} << none
            << "Invalid file format: GPX, line 1: Sequence ']]>' not allowed";
        QTest::newRow("]]] then > from a reference or a section: allowed")
            << kGpx11 + "<wpt lat=\"1\" lon=\"2\"><name>a]]]&gt;b]]<![CDATA[>]]]]]]>"
                        "</name></wpt></gpx>"
            << QStringList{"1|2"} << none << whole;
        QTest::newRow("256 levels: read") << pointAtDepth(256) << QStringList{"1|2", "3|4"}
                                          << none << whole;
        QTest::newRow("257 levels: nested too deeply, the points before kept")
            << pointAtDepth(257) << QStringList{"1|2"} << none
            << "Invalid file format: GPX, line 2: nested too deeply (more than 256 levels)";
        QTest::newRow("256 attributes: read")
            << pointWithAttributes(256) << QStringList{"1|2", "3|4"} << none << whole;
        QTest::newRow("257 attributes: refused at the tag's line, the points before kept")
            << pointWithAttributes(257) << QStringList{"1|2"} << none
            << "Invalid file format: GPX, line 2: a tag with more than 256 attributes";
        QTest::newRow("quotes in comments, sections and instructions are no attributes")
            << kGpx11 + "<!--" + QByteArray("\"\"").repeated(300) + "-->\n<?pi " +
                   QByteArray("''").repeated(300) + "?" "?><name><![CDATA[" +
                   QByteArray("''").repeated(300) + "]]]></name><wpt lat=\"1\" lon=\"2\"/></gpx>"
            << QStringList{"1|2"} << none << whole;
        QTest::newRow("257 attribute declarations: refused")
            << declaredAttributes(257) << QStringList() << none
            << "Invalid file format: XML, line 1: more than 256 attribute declarations";
        QTest::newRow("256 attribute declarations: read")
            << declaredAttributes(256) << QStringList{"1|2"} << none << whole;
        QTest::newRow("257 namespaces in scope, the gpx one among them: refused")
            << namespacesInScope(256) << QStringList{"1|2"} << none
            << "Invalid file format: GPX, line 2: more than 256 namespace declarations in scope";
        QTest::newRow("256 namespaces in scope: read")
            << namespacesInScope(255) << QStringList{"1|2", "3|4"} << none << whole;
        QTest::newRow("an external entity: refused, never read")
            << QByteArray("<!DOCTYPE gpx [<!ENTITY x SYSTEM \"/etc/hostname\">]>\n<gpx><wpt "
                          "lat=\"1\" lon=\"2\"/>\n<name>&x;</name></gpx>")
            << QStringList{"1|2"} << none
            << "Invalid file format: GPX, line 3: a reference to the external entity \"x\"";
        QTest::newRow("markup that is not well formed: a failure, not a plain list")
            << QByteArray("<1,2>\n3,4\n") << QStringList() << none
            << "Invalid file format: XML, line 1: ";
        QTest::newRow("cut inside its elements: the points before kept")
            << QByteArray("<gpx><wpt lat=\"1\" lon=\"2\"/>\n<trk>") << QStringList{"1|2"}
            << none << "Invalid file format: GPX, line 2: the document ends early";
        QTest::newRow("a tag closed that is not open: the points before kept")
            << QByteArray("<gpx><wpt lat=\"1\" lon=\"2\"/>\n<trk></trkseg></gpx>")
            << QStringList{"1|2"} << none << "Invalid file format: GPX, line 2: ";
        QTest::newRow("a prefix without a namespace")
            << QByteArray("<gpx><wpt lat=\"1\" lon=\"2\"/><x:trkpt lat=\"3\" lon=\"4\"/></gpx>")
            << QStringList{"1|2"} << none << "Invalid file format: GPX, line 1: Namespace prefix x";
        QTest::newRow("gpx of another namespace: none of the formats, no plain list")
            << QByteArray("<gpx xmlns=\"urn:other\">\n1,2\n</gpx>\n") << QStringList()
            << none << "not a GPX, KML, TCX or GeoJSON document";
        QTest::newRow("a number text longer than 1024 bytes: no point")
            << "<gpx><wpt lat=\"0." + QByteArray(1100, '0') + "1\" lon=\"2\"/></gpx>"
            << QStringList() << QList<qint64>{1} << whole;
        QTest::newRow("TCX degrees longer than 1024 bytes: no point, though they start as one")
            << tcx("<Courses><Course><Track><Trackpoint>" +
                   position("1" + QByteArray(1100, ' ') + "x", "2") +
                   "</Trackpoint></Track></Course></Courses>")
            << QStringList() << QList<qint64>{1} << whole;
        QTest::newRow("ISO-8859-1 declared")
            << QByteArray("<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><gpx><wpt lat=\"1\" "
                          "lon=\"2\"><name>Bogot\xE1</name></wpt></gpx>")
            << QStringList{"1|2"} << none << whole;
    }

    void documents()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, rows);
        QFETCH(QList<qint64>, skipped);
        QFETCH(QString, failure);
        for (const qsizetype block : {1, 7, 4096}) {
            const Read result = read(bytes, block);
            const QString where = QString("blocks of %1: ").arg(block);
            QVERIFY2(result.rows == rows, qPrintable(where + result.rows.join(' ')));
            QCOMPARE(result.skipped, skipped);
            QVERIFY2(failure.isEmpty() ? result.failure.isEmpty()
                                       : result.failure.startsWith(failure),
                     qPrintable(where + result.failure));
        }
    }

    // Segments and times as each format has them, fed in blocks of any size:
    // rows "segment" where one begins, "@time" right before its point.
    void tracks_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("rows");
        const QByteArray t1("2024-05-01T10:00:00Z"), t2("2024-05-01T12:00:05.50+02:00");
        const QString at1("@2024-05-01T10:00:00Z"), at2("@2024-05-01T10:00:05.50Z");
        QTest::newRow("GPX: the waypoints one group, a rte and each trkseg a segment")
            << kGpx11 + "<wpt lat=\"1\" lon=\"2\"/><wpt lat=\"3\" lon=\"4\"/><rte><rtept "
                        "lat=\"5\" lon=\"6\"/></rte><trk><trkseg><trkpt lat=\"7\" lon=\"8\"/>"
                        "</trkseg><trkseg><trkpt lat=\"9\" lon=\"10\"/></trkseg></trk></gpx>"
            << QStringList{"segment", "1|2", "3|4", "segment", "5|6", "segment", "7|8", "segment", "9|10"};
        QTest::newRow("GPX: each point its own time, none from the one before or the metadata")
            << kGpx11 + "<metadata><time>" + t1 + "</time></metadata><trk><trkseg>"
                        "<trkpt lat=\"1\" lon=\"2\"><ele>5</ele><time>" + t2 + "</time></trkpt>"
                        "<trkpt lat=\"3\" lon=\"4\"/><trkpt lat=\"5\" lon=\"6\"><time>noon"
                        "</time></trkpt><trkpt lon=\"8\"><time>" + t1 + "</time></trkpt>"
                        "<trkpt lat=\"9\" lon=\"10\"/></trkseg></trk></gpx>"
            << QStringList{"segment", at2, "1|2", "3|4", "5|6", "9|10"};
        QTest::newRow("KML: Points one group, a LineString, a ring, a gx:Track's whens in turn")
            << kml("<Placemark><TimeStamp><when>" + t1 + "</when></TimeStamp><Point><coordinates>"
                   "2,1</coordinates></Point></Placemark><Placemark><Point><coordinates>4,3"
                   "</coordinates></Point></Placemark>" + lineString("6,5 8,7") +
                   "<Placemark><Polygon><outerBoundaryIs><LinearRing><coordinates>10,9 12,11"
                   "</coordinates></LinearRing></outerBoundaryIs></Polygon></Placemark>"
                   "<Placemark><gx:Track><when>" + t1 + "</when><when>" + t2 + "</when>"
                   "<gx:coord>14 13 0</gx:coord><gx:coord>16 15 0</gx:coord></gx:Track></Placemark>")
            << QStringList{"segment", at1, "1|2", "3|4", "segment", "5|6", "7|8", "segment",
                           "9|10", "11|12", "segment", at1, "13|14", at2, "15|16"};
        QTest::newRow("TCX: each Track a segment, a Trackpoint's or CoursePoint's Time its own")
            << tcx("<Activities><Activity><Lap><Track><Trackpoint><Time>" + t1 + "</Time>" +
                   position("1", "2") + "</Trackpoint><Trackpoint>" + position("3", "4") +
                   "</Trackpoint></Track><Track><Trackpoint><Time>" + t2 + "</Time>" +
                   position("5", "6") + "</Trackpoint></Track></Lap></Activity></Activities>"
                   "<Courses><Course><Track><Trackpoint><Time>" + t1 + "</Time></Trackpoint>"
                   "</Track><CoursePoint>" + position("7", "8") + "</CoursePoint></Course></Courses>")
            << QStringList{"segment", at1, "1|2", "3|4", "segment", at2, "5|6", "segment", "7|8"};
        QTest::newRow("GeoJSON: points one group, each line and ring a segment, times in order")
            << QByteArray(R"({"type":"FeatureCollection","features":[)"
                          R"({"type":"Feature","geometry":{"type":"MultiPoint","coordinates":[[2,1],[4,3]]}},)"
                          R"({"type":"Feature","properties":{"coordTimes":[[")" + t1 + R"("],["x",")" + t2 + R"("]]},)"
                          R"("geometry":{"type":"MultiLineString","coordinates":[[[6,5]],[[8,7],[10,9]]]}},)"
                          R"({"type":"Feature","geometry":{"type":"Polygon","coordinates":[[[12,11]],[[14,13]]]}}]})")
            << QStringList{"segment", "1|2", "3|4", "segment", at1, "5|6", "segment", "7|8",
                           at2, "9|10", "segment", "11|12", "segment", "13|14"};
        QTest::newRow("NMEA: the RMC's date for the GGA of its fix, none before any date")
            << QByteArray("$GPGGA,120000,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,*49\n"
                          "$GPGGA,120001.5,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,\n"
                          "$GPRMC,120001.5,A,4807.038,N,01131.000,E,0,0,290224,,\n"
                          "$GPGGA,120002,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,\n")
            << QStringList{"48.1173|11.5166667", "@2024-02-29T12:00:01.5Z", "48.1173|11.5166667",
                           "@2024-02-29T12:00:02Z", "48.1173|11.5166667"};
    }
    void tracks()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, rows);
        for (const qsizetype block : {1, 7, 4096}) {
            const Read result = read(bytes, block, {}, 0, true);
            QVERIFY2(result.failure.isEmpty(), qPrintable(result.failure));
            QVERIFY2(result.rows == rows, qPrintable(QString("blocks of %1: ").arg(block) +
                                                     result.rows.join(' ')));
        }
    }

    // GPX, KML and TCX write numbers with "." whatever the locale.
    void documentNumbersUseDots()
    {
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        const Read result = read(kGpx11 + "<wpt lat=\"1,5\" lon=\"2\"/><wpt lat=\"1.5\" lon=\"2\"/>"
                                          "<wpt lat=\"1.000,5\" lon=\"2\"/></gpx>",
                                 4096);
        QCOMPARE(result.rows, QStringList{"1.5|2"});
        QCOMPARE(result.skipped, (QList<qint64>{1, 1}));
    }

    // Entity text expanded in all is bounded: the amplification that a few
    // bytes can ask for is refused at once, whatever the parser's own check.
    void expansion_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<QString>("failure");
        QTest::newRow("10 MB in all: read") << expansions(1'000'000, 10)
                                            << QStringList{"1|2", "3|4"} << QString();
        QTest::newRow("past 10 MB: refused at the reference's line, the points before kept")
            << expansions(1'000'000, 11) << QStringList{"1|2", "3|4"}
            << "Invalid file format: GPX, line 3: entities that expand to more than 10 MB";
        QTest::newRow("a thousand references to a long entity: refused at once")
            << expansions(100'000, 1000) << QStringList{"1|2", "3|4"}
            << "Invalid file format: GPX, line 3: entities that expand to more than 10 MB";
    }

    void expansion()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, rows);
        QFETCH(QString, failure);
        const Read result = read(bytes, 1 << 16);
        QCOMPARE(result.rows, rows);
        QCOMPARE(result.failure, failure);
    }

    // An external entity is never opened: a named pipe there would keep
    // the reading waiting for a writer for ever.
    void externalEntityNeverOpened()
    {
        QTemporaryDir dir;
        const QByteArray pipe = QFile::encodeName(dir.filePath("pipe"));
        QVERIFY(::mkfifo(pipe.constData(), 0600) == 0);
        const QByteArray bytes = "<!DOCTYPE gpx [<!ENTITY x SYSTEM \"" + pipe +
                                 "\">]>\n<gpx><wpt lat=\"1\" lon=\"2\"/>\n<name>&x;</name></gpx>";
        auto reading = std::async(std::launch::async, [&] { return read(bytes, 4096); });
        if (reading.wait_for(std::chrono::seconds(10)) != std::future_status::ready) {
            // A writer lets the reading end before the test fails.
            ::close(::open(pipe.constData(), O_WRONLY | O_NONBLOCK));
            QFAIL("the entity's pipe was opened");
        }
        QCOMPARE(reading.get().failure,
                 "Invalid file format: GPX, line 3: a reference to the external entity \"x\", "
                 "which is not read");
    }

    // Whatever a stream holds, the reader's memory stays bounded: markup that
    // does not close fails at the limit, long before the stream ends.
    void unboundedMarkup_data()
    {
        QTest::addColumn<QByteArray>("head");
        QTest::addColumn<QByteArray>("more");
        QTest::newRow("a comment that never closes") << QByteArray("<gpx><!--") << QByteArray(1 << 20, 'x');
        QTest::newRow("an attribute that never ends")
            << QByteArray("<gpx><wpt lat=\"") << QByteArray(1 << 20, '1');
        QTest::newRow("a comment before the first element")
            << QByteArray("<!--") << QByteArray(1 << 20, '-').replace("--", "- ");
        QTest::newRow("comments before the first element") << QByteArray()
                                                           << QByteArray("<!-- -->").repeated(1 << 17);
    }

    void unboundedMarkup()
    {
        QFETCH(QByteArray, head);
        QFETCH(QByteArray, more);
        const Read result = read(head, 4096, more, 1024); // up to a gigabyte
        QVERIFY2(result.failure.contains(" MB"), qPrintable(result.failure));
    }
};

int runMarkupFormatsTest(int argc, char* argv[])
{
    MarkupFormatsTest test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_markup.moc"
