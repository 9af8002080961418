// Loading a generated list file into ListView1 of a shown window, against a
// bare loop in the same process that reads the same file in blocks, decodes
// it and splits it into lines and fields; then the same points as the track
// points of a GPX file, bare ("GPX") and as a watch writes them, with
// elevation and time ("watch"), as the coordinates of a KML LineString and as
// the track points of a TCX activity; then the same points as a FIT activity's
// records and as a gzip-compressed bare GPX track, against the plain list again.
//
//   bench_load [sizes...]     (default 10000 100000 1000000)

#include "form1controls.h"
#include "window/form1.h"
#include "window/loadcoordinatefile.h"
#include "benchsession.h"
#include "benchutil.h"
#include "archivewriter.h"
#include "fitwriter.h"

#include <QApplication>
#include <QDateTime>
#include <QFile>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <cstdio>

namespace {

constexpr int kRuns = 3;

void writeFile(const QString& path, const QByteArray& text)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size())
        qFatal("cannot write %s", qPrintable(path));
}

void writeListFile(const QString& path, qsizetype count)
{
    QByteArray text;
    for (const bench::Point& p : bench::generatePoints(count))
        text += p.latitude.toLatin1() + ',' + p.longitude.toLatin1() + "\r\n";
    writeFile(path, text);
}

// A track of bare points, or of points with elevation and time as a watch writes them.
QByteArray gpxText(qsizetype count, bool watch)
{
    QByteArray text("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                    "<gpx version=\"1.1\" creator=\"bench\" "
                    "xmlns=\"http://www.topografix.com/GPX/1/1\">\n<trk><trkseg>\n");
    qsizetype second = 0;
    for (const bench::Point& p : bench::generatePoints(count)) {
        if (!watch) {
            text += "  <trkpt lat=\"" + p.latitude.toLatin1() + "\" lon=\"" +
                    p.longitude.toLatin1() + "\"/>\n";
            continue;
        }
        const QByteArray time = QDateTime::fromSecsSinceEpoch(1700000000 + second++, Qt::UTC)
                                    .toString(Qt::ISODate)
                                    .toLatin1();
        text += "  <trkpt lat=\"" + p.latitude.toLatin1() + "\" lon=\"" + p.longitude.toLatin1() +
                "\"><ele>" + QByteArray::number(second % 900) + ".4</ele><time>" + time +
                "</time></trkpt>\n";
    }
    return text + "</trkseg></trk>\n</gpx>\n";
}

void writeGpxFile(const QString& path, qsizetype count, bool watch)
{
    writeFile(path, gpxText(count, watch));
}

// The points as the records of an activity, each with its time.
void writeFitFile(const QString& path, qsizetype count)
{
    fitwriter::Writer writer;
    writer.define(0, fitwriter::kRecord, {{253, 4}, {0, 4}, {1, 4}});
    qint64 second = 1000000000;
    bench::forEachGeneratedPoint(count, [&](const QString& lat, const QString& lon) {
        writer.data(0, {second++, fitwriter::semicircles(lat.toDouble()),
                        fitwriter::semicircles(lon.toDouble())});
    });
    writeFile(path, writer.file());
}

// One LineString of tuples lon,lat,alt, one a line.
void writeKmlFile(const QString& path, qsizetype count)
{
    QByteArray text("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                    "<kml xmlns=\"http://www.opengis.net/kml/2.2\"><Document><Placemark>"
                    "<LineString><coordinates>\n");
    for (const bench::Point& p : bench::generatePoints(count))
        text += "  " + p.longitude.toLatin1() + ',' + p.latitude.toLatin1() + ",12.5\n";
    writeFile(path, text + "</coordinates></LineString></Placemark></Document></kml>\n");
}

// An activity's track points with time and position, as a watch exports them.
void writeTcxFile(const QString& path, qsizetype count)
{
    QByteArray text("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<TrainingCenterDatabase "
                    "xmlns=\"http://www.garmin.com/xmlschemas/TrainingCenterDatabase/v2\">\n"
                    "<Activities><Activity Sport=\"Running\"><Lap><Track>\n");
    qsizetype second = 0;
    for (const bench::Point& p : bench::generatePoints(count)) {
        const QByteArray time = QDateTime::fromSecsSinceEpoch(1700000000 + second++, Qt::UTC)
                                    .toString(Qt::ISODate)
                                    .toLatin1();
        text += "<Trackpoint><Time>" + time + "</Time><Position><LatitudeDegrees>" +
                p.latitude.toLatin1() + "</LatitudeDegrees><LongitudeDegrees>" +
                p.longitude.toLatin1() + "</LongitudeDegrees></Position></Trackpoint>\n";
    }
    writeFile(path, text + "</Track></Lap></Activity></Activities></TrainingCenterDatabase>\n");
}

// Reads, decodes and splits the file; counts the lines with a comma.
qsizetype readAndSplit(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("cannot read %s", qPrintable(path));
    QStringDecoder decoder(QStringDecoder::System);
    QByteArray block(1 << 20, Qt::Uninitialized);
    QString text;
    qsizetype points = 0, fieldChars = 0;
    for (qint64 read; (read = file.read(block.data(), block.size())) > 0;) {
        text += decoder.decode(QByteArrayView(block.constData(), read));
        const QStringView all(text);
        qsizetype start = 0;
        for (qsizetype i = 0; i < all.size(); ++i) {
            if (all[i] != u'\n' && all[i] != u'\r')
                continue;
            const QStringView line = all.sliced(start, i - start);
            start = i + 1;
            const qsizetype comma = line.indexOf(u',');
            if (comma < 0)
                continue;
            const QStringView rest = line.sliced(comma + 1);
            fieldChars += comma + rest.first(std::max<qsizetype>(rest.indexOf(u','), 0)).size();
            ++points;
        }
        text.remove(0, start);
    }
    return fieldChars >= 0 ? points : 0;
}

double loadIntoList(window::Form1& form, const QString& path, qsizetype expected)
{
    ui(form).ListView1->clearItems();
    QCoreApplication::processEvents();
    const double seconds = bench::timeOnce([&] {
        window::LoadSummary summary;
        window::LoadCoordinateFile(*ui(form).ListView1, path, false, summary);
        // The view shows the new rows too.
        ui(form).ListView1->flushView();
        QCoreApplication::processEvents();
    });
    if (ui(form).ListView1->count() != expected)
        qFatal("loaded %lld of %lld rows from %s", qlonglong(ui(form).ListView1->count()),
               qlonglong(expected), qPrintable(path));
    return seconds;
}

// FIT and .gpx.gz against the plain list, and the .gpx.gz against its GPX
// track, loaded in turns.
void packedAndBinary(window::Form1& form, const QTemporaryDir& dir, const QList<qsizetype>& sizes)
{
    std::printf("\n%-9s %10s %9s %9s %9s %9s %9s %9s   (medians of %d runs)\n", "lines", "load s",
                "FIT s", "FIT/load", "gpx.gz s", "gz/load", "gz/GPX", "peak MB", kRuns);
    for (const qsizetype n : sizes) {
        const QString path = dir.filePath(QStringLiteral("points-%1.txt").arg(n));
        const QString gpxPath = dir.filePath(QStringLiteral("track-%1.gpx").arg(n));
        const QString fitPath = dir.filePath(QStringLiteral("ride-%1.fit").arg(n));
        writeFitFile(fitPath, n);
        const QString gzPath = dir.filePath(QStringLiteral("track-%1.gpx.gz").arg(n));
        writeFile(gzPath, archivewriter::compressed(gpxText(n, false), ARCHIVE_FILTER_GZIP));
        std::vector<double> load, gpx, fit, gz;
        double peak = 0;
        for (int run = 0; run < kRuns; ++run) {
            load.push_back(loadIntoList(form, path, n));
            gpx.push_back(loadIntoList(form, gpxPath, n));
            bench::resetPeak();
            fit.push_back(loadIntoList(form, fitPath, n));
            gz.push_back(loadIntoList(form, gzPath, n));
            peak = std::max(peak, bench::peakMegabytes());
        }
        const double l = bench::median(load), x = bench::median(gpx), f = bench::median(fit),
                     g = bench::median(gz);
        std::printf("%-9lld %10.4f %9.4f %9.2f %9.4f %9.2f %9.2f %9.1f\n", qlonglong(n), l, f,
                    f / l, g, g / l, g / x, peak);
        std::fflush(stdout);
    }
}

} // namespace

int main(int argc, char* argv[])
{
    bench::Session session(argc, argv);
    const QList<qsizetype> sizes = bench::sizesFromArguments(argc, argv);

    window::Form1& form = session.form;
    QTemporaryDir dir;

    std::printf("%-9s %10s %10s %12s %7s %9s %9s %9s %9s %9s %9s %9s %9s %9s %9s   (medians of %d "
                "runs)\n",
                "lines", "bare s", "load s", "rows/s", "ratio", "peak MB", "GPX s", "GPX/load",
                "watch s", "watch/load", "GPX MB", "KML s", "KML/load", "TCX s", "TCX/load", kRuns);
    for (const qsizetype n : sizes) {
        const QString path = dir.filePath(QStringLiteral("points-%1.txt").arg(n));
        writeListFile(path, n);
        const QString gpxPath = dir.filePath(QStringLiteral("track-%1.gpx").arg(n));
        writeGpxFile(gpxPath, n, false);
        const QString watchPath = dir.filePath(QStringLiteral("watch-%1.gpx").arg(n));
        writeGpxFile(watchPath, n, true);
        const QString kmlPath = dir.filePath(QStringLiteral("line-%1.kml").arg(n));
        writeKmlFile(kmlPath, n);
        const QString tcxPath = dir.filePath(QStringLiteral("run-%1.tcx").arg(n));
        writeTcxFile(tcxPath, n);
        std::vector<double> bare, load, gpx, watch, kml, tcx;
        double peak = 0, gpxPeak = 0;
        // The loads take turns, so that a busy moment of the machine falls on each alike.
        for (int run = 0; run < kRuns; ++run) {
            qsizetype points = 0;
            bare.push_back(bench::timeOnce([&] { points = readAndSplit(path); }));
            if (points != n)
                qFatal("bare loop found %lld of %lld points", qlonglong(points), qlonglong(n));
            bench::resetPeak();
            load.push_back(loadIntoList(form, path, n));
            peak = std::max(peak, bench::peakMegabytes());
            bench::resetPeak();
            gpx.push_back(loadIntoList(form, gpxPath, n));
            watch.push_back(loadIntoList(form, watchPath, n));
            gpxPeak = std::max(gpxPeak, bench::peakMegabytes());
            kml.push_back(loadIntoList(form, kmlPath, n));
            tcx.push_back(loadIntoList(form, tcxPath, n));
        }
        const double b = bench::median(bare), l = bench::median(load), g = bench::median(gpx),
                     w = bench::median(watch), k = bench::median(kml), t = bench::median(tcx);
        std::printf("%-9lld %10.4f %10.4f %12.0f %7.2f %9.1f %9.4f %9.2f %9.4f %9.2f %9.1f %9.4f "
                    "%9.2f %9.4f %9.2f\n",
                    qlonglong(n), b, l, n / l, l / b, peak, g, g / l, w, w / l, gpxPeak, k, k / l, t,
                    t / l);
        std::fflush(stdout);
    }
    packedAndBinary(form, dir, sizes);
    return 0;
}
