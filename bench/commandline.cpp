// The command-line job (read a list file, pair every point with the next,
// write the results) as a whole process, against a bare loop in this process
// that does the same work with plain C++ (read the bytes, split lines, parse,
// compute, format, write) and against GeodSolve -i (Debian package
// geographiclib-tools) on the same pairs.
//
// First table: the window's results file (text format, sphere) at each size.
// Second: csv rows and the WGS84 geodesic at the largest size. Third: time
// and peak memory of each format at ten times the largest size.
//
//   bench_commandline [sizes...]     (default 10000 100000 1000000)

#include "benchutil.h"
#include "engine/modzipdistance.h"

#include <GeographicLib/Geodesic.hpp>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <algorithm>
#include <charconv>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace {

constexpr double kKilometersPerMile = 1.609344;

using Kilometers = double (*)(double lat1, double lon1, double lat2, double lon2);

double sphereKilometers(double lat1, double lon1, double lat2, double lon2)
{
    return modZipDistance::SphericalDistanceMiles(lat1, lat2, lon1, lon2) * kKilometersPerMile;
}

double ellipsoidKilometers(double lat1, double lon1, double lat2, double lon2)
{
    double meters = 0;
    GeographicLib::Geodesic::WGS84().Inverse(lat1, lon1, lat2, lon2, meters);
    return meters / 1000;
}

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

double parse(std::string_view text)
{
    double value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

// "4078.217": rounded half to even at three places, no trailing zeros.
void appendKilometers(std::string& out, double km)
{
    char buffer[64];
    char* end = std::to_chars(buffer, buffer + sizeof buffer, km, std::chars_format::fixed, 3).ptr;
    while (end[-1] == '0')
        --end;
    if (end[-1] == '.')
        --end;
    out.append(buffer, end);
}

// "4078217" for "4078.217": the rounded distance in meters.
long long thousandths(std::string_view rounded)
{
    const size_t point = rounded.find('.');
    long long value = (long long)parse(rounded.substr(0, point)) * 1000;
    if (point != std::string_view::npos) {
        std::string decimals(rounded.substr(point + 1));
        decimals.resize(3, '0');
        value += (long long)parse(decimals);
    }
    return value;
}

// Every pair of the list file's neighbouring lines.
template <typename F> void forEachPair(const QString& list, F&& pair)
{
    QFile in(list);
    if (!in.open(QIODevice::ReadOnly))
        qFatal("cannot read %s", qPrintable(list));
    const QByteArray bytes = in.readAll();
    std::string_view lat1, lon1;
    for (qsizetype start = 0; start < bytes.size();) {
        qsizetype end = bytes.indexOf('\n', start);
        if (end < 0)
            end = bytes.size();
        const std::string_view line(bytes.constData() + start, size_t(end - start));
        start = end + 1;
        const size_t comma = line.find(',');
        const std::string_view lat2 = line.substr(0, comma), lon2 = line.substr(comma + 1);
        if (!lat1.empty())
            pair(lat1, lon1, lat2, lon2);
        lat1 = lat2;
        lon1 = lon2;
    }
}

// The text job with nothing of the program's: returns the results' lines.
qsizetype bareText(const QString& list, const QString& output, Kilometers kilometers)
{
    std::string sentences;
    std::vector<size_t> ends;
    size_t width = 7; // "Results"
    forEachPair(list, [&](auto lat1, auto lon1, auto lat2, auto lon2) {
        const size_t begin = sentences.size();
        sentences += "Distance between (";
        sentences.append(lat1).append(",").append(lon1).append(") and (");
        sentences.append(lat2).append(",").append(lon2).append(") is ");
        appendKilometers(sentences,
                         kilometers(parse(lat1), parse(lon1), parse(lat2), parse(lon2)));
        sentences += " kilometers";
        width = std::max(width, sentences.size() - begin);
        ends.push_back(sentences.size());
    });
    std::FILE* out = std::fopen(output.toLocal8Bit().constData(), "wb");
    const std::string padding(width, ' ');
    auto writeLine = [&](std::string_view text) {
        std::fwrite(text.data(), 1, text.size(), out);
        std::fwrite(padding.data(), 1, width - text.size(), out);
        std::fwrite("\t\r\n", 1, 3, out);
    };
    writeLine("Results");
    for (size_t i = 0, begin = 0; i < ends.size(); begin = ends[i++])
        writeLine(std::string_view(sentences).substr(begin, ends[i] - begin));
    std::fclose(out);
    return qsizetype(ends.size());
}

// The csv job with nothing of the program's, streaming.
qsizetype bareCsv(const QString& list, const QString& output, Kilometers kilometers)
{
    std::FILE* out = std::fopen(output.toLocal8Bit().constData(), "wb");
    std::string row = "lat1,lon1,lat2,lon2,distance_km,cumulative_km\n";
    long long total = 0;
    qsizetype rows = 0;
    forEachPair(list, [&](auto lat1, auto lon1, auto lat2, auto lon2) {
        std::fwrite(row.data(), 1, row.size(), out);
        row.clear();
        row.append(lat1).append(",").append(lon1).append(",");
        row.append(lat2).append(",").append(lon2).append(",");
        const size_t at = row.size();
        appendKilometers(row, kilometers(parse(lat1), parse(lon1), parse(lat2), parse(lon2)));
        total += thousandths(std::string_view(row).substr(at));
        row += ",";
        appendKilometers(row, double(total) / 1000);
        row += "\n";
        ++rows;
    });
    std::fwrite(row.data(), 1, row.size(), out);
    std::fclose(out);
    return rows;
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
    QString geodSolve = QStandardPaths::findExecutable(QStringLiteral("GeodSolve"));
    QTemporaryDir dir;
    QString list = dir.filePath(QStringLiteral("points.txt"));
    QString pairs = dir.filePath(QStringLiteral("pairs.txt"));
    QString bareOut = dir.filePath(QStringLiteral("bare.txt"));
    QString commandOut = dir.filePath(QStringLiteral("results.txt"));

    Measured geod()
    {
        return geodSolve.isEmpty() ? Measured{}
                                   : measureProcess(geodSolve, {"-i"}, pairs,
                                                    dir.filePath(QStringLiteral("geod.txt")), dir);
    }

    void textTable(const QList<qsizetype>& sizes)
    {
        std::printf("| points | bare s | command s | pairs/s | ratio to bare | command peak MB | "
                    "GeodSolve s | GeodSolve / command | GeodSolve peak MB | same bytes |\n"
                    "|---|---|---|---|---|---|---|---|---|---|\n");
        for (qsizetype count : sizes) {
            writeInputs(count, list, pairs);
            qsizetype results = 0;
            const double bare =
                bench::timeOnce([&] { results = bareText(list, bareOut, sphereKilometers); });
            const Measured command = measureProcess(
                meridane, {"--unit", "kilometers", "--output", commandOut, list}, {}, {}, dir);
            const Measured geodesics = geod();
            std::printf("| %lld | %.3f | %.3f | %.0f | %.2f | %.0f | %.3f | %.1f | %.0f | %s |\n",
                        static_cast<long long>(count), bare, command.seconds,
                        results / command.seconds, command.seconds / bare, command.peakMegabytes,
                        geodesics.seconds, geodesics.seconds / command.seconds,
                        geodesics.peakMegabytes, sameBytes(bareOut, commandOut) ? "yes" : "no");
            std::fflush(stdout);
        }
    }

    // csv rows and the ellipsoid at one size (the inputs of the last size are reused).
    void scriptTable(qsizetype count)
    {
        struct Job {
            const char* name;
            QStringList arguments;
            qsizetype (*bare)(const QString&, const QString&, Kilometers);
            Kilometers kilometers;
        };
        const std::vector<Job> jobs{
            {"--format csv", {"--format", "csv"}, bareCsv, sphereKilometers},
            {"--format csv --model wgs84", {"--format", "csv", "--model", "wgs84"}, bareCsv,
             ellipsoidKilometers},
            {"--model wgs84 (text)", {"--model", "wgs84"}, bareText, ellipsoidKilometers},
        };
        const Measured geodesics = geod();
        std::printf("\n%lld points, kilometers; GeodSolve -i: %.3f s, peak %.0f MB\n\n"
                    "| job | bare s | command s | pairs/s | ratio to bare | GeodSolve / command | "
                    "peak MB | same bytes |\n|---|---|---|---|---|---|---|---|\n",
                    static_cast<long long>(count), geodesics.seconds, geodesics.peakMegabytes);
        for (const Job& job : jobs) {
            qsizetype results = 0;
            const double bare =
                bench::timeOnce([&] { results = job.bare(list, bareOut, job.kilometers); });
            const Measured command = measureProcess(
                meridane, job.arguments + QStringList{"-u", "km", "-o", commandOut, list}, {}, {},
                dir);
            std::printf("| `%s` | %.3f | %.3f | %.0f | %.2f | %.1f | %.0f | %s |\n", job.name, bare,
                        command.seconds, results / command.seconds, command.seconds / bare,
                        geodesics.seconds / command.seconds, command.peakMegabytes,
                        sameBytes(bareOut, commandOut) ? "yes" : "no");
            std::fflush(stdout);
        }
    }

    // Each format on a long list: the time and the peak memory of the process.
    void memoryTable(qsizetype count)
    {
        writeInputs(count, list, {});
        std::printf("\n%lld points (list %.0f MB)\n\n| format | command s | pairs/s | peak MB | "
                    "output MB |\n|---|---|---|---|---|\n",
                    static_cast<long long>(count), QFileInfo(list).size() / 1e6);
        for (const char* format : {"text", "csv", "tsv"}) {
            const Measured command = measureProcess(
                meridane, {"--format", format, "-u", "km", "-o", commandOut, list}, {}, {}, dir);
            std::printf("| %s | %.3f | %.0f | %.0f | %.0f |\n", format, command.seconds,
                        (count - 1) / command.seconds, command.peakMegabytes,
                        QFileInfo(commandOut).size() / 1e6);
            std::fflush(stdout);
        }
        // A pipe: the text format copies it to a temporary file first. The
        // peak that time reports is that of the largest process of the pipe.
        const Measured piped = measureProcess(
            QStringLiteral("/bin/sh"),
            {"-c", "cat \"$1\" | \"$0\" -u km -o \"$2\" -", meridane, list, commandOut}, {}, {},
            dir);
        std::printf("| text from a pipe | %.3f | %.0f | %.0f | %.0f |\n", piped.seconds,
                    (count - 1) / piped.seconds, piped.peakMegabytes,
                    QFileInfo(commandOut).size() / 1e6);
    }
};

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    const QList<qsizetype> sizes = bench::sizesFromArguments(argc, argv);
    Bench bench;
    bench.textTable(sizes);
    bench.scriptTable(sizes.back());
    bench.memoryTable(sizes.back() * 10);
    return 0;
}
