// The command-line job (read a list file, pair every point with the next,
// write the aligned results file) as a whole process, against a bare loop in
// this process that does the same work with plain C++ (read the bytes, split
// lines, parse, compute, format, pad, write) and against GeodSolve -i
// (Debian package geographiclib-tools) on the same pairs.
//
//   bench_commandline [sizes...]     (default 10000 100000 1000000)

#include "benchutil.h"
#include "engine/modzipdistance.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr double kKilometersPerMile = 1.609344;

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

// The list file and GeodSolve's input for the same pairs.
void writeInputs(qsizetype count, const QString& list, const QString& pairs)
{
    const std::vector<bench::Point> points = bench::generatePoints(count);
    QByteArray listText, pairText;
    for (size_t i = 0; i < points.size(); ++i) {
        listText += points[i].latitude.toLatin1() + ',' + points[i].longitude.toLatin1() + '\n';
        if (i + 1 < points.size())
            pairText += points[i].latitude.toLatin1() + ' ' + points[i].longitude.toLatin1() + ' ' +
                        points[i + 1].latitude.toLatin1() + ' ' +
                        points[i + 1].longitude.toLatin1() + '\n';
    }
    writeFile(list, listText);
    writeFile(pairs, pairText);
}

double parse(std::string_view text)
{
    double value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

// "4078.217": three places, no trailing zeros.
void appendKilometers(std::string& out, double miles)
{
    char buffer[64];
    const double km = std::nearbyint(miles * kKilometersPerMile * 1000) / 1000;
    char* end = std::to_chars(buffer, buffer + sizeof buffer, km, std::chars_format::fixed, 3).ptr;
    while (end[-1] == '0')
        --end;
    if (end[-1] == '.')
        --end;
    out.append(buffer, end);
}

// The same job with nothing of the program's: returns the results' lines.
qsizetype bareJob(const QString& list, const QString& output)
{
    QFile in(list);
    if (!in.open(QIODevice::ReadOnly))
        qFatal("cannot read %s", qPrintable(list));
    const QByteArray bytes = in.readAll();
    std::string sentences;
    std::vector<size_t> ends;
    std::string_view lat1, lon1;
    size_t width = 7; // "Results"
    for (qsizetype start = 0; start < bytes.size();) {
        qsizetype end = bytes.indexOf('\n', start);
        if (end < 0)
            end = bytes.size();
        const std::string_view line(bytes.constData() + start, size_t(end - start));
        start = end + 1;
        const size_t comma = line.find(',');
        const std::string_view lat2 = line.substr(0, comma), lon2 = line.substr(comma + 1);
        if (!lat1.empty()) {
            const size_t begin = sentences.size();
            sentences += "Distance between (";
            sentences.append(lat1).append(",").append(lon1).append(") and (");
            sentences.append(lat2).append(",").append(lon2).append(") is ");
            appendKilometers(sentences, modZipDistance::SphericalDistanceMiles(
                                            parse(lat1), parse(lat2), parse(lon1), parse(lon2)));
            sentences += " kilometers";
            width = std::max(width, sentences.size() - begin);
            ends.push_back(sentences.size());
        }
        lat1 = lat2;
        lon1 = lon2;
    }
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

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    const QString meridane = QStringLiteral(MERIDANE_EXECUTABLE);
    const QString geodSolve = QStandardPaths::findExecutable(QStringLiteral("GeodSolve"));
    QTemporaryDir dir;
    std::printf("| points | bare s | command s | pairs/s | ratio to bare | command peak MB | "
                "GeodSolve s | GeodSolve / command | GeodSolve peak MB | same bytes |\n"
                "|---|---|---|---|---|---|---|---|---|---|\n");
    for (qsizetype count : bench::sizesFromArguments(argc, argv)) {
        const QString list = dir.filePath(QStringLiteral("points.txt"));
        const QString pairs = dir.filePath(QStringLiteral("pairs.txt"));
        const QString bareOut = dir.filePath(QStringLiteral("bare.txt"));
        const QString commandOut = dir.filePath(QStringLiteral("results.txt"));
        writeInputs(count, list, pairs);

        qsizetype results = 0;
        const double bare = bench::timeOnce([&] { results = bareJob(list, bareOut); });
        const Measured command = measureProcess(
            meridane, {"--unit", "kilometers", "--output", commandOut, list}, {}, {}, dir);
        const Measured geod = geodSolve.isEmpty()
                                  ? Measured{}
                                  : measureProcess(geodSolve, {"-i"}, pairs,
                                                   dir.filePath(QStringLiteral("geod.txt")), dir);
        QFile a(bareOut), b(commandOut);
        const bool same = a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly) &&
                          a.readAll() == b.readAll();
        std::printf("| %lld | %.3f | %.3f | %.0f | %.2f | %.0f | %.3f | %.1f | %.0f | %s |\n",
                    static_cast<long long>(count), bare, command.seconds, results / command.seconds,
                    command.seconds / bare, command.peakMegabytes, geod.seconds,
                    geod.seconds / command.seconds, geod.peakMegabytes, same ? "yes" : "no");
        std::fflush(stdout);
    }
    return 0;
}
