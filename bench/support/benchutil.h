#pragma once
// Small helpers shared by the benchmarks: generated point lists, a stopwatch
// and the process's peak memory.

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QString>
#include <QStringList>
#include <algorithm>
#include <cpuid.h>
#include <cstdio>
#include <vector>

namespace bench {

struct Point {
    QString latitude;
    QString longitude;
};

// Reproducible points with five or six decimals, as a GPS track would give,
// handed one by one to point(latitude, longitude).
template <typename F> void forEachGeneratedPoint(qsizetype count, F&& point, quint32 seed = 42)
{
    QRandomGenerator random(seed);
    for (qsizetype i = 0; i < count; ++i) {
        const double lat = random.bounded(180.0) - 90.0;
        const double lon = random.bounded(360.0) - 180.0;
        point(QString::number(lat, 'f', 5), QString::number(lon, 'f', 6));
    }
}

inline std::vector<Point> generatePoints(qsizetype count, quint32 seed = 42)
{
    std::vector<Point> points;
    points.reserve(static_cast<size_t>(count));
    forEachGeneratedPoint(
        count, [&](QString lat, QString lon) { points.push_back({lat, lon}); }, seed);
    return points;
}

// The same points in one block of text, latitude and longitude after each
// other: a million of them take 45 MB instead of 150 as separate strings.
class PointTexts {
public:
    explicit PointTexts(qsizetype count, quint32 seed = 42)
    {
        bounds_.reserve(static_cast<size_t>(2 * count + 1));
        bounds_.push_back(0);
        text_.reserve(count * 21);
        forEachGeneratedPoint(
            count,
            [&](const QString& lat, const QString& lon) {
                for (const QString& field : {lat, lon}) {
                    text_ += field;
                    bounds_.push_back(static_cast<quint32>(text_.size()));
                }
            },
            seed);
        text_.squeeze();
    }
    qsizetype size() const { return qsizetype(bounds_.size() / 2); }
    QStringView latitude(qsizetype i) const { return field(2 * i); }
    QStringView longitude(qsizetype i) const { return field(2 * i + 1); }
    const QString& text() const { return text_; }
    // Field k (latitude i is 2i, longitude 2i + 1) spans [bound(k), bound(k + 1)).
    qsizetype bound(qsizetype k) const { return bounds_[static_cast<size_t>(k)]; }

private:
    QStringView field(qsizetype k) const
    {
        return QStringView(text_).sliced(bound(k), bound(k + 1) - bound(k));
    }
    QString text_;
    std::vector<quint32> bounds_;
};

inline double secondsOf(const QElapsedTimer& timer) { return timer.nsecsElapsed() / 1e9; }

template <typename F> double timeOnce(F&& body)
{
    QElapsedTimer timer;
    timer.start();
    body();
    return secondsOf(timer);
}

inline double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n == 0 ? 0 : n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// A memory figure of the process's status in megabytes, 0 when unknown.
inline double statusMegabytes(const QByteArray& field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith(field + ':'))
            return line.mid(field.size() + 1).trimmed().split(' ').first().toDouble() / 1024.0;
    return 0;
}

// Peak resident memory (VmHWM) and resident memory now (VmRSS).
inline double peakMegabytes() { return statusMegabytes("VmHWM"); }
inline double currentMegabytes() { return statusMegabytes("VmRSS"); }

// Starts a new peak from the current memory (Linux: clear_refs 5).
inline void resetPeak()
{
    if (FILE* f = std::fopen("/proc/self/clear_refs", "w")) {
        std::fputs("5", f);
        std::fclose(f);
    }
}

// The benchmarks run on the offscreen platform unless QT_QPA_PLATFORM names another.
inline void offscreenByDefault()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

// The list sizes named on the command line; 10,000, 100,000 and 1,000,000 by default.
inline QList<qsizetype> sizesFromArguments(int argc, char* argv[])
{
    QList<qsizetype> sizes;
    for (int i = 1; i < argc; ++i)
        sizes << QByteArray(argv[i]).toLongLong();
    if (sizes.isEmpty())
        sizes = {10000, 100000, 1000000};
    return sizes;
}

// The upper vector state of this process now, as the processor tells it
// (XGETBV with ECX=1, bit 2): "dirty" when a library left the upper halves of
// the vector registers in use (every libm call then waits), "clean", or
// "unknown" where the processor does not tell.
inline const char* vectorState()
{
    unsigned a = 0, b = 0, c = 0, d = 0;
    if (!__builtin_cpu_supports("avx") || !__get_cpuid_count(0xd, 1, &a, &b, &c, &d) ||
        (a & (1u << 2)) == 0)
        return "unknown";
    unsigned low = 0, high = 0;
    asm volatile("xgetbv" : "=a"(low), "=d"(high) : "c"(1));
    return (low & (1u << 2)) != 0 ? "dirty" : "clean";
}

// glibc's AVX-512 string functions turned off: on processors with AVX-512
// they leave the vector state dirty. A benchmark prints its figures with and
// without it, so that such a machine cannot silently mislead a reader.
constexpr const char* kTunable = "glibc.cpu.hwcaps=-AVX512F,-AVX512VL,-AVX512BW,-AVX512DQ";

inline bool underTunable() { return qgetenv("GLIBC_TUNABLES") == kTunable; }

// The heading of one run's figures: the tunable and the state at start.
inline void printRunHeading()
{
    std::printf("\n## %s; vector state at start: %s\n\n",
                underTunable() ? "GLIBC_TUNABLES=glibc.cpu.hwcaps=-AVX512F,-AVX512VL,-AVX512BW,-AVX512DQ"
                               : "no GLIBC_TUNABLES",
                vectorState());
    std::fflush(stdout);
}

// Once, from the run without the tunable: this program again with it, its
// figures printed after these. The status of that run.
inline int runAgainUnderTunable()
{
    if (underTunable() || !qEnvironmentVariableIsEmpty("GLIBC_TUNABLES"))
        return 0;
    QProcess again;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("GLIBC_TUNABLES"), QLatin1String(kTunable));
    again.setProcessEnvironment(environment);
    again.setProcessChannelMode(QProcess::ForwardedChannels);
    QStringList arguments = QCoreApplication::arguments();
    const QString program = arguments.takeFirst();
    std::fflush(stdout);
    again.start(program, arguments);
    again.waitForFinished(-1);
    return again.exitCode();
}

} // namespace bench
