// The distance run on generated lists, against a bare loop that parses and
// computes the same distances in the same process, and a floor: the same
// parse, formula and sentence in plain C++ without Qt.
//
// The figures are printed twice: as the machine runs, and again with glibc's
// AVX-512 string functions turned off (they and Qt's string hash leave the
// vector state dirty, which makes every libm call wait); each run says the
// state it started in. The two should agree within noise.
//
//   bench_run [sizes...]     (default 10000 100000 1000000)

#include "form1controls.h"
#include "window/form1.h"
#include "benchsession.h"
#include "benchutil.h"
#include "engine/modzipdistance.h"
#include "engine/numbers.h"

#include <QApplication>
#include <charconv>
#include <cstdio>
#include <string>
#include <string_view>

namespace {

double bareLoop(const bench::PointTexts& points)
{
    volatile double sink = 0;
    return bench::timeOnce([&] {
        const engine::LocaleScope locale;
        for (qsizetype i = 0; i + 1 < points.size(); ++i) {
            const double miles = engine::modZipDistance::SphericalDistanceMiles(
                engine::numberOf(points.latitude(i)), engine::numberOf(points.latitude(i + 1)),
                engine::numberOf(points.longitude(i)), engine::numberOf(points.longitude(i + 1)));
            sink = sink + miles * 1;
        }
    });
}

double getDistanceLoop(const bench::PointTexts& points)
{
    qsizetype total = 0;
    const double seconds = bench::timeOnce([&] {
        const engine::LocaleScope locale;
        engine::modZipDistance::Sentence sentence; // as the run makes them
        for (qsizetype i = 0; i + 1 < points.size(); ++i) {
            engine::modZipDistance::GetDistance(
                points.latitude(i), points.longitude(i), points.latitude(i + 1),
                points.longitude(i + 1), engine::modZipDistance::selectedOption(1), sentence);
            total += sentence.view().size();
        }
    });
    if (total == 0)
        std::puts("no sentences?");
    return seconds;
}

// The limit: the points as ASCII in one block, std::from_chars, the same
// formula, std::to_chars at four places (miles), trailing zeros dropped, and
// the sentence built in one reused buffer.
class Floor {
public:
    explicit Floor(const bench::PointTexts& points)
        : text_(points.text().toStdString())
        , points_(points)
    {
    }

    double time() const
    {
        size_t total = 0;
        const double seconds = bench::timeOnce([&] {
            std::string sentence;
            for (qsizetype i = 0; i + 1 < points_.size(); ++i) {
                const std::string_view lat1 = field(2 * i), lon1 = field(2 * i + 1);
                const std::string_view lat2 = field(2 * i + 2), lon2 = field(2 * i + 3);
                const double miles = engine::modZipDistance::SphericalDistanceMiles(
                    number(lat1), number(lat2), number(lon1), number(lon2));
                sentence.clear();
                for (const std::string_view piece :
                     {std::string_view("Distance between ("), lat1, std::string_view(","), lon1,
                      std::string_view(") and ("), lat2, std::string_view(","), lon2,
                      std::string_view(") is "), digits(miles), std::string_view(" miles")})
                    sentence += piece;
                total += sentence.size();
            }
        });
        if (total == 0)
            std::puts("no floor sentences?");
        return seconds;
    }

private:
    std::string_view field(qsizetype k) const
    {
        const auto from = static_cast<size_t>(points_.bound(k));
        return std::string_view(text_).substr(from, static_cast<size_t>(points_.bound(k + 1)) - from);
    }
    static double number(std::string_view text)
    {
        double value = 0;
        std::from_chars(text.data(), text.data() + text.size(), value);
        return value;
    }
    std::string_view digits(double miles) const
    {
        const auto end = std::to_chars(buffer_, buffer_ + sizeof buffer_, miles,
                                       std::chars_format::fixed, 4)
                             .ptr;
        std::string_view text(buffer_, static_cast<size_t>(end - buffer_));
        text.remove_suffix(text.size() - 1 - text.find_last_not_of('0'));
        if (text.back() == '.')
            text.remove_suffix(1);
        return text;
    }

    std::string text_;
    const bench::PointTexts& points_;
    mutable char buffer_[400];
};

} // namespace

int main(int argc, char* argv[])
{
    bench::Session session(argc, argv);
    const QList<qsizetype> sizes = bench::sizesFromArguments(argc, argv);

    window::Form1& form = session.form;
    bench::printRunHeading();

    std::printf("%-9s %10s %10s %7s %10s %10s %7s %9s %9s %7s\n", "points", "bare s", "GetDist s",
                "ratio", "run s", "rows/s", "ratio", "peak MB", "floor s", "bare/floor");
    for (const qsizetype n : sizes) {
        ui(form).ListView1->clearItems();
        ui(form).ListView2->clearItems();
        double bare = 0, sentences = 0, floor = 0;
        {
            const bench::PointTexts points(n);
            std::vector<double> bares, sentenceTimes, floors;
            {
                const Floor plain(points);
                for (int round = 0; round < 3; ++round)
                    floors.push_back(plain.time());
            }
            for (int round = 0; round < 3; ++round) {
                bares.push_back(bareLoop(points));
                sentenceTimes.push_back(getDistanceLoop(points));
            }
            bare = bench::median(bares);
            sentences = bench::median(sentenceTimes);
            floor = bench::median(floors);
            for (qsizetype i = 0; i < points.size(); ++i)
                ui(form).ListView1->addItem(points.latitude(i).toString(),
                                        points.longitude(i).toString());
        } // the generated texts are gone: only the lists hold points now
        const double run = bench::timeOnce([&] { form.PushButton17_Click(); });
        if (ui(form).ListView2->count() != n - 1)
            std::printf("unexpected result count %lld\n",
                        static_cast<long long>(ui(form).ListView2->count()));
        std::printf("%-9lld %10.3f %10.3f %7.2f %10.3f %10.0f %7.2f %9.0f %9.3f %7.2f\n",
                    static_cast<long long>(n), bare, sentences, sentences / bare, run, n / run,
                    run / bare, bench::peakMegabytes(), floor, bare / floor);
        std::fflush(stdout);
    }
    return bench::runAgainUnderTunable();
}
