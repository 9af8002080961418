// The command-line job (read a list file, pair every point with the next,
// write the results) as a whole process, against the floor (bench_floor:
// plain C++ without Qt writing the same csv bytes, see bench/floor/) and
// against GeodSolve -i (Debian package geographiclib-tools) on the same pairs.
//
// First table: the window's results file (text format, sphere) at each size.
// Second: each job at the largest size, medians of three runs. Third: a GPX
// track with a time for each point at the largest size, each track job
// against csv on the same file (medians of three). Fourth: time and peak
// memory of each format at ten times the largest size, the list's and the
// track's. All of it
// twice: as the machine runs, and with glibc's AVX-512 string functions
// turned off (GLIBC_TUNABLES), each run with the vector state it started in.
//
//   bench_commandline [sizes...]     (default 10000 100000 1000000)

#include "benchutil.h"
#include "lists/pointtime.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

// The list file, and GeodSolve's input for the same pairs unless pairs is empty;
// written as the points are drawn, so ten million points need little memory.
void writeInputs(qsizetype count, const QString& list, const QString& pairs)
{
    QFile listFile(list), pairFile(pairs);
    if (!listFile.open(QIODevice::WriteOnly) ||
        (!pairs.isEmpty() && !pairFile.open(QIODevice::WriteOnly)))
        qFatal("cannot write the inputs");
    QByteArray listText, pairText, before;
    bench::forEachGeneratedPoint(count, [&](const QString& lat, const QString& lon) {
        const QByteArray point = lat.toLatin1() + ' ' + lon.toLatin1();
        listText += lat.toLatin1() + ',' + lon.toLatin1() + '\n';
        if (!pairs.isEmpty() && !before.isEmpty())
            pairText += before + ' ' + point + '\n';
        before = point;
        if (listText.size() > (1 << 20)) {
            listFile.write(listText);
            pairFile.isOpen() && pairFile.write(pairText);
            listText.clear();
            pairText.clear();
        }
    });
    listFile.write(listText);
    if (pairFile.isOpen())
        pairFile.write(pairText);
}

// The same points as a GPX track, one second apart from 2024-05-01T00:00:00Z.
void writeTrack(qsizetype count, const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        qFatal("cannot write the track");
    QByteArray text("<?xml version=\"1.0\"?>\n<gpx version=\"1.1\" "
                    "xmlns=\"http://www.topografix.com/GPX/1/1\"><trk><trkseg>\n");
    lists::PointTime time{1714521600, 0, 0};
    bench::forEachGeneratedPoint(count, [&](const QString& lat, const QString& lon) {
        char buffer[48];
        const std::string_view iso = lists::isoText(time, buffer);
        ++time.seconds;
        text += "<trkpt lat=\"" + lat.toLatin1() + "\" lon=\"" + lon.toLatin1() + "\"><time>";
        text.append(iso.data(), qsizetype(iso.size()));
        text += "</time></trkpt>\n";
        if (text.size() > (1 << 20)) {
            file.write(text);
            text.clear();
        }
    });
    file.write(text + "</trkseg></trk></gpx>\n");
}

struct Measured {
    double seconds = 0;
    double peakMegabytes = 0;
};

// Runs a program to its end under /usr/bin/time, which reports its peak
// memory (the program's own: a child forked from this process would count
// this process's memory too); fails loudly when it does not end well.
Measured measureProcess(const QString& program, QStringList arguments, const QString& input,
                        const QString& output, const QTemporaryDir& dir)
{
    const QString peakFile = dir.filePath(QStringLiteral("peak.txt"));
    arguments = QStringList{"-f", "%M", "-o", peakFile, program} + arguments;
    QProcess process;
    if (!input.isEmpty())
        process.setStandardInputFile(input);
    if (!output.isEmpty())
        process.setStandardOutputFile(output);
    const double seconds = bench::timeOnce([&] {
        process.start(QStringLiteral("/usr/bin/time"), arguments);
        process.waitForFinished(-1);
    });
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        qFatal("%s failed: %s", qPrintable(program), process.readAllStandardError().constData());
    QFile peak(peakFile);
    peak.open(QIODevice::ReadOnly);
    return {seconds, peak.readAll().trimmed().toDouble() / 1024};
}

bool sameBytes(const QString& a, const QString& b)
{
    QFile first(a), second(b);
    return first.open(QIODevice::ReadOnly) && second.open(QIODevice::ReadOnly) &&
           first.readAll() == second.readAll();
}

struct Bench {
    QString meridane = QStringLiteral(MERIDANE_EXECUTABLE);
    QString floor = QStringLiteral(FLOOR_EXECUTABLE);
    QString geodSolve = QStandardPaths::findExecutable(QStringLiteral("GeodSolve"));
    QTemporaryDir dir;
    QString list = dir.filePath(QStringLiteral("points.txt"));
    QString pairs = dir.filePath(QStringLiteral("pairs.txt"));
    QString floorOut = dir.filePath(QStringLiteral("floor.csv"));
    QString commandOut = dir.filePath(QStringLiteral("results.txt"));
    QString track = dir.filePath(QStringLiteral("track.gpx"));

    Measured geod()
    {
        return geodSolve.isEmpty() ? Measured{}
                                   : measureProcess(geodSolve, {"-i"}, pairs,
                                                    dir.filePath(QStringLiteral("geod.txt")), dir);
    }
    Measured floorJob() { return measureProcess(floor, {"km", list}, {}, floorOut, dir); }
    Measured command(const QStringList& arguments, const QString& input = {})
    {
        return measureProcess(meridane,
                              arguments + QStringList{"-u", "km", "-o", commandOut,
                                                      input.isEmpty() ? list : input},
                              {}, {}, dir);
    }
    // The median time of three runs, and the largest peak.
    template <typename Run> Measured median3(Run&& run)
    {
        std::vector<double> seconds;
        double peak = 0;
        for (int i = 0; i < 3; ++i) {
            const Measured measured = run();
            seconds.push_back(measured.seconds);
            peak = std::max(peak, measured.peakMegabytes);
        }
        return {bench::median(seconds), peak};
    }

    void textTable(const QList<qsizetype>& sizes)
    {
        std::printf("| points | floor s (csv) | text job s | pairs/s | ratio to floor | peak MB | "
                    "GeodSolve s | GeodSolve / job |\n|---|---|---|---|---|---|---|---|\n");
        for (qsizetype count : sizes) {
            writeInputs(count, list, pairs);
            const Measured floorRun = floorJob();
            const Measured text = command({});
            const Measured geodesics = geod();
            std::printf("| %lld | %.3f | %.3f | %.0f | %.2f | %.0f | %.3f | %.1f |\n",
                        static_cast<long long>(count), floorRun.seconds, text.seconds,
                        (count - 1) / text.seconds, text.seconds / floorRun.seconds,
                        text.peakMegabytes, geodesics.seconds, geodesics.seconds / text.seconds);
            std::fflush(stdout);
        }
    }

    // Every job at one size (the inputs of the last size are reused).
    void jobTable(qsizetype count)
    {
        const Measured geodesics = geod();
        const Measured floorRun = median3([&] { return floorJob(); });
        std::printf("\n%lld points, kilometers, medians of 3; floor %.3f s; GeodSolve -i %.3f s\n\n"
                    "| job | s | ratio to floor | GeodSolve / job | peak MB | same bytes as floor |\n"
                    "|---|---|---|---|---|---|\n",
                    static_cast<long long>(count), floorRun.seconds, geodesics.seconds);
        const std::vector<std::pair<const char*, QStringList>> jobs{
            {"csv, sphere", {"-f", "csv"}},
            {"tsv, sphere", {"-f", "tsv"}},
            {"text, sphere", {}},
            {"csv, wgs84", {"-f", "csv", "--model", "wgs84"}},
            {"text, wgs84", {"--model", "wgs84"}},
            {"geojson, sphere", {"-f", "geojson"}},
            {"csv, sphere, --segments", {"-f", "csv", "--segments"}},
        };
        for (const auto& [name, arguments] : jobs) {
            const Measured job = median3([&] { return command(arguments); });
            const bool csvSphere = arguments == QStringList{"-f", "csv"};
            std::printf("| %s | %.3f | %.2f | %.1f | %.0f | %s |\n", name, job.seconds,
                        job.seconds / floorRun.seconds, geodesics.seconds / job.seconds,
                        job.peakMegabytes,
                        csvSphere ? (sameBytes(floorOut, commandOut) ? "yes" : "NO") : "-");
            std::fflush(stdout);
        }
    }

    // The track jobs on a GPX with times, each against csv without them on the same file.
    void trackTable(qsizetype count)
    {
        writeTrack(count, track);
        const Measured csv = median3([&] { return command({"-f", "csv"}, track); });
        std::printf("\n%lld points of a GPX track with times (%.0f MB), kilometers, medians of "
                    "3; csv %.3f s\n\n| job | s | ratio to csv | peak MB |\n|---|---|---|---|\n",
                    static_cast<long long>(count), QFileInfo(track).size() / 1e6, csv.seconds);
        for (const auto& [name, arguments] : trackJobs()) {
            const Measured job = median3([&] { return command(arguments, track); });
            std::printf("| %s | %.3f | %.2f | %.0f |\n", name, job.seconds,
                        job.seconds / csv.seconds, job.peakMegabytes);
            std::fflush(stdout);
        }
    }

    static std::vector<std::pair<const char*, QStringList>> trackJobs()
    {
        return {{"csv --time", {"-f", "csv", "--time"}},
                {"csv --segments", {"-f", "csv", "--segments"}},
                {"geojson", {"-f", "geojson"}},
                {"geojson --time", {"-f", "geojson", "--time"}},
                {"--summary", {"--summary", "-f", "csv"}}};
    }

    // Each format on a long list: the time and the peak memory of the process.
    void memoryTable(qsizetype count)
    {
        writeInputs(count, list, {});
        std::printf("\n%lld points (list %.0f MB)\n\n| format | job s | pairs/s | peak MB | "
                    "output MB |\n|---|---|---|---|---|\n",
                    static_cast<long long>(count), QFileInfo(list).size() / 1e6);
        for (const char* format : {"text", "csv", "tsv", "geojson"}) {
            const Measured job = command({"--format", format});
            std::printf("| %s | %.3f | %.0f | %.0f | %.0f |\n", format, job.seconds,
                        (count - 1) / job.seconds, job.peakMegabytes,
                        QFileInfo(commandOut).size() / 1e6);
            std::fflush(stdout);
        }
        // A pipe is read as it comes: the text format keeps its sentences in
        // a temporary file, not in memory.
        const Measured piped = measureProcess(
            QStringLiteral("/bin/sh"),
            {"-c", "cat \"$1\" | \"$0\" -u km -o \"$2\" -", meridane, list, commandOut}, {}, {},
            dir);
        std::printf("| text from a pipe | %.3f | %.0f | %.0f | %.0f |\n", piped.seconds,
                    (count - 1) / piped.seconds, piped.peakMegabytes,
                    QFileInfo(commandOut).size() / 1e6);
        // The track's jobs, times read for every point.
        writeTrack(count, track);
        for (const auto& [name, arguments] : trackJobs()) {
            const Measured job = command(arguments, track);
            std::printf("| GPX %s | %.3f | %.0f | %.0f | %.0f |\n", name, job.seconds,
                        (count - 1) / job.seconds, job.peakMegabytes,
                        QFileInfo(commandOut).size() / 1e6);
            std::fflush(stdout);
        }
        QFile::remove(track);
    }
};

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    const QList<qsizetype> sizes = bench::sizesFromArguments(argc, argv);
    bench::printRunHeading();
    Bench bench;
    bench.textTable(sizes);
    bench.jobTable(sizes.back());
    bench.trackTable(sizes.back());
    bench.memoryTable(sizes.back() * 10);
    return bench::runAgainUnderTunable();
}
