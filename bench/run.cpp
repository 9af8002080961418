// The distance run on generated lists, against a bare loop that parses and
// computes the same distances in the same process.
//
//   bench_run [sizes...]     (default 10000 100000 1000000)

#include "app/form1.h"
#include "benchsession.h"
#include "benchutil.h"
#include "engine/modzipdistance.h"
#include "engine/numbers.h"
#include "platform/desktop/dialogs.h"

#include <QApplication>
#include <QTextStream>
#include <cstdio>

namespace {

// Answers every message at once, as a user pressing OK.
double bareLoop(const std::vector<bench::Point>& points)
{
    volatile double sink = 0;
    return bench::timeOnce([&] {
        for (size_t i = 0; i + 1 < points.size(); ++i) {
            const double miles = modZipDistance::SphericalDistanceMiles(
                engine::numberOf(points[i].latitude), engine::numberOf(points[i + 1].latitude),
                engine::numberOf(points[i].longitude), engine::numberOf(points[i + 1].longitude));
            sink = sink + miles * 1;
        }
    });
}

double getDistanceLoop(const std::vector<bench::Point>& points)
{
    qsizetype total = 0;
    const double seconds = bench::timeOnce([&] {
        for (size_t i = 0; i + 1 < points.size(); ++i)
            total += modZipDistance::GetDistance(points[i].latitude, points[i].longitude,
                                                 points[i + 1].latitude, points[i + 1].longitude,
                                                 modZipDistance::selectedOption(1))
                         .size();
    });
    if (total == 0)
        std::puts("no sentences?");
    return seconds;
}

} // namespace

int main(int argc, char* argv[])
{
    bench::Session session(argc, argv);
    const QList<qsizetype> sizes = bench::sizesFromArguments(argc, argv);

    Form1& form = session.form;

    std::printf("%-9s %10s %10s %7s %10s %10s %7s %9s\n", "points", "bare s", "GetDist s", "ratio",
                "run s", "rows/s", "ratio", "peak MB");
    for (const qsizetype n : sizes) {
        form.ListView1->clearItems();
        form.ListView2->clearItems();
        double bare = 0, sentences = 0;
        {
            const std::vector<bench::Point> points = bench::generatePoints(n);
            std::vector<double> bares, sentenceTimes;
            for (int round = 0; round < 3; ++round) {
                bares.push_back(bareLoop(points));
                sentenceTimes.push_back(getDistanceLoop(points));
            }
            bare = bench::median(bares);
            sentences = bench::median(sentenceTimes);
            for (const bench::Point& p : points)
                form.ListView1->addItem(p.latitude, p.longitude);
        } // the generated texts are gone: only the lists hold points now
        const double run = bench::timeOnce([&] { form.PushButton17_Click(); });
        if (form.ListView2->count() != n - 1)
            std::printf("unexpected result count %lld\n",
                        static_cast<long long>(form.ListView2->count()));
        std::printf("%-9lld %10.3f %10.3f %7.2f %10.3f %10.0f %7.2f %9.0f\n",
                    static_cast<long long>(n), bare, sentences, sentences / bare, run, n / run,
                    run / bare, bench::peakMegabytes());
        std::fflush(stdout);
    }
    return 0;
}
