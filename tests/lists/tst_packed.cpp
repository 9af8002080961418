// The list formats with readers of their own (FIT, NMEA) and the packed and
// compressed files, read as a file or a pipe delivers them: in blocks of any
// size.

#include "archivewriter.h"
#include "core/failure.h"
#include "fitwriter.h"
#include "listbytes.h"
#include "lists/listformat.h"
#include "lists/formats/geojsonreader.h"
#include "lists/packedinput.h"
#include "core/trap.h"

#include <QtTest>

#include <fstream>
#include <random>
#include <sys/resource.h>
#include <unistd.h>

// The address-space limit below is no limit for a sanitizer's shadow memory.
#if defined(__SANITIZE_ADDRESS__)
#define MERIDANE_ADDRESS_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define MERIDANE_ADDRESS_SANITIZER 1
#endif
#endif

using archivewriter::compressed;
using archivewriter::pack;
using fitwriter::kCoursePoint;
using fitwriter::kInvalid;
using fitwriter::kRecord;
using fitwriter::semicircles;

namespace {

using Result = listbytes::Read;

// Reads through the list reader, or through the packed input, in blocks of
// block bytes, from a source that goes back to its start as a file does, or
// from one that cannot, as a pipe.
Result read(const QByteArray& bytes, qsizetype block, bool packed, bool pipe = false)
{
    if (!packed)
        return listbytes::read(bytes, block);
    Result result;
    const lists::PointSink point = [&](QStringView lat, QStringView lon) {
        result.rows << lat.toString() + '|' + lon.toString();
    };
    lists::PlainListOptions options;
    options.skipped = [&](qint64 line) { result.skipped << line; };
    qsizetype at = 0;
    const lists::ByteSource source = [&](char* into, qsizetype room) {
        const qsizetype size = std::min({room, block, bytes.size() - at});
        std::memcpy(into, bytes.constData() + at, size_t(size));
        at += size;
        return size;
    };
    const lists::Rewind rewind = [&] {
        at = 0;
        return !pipe;
    };
    try {
        lists::readPackedList(source, point, options, rewind);
    } catch (const core::Failure& failure) {
        result.failure = failure.description;
    }
    return result;
}

void compare(const QByteArray& bytes, bool packed)
{
    QFETCH(QStringList, rows);
    QFETCH(QString, failure);
    for (const qsizetype block : {qsizetype(1), qsizetype(7), qsizetype(1) << 20}) {
        const Result result = read(bytes, block, packed);
        QCOMPARE(result.rows, rows);
        QVERIFY2(failure.isEmpty() ? result.failure.isEmpty() : result.failure.contains(failure),
                 qPrintable(result.failure));
        if (!packed) {
            QFETCH(QList<qint64>, skipped);
            QCOMPARE(result.skipped, skipped);
        }
    }
}

// A FIT file of the messages that write puts in.
QByteArray fit(const std::function<void(fitwriter::Writer&)>& write, bool headerCrc = true)
{
    fitwriter::Writer writer;
    write(writer);
    return writer.file(headerCrc);
}

const std::vector<fitwriter::Writer::Field> kLatLon{{0, 4}, {1, 4}};

QByteArray nmea(QByteArray body, char start = '$')
{
    char sum = 0;
    for (const char c : body)
        sum ^= c;
    return start + body + '*' + QByteArray::number(uchar(sum), 16).rightJustified(2, '0').toUpper();
}

// The file with one byte changed and its CRC made right again.
QByteArray patched(QByteArray file, qsizetype at, char byte)
{
    file[at] = byte;
    const uint16_t crc = fitwriter::crc(QByteArrayView(file).chopped(2));
    file[file.size() - 2] = char(crc & 0xFF);
    file[file.size() - 1] = char(crc >> 8);
    return file;
}

const QByteArray kKml = "<kml xmlns=\"http://www.opengis.net/kml/2.2\"><Placemark><LineString>"
                        "<coordinates>2,1 4,3</coordinates></LineString></Placemark></kml>";
const QByteArray kOtherKml = "<kml><Placemark><Point><coordinates>9,8</coordinates></Point>"
                             "</Placemark></kml>";
const QByteArray kGpx = "<?xml version=\"1.0\"?><gpx version=\"1.1\" "
                        "xmlns=\"http://www.topografix.com/GPX/1/1\"><trk><trkseg>"
                        "<trkpt lat=\"47.6443\" lon=\"-122.3436\"/></trkseg></trk></gpx>";

} // namespace

Q_DECLARE_METATYPE(lists::ListFormat)

class PackedFormatsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }

    void recognise_data()
    {
        QTest::addColumn<QByteArray>("head");
        QTest::addColumn<bool>("complete");
        QTest::addColumn<lists::ListFormat>("format");
        const QByteArray header = fit([](auto&) {}).first(12);
        QTest::newRow("FIT header") << header << false << lists::ListFormat::Fit;
        QTest::newRow("FIT header, cut")
            << header.first(11) << false << lists::ListFormat::Undecided;
        QTest::newRow("12 bytes without .FIT") << QByteArray("\x0C"
                                                             "2345678.FIX")
                                               << true << lists::ListFormat::Plain;
        QTest::newRow("FIT header cut by the file's end: ends early")
            << header.first(5) << true << lists::ListFormat::Fit;
        QTest::newRow("short file, no .FIT where it would stand")
            << QByteArray("\x0C\x10" "345678.X") << true << lists::ListFormat::Plain;
        QTest::newRow("short file, no protocol version after the size")
            << QByteArray("\x0C" "1,2") << true << lists::ListFormat::Plain;
        using F = lists::ListFormat;
        const QByteArray gga = nmea("GPGGA,1,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,");
        QTest::newRow("NMEA sentence")
            << "\xEF\xBB\xBF \r\n" + nmea("GNRMC,1") + "\r\n" << false << F::Nmea;
        QTest::newRow("NMEA prefix") << QByteArray("\n$GPGG") << false << F::Undecided;
        QTest::newRow("a sentence without its checksum tells nothing")
            << QByteArray("$12345,1,2\n") << true << F::Plain;
        QTest::newRow("lower case address and checksum")
            << nmea("gpgga,1").toLower() + "\n" << false << F::Nmea;
        QTest::newRow("no comma after the type")
            << nmea("GPGGA;1,2") + "\n" << true << F::Plain;
        QTest::newRow("a wrong checksum tells nothing")
            << QByteArray("$GPGGA,1,2*00\n") << false << F::Undecided;
        QTest::newRow("plain list") << "1,2\n" + gga << false << F::Plain;
        QTest::newRow("a capture that starts inside a sentence")
            << "07.038,N,01131.000,E,1,08*47\n" + gga + "\n" << false << F::Nmea;
        QTest::newRow("comments and proprietary sentences first")
            << "# log\n$PSRFTXT,Version 2\n" + nmea("PMTK010,001") + "\n" << false << F::Nmea;
        QTest::newRow("AIS") << nmea("AIVDM,1,1,,B,177KQJ5000G?tO`K>RA1wUbN0TKH,0", '!') + "\n"
                             << false << F::Nmea;
        QTest::newRow("a header like a sentence, then points")
            << QByteArray("$GPXYZ,some header\n1,2\n") << false << F::Plain;
        QTest::newRow("no sentence in the first block")
            << QByteArray("header\n").repeated(10000) << false << F::Plain;
    }
    void recognise()
    {
        QFETCH(QByteArray, head);
        QFETCH(bool, complete);
        QFETCH(lists::ListFormat, format);
        QCOMPARE(lists::recogniseListFormat(head, complete), format);
    }

    void fitFile_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<QList<qint64>>("skipped"); // the messages' numbers
        QTest::addColumn<QString>("failure");
        const auto s = semicircles;
        QTest::newRow("two record definitions and a compressed timestamp") << fit([&](auto& w) {
            w.define(0, kRecord, {{253, 4}, {0, 4}, {1, 4}})
                .data(0, {1000, s(47.6443), s(-122.3436)})
                .define(0, kRecord, {{2, 2}, {0, 4}, {1, 4}})
                .data(0, {300, s(1.5), s(2.25)})
                .define(1, kRecord, {{1, 4}, {0, 4}})
                .data(1, {s(4), s(-3)}, true);
        }) << QStringList{"47.6443|-122.3436", "1.5|2.25", "-3|4"} << QList<qint64>{}
                                                                           << "";
        QTest::newRow("big-endian course point, no header CRC")
            << fit(
                   [&](auto& w) {
                       w.define(2, kCoursePoint, {{254, 2}, {1, 4}, {2, 4}, {3, 4}}, true)
                           .data(2, {1, 77, s(-33.8688), s(151.2093)});
                   },
                   false)
            << QStringList{"-33.8688|151.2093"} << QList<qint64>{} << "";
        QTest::newRow("developer fields passed over by size") << fit([&](auto& w) {
            w.define(0, kRecord, kLatLon, false, {3, 250})
                .data(0, {s(10), s(20)})
                .data(0, {s(11), s(21)});
        }) << QStringList{"10|20", "11|21"} << QList<qint64>{} << "";
        QTest::newRow("records without a position: no point, nothing skipped") << fit([&](auto& w) {
            w.define(0, kRecord, kLatLon)
                .data(0, {kInvalid, kInvalid})
                .define(1, 21, kLatLon)
                .data(1, {s(5), s(6)})
                .data(0, {s(-90), 2147483646})
                .define(2, kRecord, {{253, 4}})
                .data(2, {1000});
        }) << QStringList{"-90|179.9999998"} << QList<qint64>{} << "";
        // The byte order is the architecture's lowest bit; the others are reserved.
        const QByteArray big = fit([&](auto& w) {
            w.define(0, kRecord, kLatLon, true).data(0, {s(1), s(2)});
        });
        QTest::newRow("architecture 3: big-endian") << patched(big, 14 + 2, 3) << QStringList{"1|2"}
                                                    << QList<qint64>{} << "";
        QTest::newRow("architecture 2: little-endian")
            << patched(fit([&](auto& w) { w.define(0, kRecord, kLatLon).data(0, {s(1), s(2)}); }),
                       14 + 2, 2)
            << QStringList{"1|2"} << QList<qint64>{} << "";
        QTest::newRow("shorter than a header")
            << fit([](auto&) {}).first(5) << QStringList{} << QList<qint64>{} << "ends early";
        const QByteArray good = fit([&](auto& w) {
            w.define(0, kRecord, kLatLon).data(0, {s(1), s(2)}).data(0, {s(3), s(4)});
        });
        QByteArray badCrc = good;
        badCrc[badCrc.size() - 1] = char(badCrc.back() ^ 1);
        QTest::newRow("bad CRC: the points kept, a failure")
            << badCrc << QStringList{"1|2", "3|4"} << QList<qint64>{} << "CRC";
        QTest::newRow("cut short")
            << good.chopped(6) << QStringList{"1|2"} << QList<qint64>{} << "ends early";
        QTest::newRow("data without definition") << fit([&](auto& w) {
            w.define(0, kRecord, kLatLon).data(0, {1, 2}).data(3, {});
        }) << QStringList{"0.0000001|0.0000002"} << QList<qint64>{}
                                                 << "without a definition";
        QTest::newRow("two files chained")
            << good + good << QStringList{"1|2", "3|4", "1|2", "3|4"} << QList<qint64>{} << "";
        QTest::newRow("bad header CRC: refused, no point")
            << patched(good, 12, char(good[12] ^ 1)) << QStringList{} << QList<qint64>{}
            << "header's CRC";
        QTest::newRow("header CRC 0: not computed, read")
            << patched(patched(good, 12, 0), 13, 0) << QStringList{"1|2", "3|4"}
            << QList<qint64>{} << "";
        QTest::newRow("a position with one half invalid: no point") << fit([&](auto& w) {
            w.define(0, kRecord, kLatLon)
                .data(0, {s(1), kInvalid})
                .data(0, {kInvalid, s(2)})
                .data(0, {s(3), s(4)});
        }) << QStringList{"3|4"} << QList<qint64>{} << "";
        QTest::newRow("architecture 255: big-endian") << patched(big, 14 + 2, char(0xFF))
                                                      << QStringList{"1|2"} << QList<qint64>{} << "";
        QTest::newRow("a definition beyond the data's size")
            << patched(fit([&](auto& w) { w.define(0, kRecord, kLatLon).data(0, {s(1), s(2)}); },
                           false),
                       4, 5)
            << QStringList{} << QList<qint64>{} << "beyond the data's end";
        QTest::newRow("an empty data section: no point, no failure")
            << fit([](auto&) {}) << QStringList{} << QList<qint64>{} << "";
        QTest::newRow("a chained file starts without the first one's definitions")
            << good + fit([](auto& w) { w.data(0, {}); }) << QStringList{"1|2", "3|4"}
            << QList<qint64>{} << "without a definition";
    }
    void fitFile()
    {
        QFETCH(QByteArray, bytes);
        compare(bytes, false);
    }

    // Any semicircle's text reads back as the same semicircle to within one.
    void semicircleText()
    {
        std::mt19937 draw(7);
        fitwriter::Writer writer;
        writer.define(0, kRecord, kLatLon);
        std::vector<int32_t> values;
        for (int i = 0; i < 20000; ++i) {
            values.push_back(int32_t(draw()));
            writer.data(0, {values.back() / 2, values.back()});
        }
        const Result result = read(writer.file(), 1 << 20, false);
        QCOMPARE(result.rows.size(), qsizetype(values.size()));
        for (size_t i = 0; i < values.size(); ++i) {
            const double longitude = result.rows[qsizetype(i)].section('|', 1).toDouble();
            QVERIFY2(std::abs(semicircles(longitude) - int64_t(values[i])) <= 1,
                     qPrintable(result.rows[qsizetype(i)]));
        }
    }

    void nmeaLog_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<QList<qint64>>("skipped"); // lines
        QTest::addColumn<QString>("failure");
        const QByteArray gga =
            nmea("GPGGA,123519,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,");
        const QByteArray rmc =
            nmea("GPRMC,123519,A,4807.038,N,01131.000,E,022.4,084.4,230394,003.1,W");
        QTest::newRow("GGA and RMC of one fix give one point")
            << gga + "\r\n" + rmc + "\r\n"
            << QStringList{"48.1173|11.5166667"} << QList<qint64>{} << "";
        QByteArray bad = rmc;
        bad[10] = '4';
        QTest::newRow("bad checksum is a skipped line")
            << nmea("GNGGA,1,4916.45,S,12311.12,W,2,,,,,,,,") + "\n" + bad + "\n"
            << QStringList{"-49.2741667|-123.1853333"} << QList<qint64>{2} << "";
        QTest::newRow("no fix, other types: no point, nothing skipped")
            << nmea("GPGGA,1,4807.038,N,01131.000,E,0,,,,,,,,") + "\n" +
                   nmea("GPRMC,2,V,4807.038,N,01131.000,E,,,,,") + "\n" + nmea("GPGSV,3,1,11") +
                   "\n\n"
            << QStringList{} << QList<qint64>{} << "";
        QTest::newRow("without checksum, other talkers, fix times apart")
            << nmea("BDRMC,1,A,0130.5,N,00000.0,E,,") + "\n$GAGGA,2,0130.5,N,00000.0,E,1\n"
            << QStringList{"1.5083333|0", "1.5083333|0"} << QList<qint64>{} << "";
        QTest::newRow("one fix time written with other digits: one point")
            << nmea("GPGGA,030129.00,4807.038,N,01131.000,E,1,08,0.9,545.4,M,46.9,M,,") + "\n" +
                   nmea("GPRMC,030129.0,A,4807.039,N,01131.000,E,022.4,084.4,230394,003.1,W") +
                   "\n" + nmea("GPGGA,030130,4807.040,N,01131.000,E,1,08,,,,,,,") + "\n"
            << QStringList{"48.1173|11.5166667", "48.1173333|11.5166667"} << QList<qint64>{}
            << "";
        QTest::newRow("GLL and GNS, their validity and mode flags")
            << nmea("GPGLL,4916.45,N,12311.12,W,225444,A,A") + "\n" +
                   nmea("GPGLL,4916.46,N,12311.12,W,225445,V,N") + "\n" +
                   nmea("GPGLL,4916.47,N,12311.12,W,225446,A,N") + "\n" +
                   nmea("GPGLL,4916.48,N,12311.12,W") + "\n" + nmea("GPGLL,4916.48,N,12311.12,W") +
                   "\n" + nmea("GNGNS,225447,4916.49,N,12311.12,W,NN,,,,,,") + "\n" +
                   nmea("GNGNS,225448,4916.50,N,12311.12,W,NA,,,,,,,S") + "\n" +
                   nmea("GNGNS,225449,4916.51,N,12311.12,W,AA,,,,,,,V") + "\n"
            << QStringList{"49.2741667|-123.1853333", "49.2746667|-123.1853333",
                           "49.2746667|-123.1853333", "49.275|-123.1853333"}
            << QList<qint64>{} << "";
        QTest::newRow("WPL waypoints in order, a UTF-8 name, between two sentences of one fix")
            << nmea("GPGGA,1,0100.0,N,00100.0,E,1") + "\n" +
                   nmea("GPWPL,0200.0,S,00200.0,W,Z\xC3\xBCrich") + "\n" +
                   nmea("GPRMC,1,A,0300.0,N,00300.0,E,,,,,") + "\n"
            << QStringList{"1|1", "-2|-2", "3|3"} << QList<qint64>{} << "";
        QTest::newRow("passed over: a cut first line, comments, proprietary and AIS sentences")
            << "07.038,N,01131.000,E,1,08*47\n# comment\n" + nmea("PMTK010,001") + "\n" +
                   nmea("AIVDM,1,1,,B,177KQJ5000G?tO`K>RA1wUbN0TKH,0", '!') + "\n$GPGSV,3,1*00\n" +
                   nmea("GPGGA,1,0100.0,N,00100.0,E,1") + "\n$GPGGA,2,0100.0,N,00100.0,E,1*00\n"
            << QStringList{"1|1"} << QList<qint64>{7} << "";
        // *6D and *6f: the checksums' second digits are letters.
        const QByteArray lowerCase = nmea("GPGGA,3,0100.0,N,00100.0,E,1");
        QTest::newRow("checksums with hex letters, either case")
            << nmea("GPGGA,1,0100.0,N,00100.0,E,1") + "\n" + lowerCase.chopped(2) +
                   lowerCase.right(2).toLower() + "\n"
            << QStringList{"1|1", "1|1"} << QList<qint64>{} << "";
        QTest::newRow("a three-digit latitude or four-digit longitude skipped, not a three-digit "
                      "longitude")
            << nmea("GPGGA,1,10000.0,N,00100.0,E,1") + "\n" +
                   nmea("GPGGA,2,0100.0,N,10000.0,E,1") + "\n" +
                   nmea("GPGGA,3,0100.0,N,00100.0,E,1") + "\n" +
                   nmea("GPGGA,4,0100.0,N,100000.0,E,1") + "\n"
            << QStringList{"1|100", "1|1"} << QList<qint64>{1, 4} << "";
        QTest::newRow("fixes without a time are points of their own")
            << nmea("GPGGA,,0100.0,N,00100.0,E,1") + "\n" +
                   nmea("GPRMC,,A,0100.0,N,00100.0,E,,,,,") + "\n"
            << QStringList{"1|1", "1|1"} << QList<qint64>{} << "";
        QTest::newRow("a header like a sentence before a plain list's points")
            << QByteArray("\xEF\xBB\xBF  $GPXYZ,some header\n1,2\n3,4\n")
            << QStringList{"1|2", "3|4"} << QList<qint64>{1} << "";
        QTest::newRow("unreadable positions and lines counted")
            << nmea("GPGSV,3,1,11") +
                   "\n$GPGGA,1,4860.0,N,00100.0,E,1\n$GPGGA,2,48x0.0,N,00100.0,E,1\n"
                   "$GPRMC,3,A,4800.0,N,00100.0,X\n$GPGGA,1\nnot a sentence\n"
            << QStringList{} << QList<qint64>{2, 3, 4, 5, 6} << "";
    }
    void nmeaLog()
    {
        QFETCH(QByteArray, bytes);
        compare(bytes, false);
    }

    void packedFile_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<QString>("failure");
        const QStringList kmlRows{"1|2", "3|4"};
        const QByteArray kmz = pack({{"files/a.png", "x"}, {"doc.kml", kKml}});
        QTest::newRow("KMZ") << kmz << kmlRows << "";
        QTest::newRow("KMZ: doc.kml after another")
            << pack({{"other.kml", kOtherKml}, {"doc.kml", kKml}}) << kmlRows << "";
        QTest::newRow("KMZ: the first KML at the root")
            << pack({{"files/x.kml", kOtherKml}, {"b.kml", kKml}, {"c.kml", kOtherKml}}) << kmlRows
            << "";
        QTest::newRow("zip without KML")
            << pack({{"files/x.kml", kOtherKml}, {"points.txt", "1,2\n"}}) << QStringList{}
            << "a zip without a KML document";
        QTest::newRow("gpx.gz") << compressed(kGpx, ARCHIVE_FILTER_GZIP)
                                << QStringList{"47.6443|-122.3436"} << "";
        QTest::newRow("fit.gz") << compressed(fit([](auto& w) {
                                                  w.define(0, kRecord, kLatLon).data(0, {0, 0});
                                              }),
                                              ARCHIVE_FILTER_GZIP)
                                << QStringList{"0|0"} << "";
        QTest::newRow("txt.xz") << compressed("5,6\n7,8", ARCHIVE_FILTER_XZ)
                                << QStringList{"5|6", "7|8"} << "";
        QTest::newRow("txt.bz2") << compressed("5,6\n", ARCHIVE_FILTER_BZIP2) << QStringList{"5|6"}
                                 << "";
        QTest::newRow("kmz.gz") << compressed(kmz, ARCHIVE_FILTER_GZIP) << kmlRows << "";
        QTest::newRow("kmz.gz whose first KML at the root is not doc.kml")
            << compressed(pack({{"files/x.kml", kOtherKml}, {"b.kml", kKml}, {"c.kml", kOtherKml}}),
                          ARCHIVE_FILTER_GZIP)
            << kmlRows << "";
        QByteArray many;
        for (int i = 0; i < 5000; ++i)
            many += QByteArray::number(i * 7919 % 5003) + ',' + QByteArray::number(i) + '\n';
        QTest::newRow("gzip cut short") << compressed(many, ARCHIVE_FILTER_GZIP).first(40)
                                        << QStringList{} << "Invalid file format";
        QTest::newRow("KMZ: a doc.kml in a folder is not the document")
            << pack({{"files/doc.kml", kOtherKml}, {"b.kml", kKml}}) << kmlRows << "";
        QTest::newRow("gzip without its trailer: a failure, not a silent end")
            << compressed("5,6\n7,8\n", ARCHIVE_FILTER_GZIP).chopped(4) << QStringList{}
            << "Invalid file format";
        QTest::newRow("bzip2 without its end-of-stream mark: a failure")
            << compressed("5,6\n7,8\n", ARCHIVE_FILTER_BZIP2).chopped(6) << QStringList{}
            << "Invalid file format";
        QTest::newRow("empty gzip") << compressed("", ARCHIVE_FILTER_GZIP) << QStringList{} << "";
        QTest::newRow("empty xz") << compressed("", ARCHIVE_FILTER_XZ) << QStringList{} << "";
        QTest::newRow("plain list that starts like bzip2")
            << QByteArray("BZh91AY,x\n1,2\n") << QStringList{"1|2"} << "";
    }
    void packedFile()
    {
        QFETCH(QByteArray, bytes);
        compare(bytes, true);
    }

    // Memory that runs out while a GeoJSON document is read is told as such,
    // not as a fault of the file.
    void geoJsonOutOfMemory()
    {
#ifdef MERIDANE_ADDRESS_SANITIZER
        QSKIP("an address-space limit stops the sanitizer itself");
#else
        QByteArray json = "{\"type\":\"MultiPoint\",\"coordinates\":[" +
                          QByteArray("[1,2],").repeated(4'000'000) + "[1,2]]}";
        json.reserve(json.size() + 4096); // the parser's padding needs no new block
        long pages = 0;
        std::ifstream("/proc/self/statm") >> pages;
        rlimit before{};
        QCOMPARE(::getrlimit(RLIMIT_AS, &before), 0);
        // Room for a few more megabytes, not for the parser's index of the document.
        rlimit tight = before;
        tight.rlim_cur = rlim_t(pages) * rlim_t(::sysconf(_SC_PAGESIZE)) + rlim_t(json.size());
        QCOMPARE(::setrlimit(RLIMIT_AS, &tight), 0);
        QString failure;
        try {
            lists::readGeoJson(std::move(json), [](QStringView, QStringView) {}, {});
        } catch (...) {
            failure = core::currentFailure().description;
        }
        ::setrlimit(RLIMIT_AS, &before);
        QCOMPARE(failure, QStringLiteral("Out of memory"));
#endif
    }

    // A zip's document is read as a stream, never put aside: from a pipe,
    // doc.kml is read wherever it stands, another first KML cannot be.
    void zipFromAPipe_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<QString>("failure");
        QTest::newRow("doc.kml after another")
            << pack({{"other.kml", kOtherKml}, {"doc.kml", kKml}}) << QStringList{"1|2", "3|4"}
            << "";
        QTest::newRow("the first KML at the root: refused")
            << pack({{"b.kml", kKml}, {"c.kml", kOtherKml}}) << QStringList()
            << "A zip whose KML document is not doc.kml is read only from a file, not from a pipe";
    }

    void zipFromAPipe()
    {
        QFETCH(QByteArray, bytes);
        const Result result = read(bytes, 4096, true, true);
        QTEST(result.rows, "rows");
        QTEST(result.failure, "failure");
    }
};

int runPackedFormatsTest(int argc, char* argv[])
{
    PackedFormatsTest test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_packed.moc"
