// Loading a generated list file into ListView1 of a shown window, against a
// bare loop in the same process that reads the same file in blocks, decodes
// it and splits it into lines and fields.
//
//   bench_load [sizes...]     (default 10000 100000 1000000)

#include "app/form1.h"
#include "app/loadcoordinatefile.h"
#include "benchsession.h"
#include "benchutil.h"

#include <QApplication>
#include <QFile>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <cstdio>

namespace {

constexpr int kRuns = 3;

void writeListFile(const QString& path, qsizetype count)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        qFatal("cannot write %s", qPrintable(path));
    QByteArray text;
    for (const bench::Point& p : bench::generatePoints(count))
        text += p.latitude.toLatin1() + ',' + p.longitude.toLatin1() + "\r\n";
    file.write(text);
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

double loadIntoList(Form1& form, const QString& path)
{
    form.ListView1->clearItems();
    QCoreApplication::processEvents();
    return bench::timeOnce([&] {
        app::LoadCoordinateFile(*form.ListView1, path);
        // The view shows the new rows too.
        form.ListView1->flushView();
        QCoreApplication::processEvents();
    });
}

} // namespace

int main(int argc, char* argv[])
{
    bench::Session session(argc, argv);
    const QList<qsizetype> sizes = bench::sizesFromArguments(argc, argv);

    Form1& form = session.form;
    QTemporaryDir dir;

    std::printf("%-9s %10s %10s %12s %7s %9s   (medians of %d runs)\n", "lines", "bare s", "load s",
                "rows/s", "ratio", "peak MB", kRuns);
    for (const qsizetype n : sizes) {
        const QString path = dir.filePath(QStringLiteral("points-%1.txt").arg(n));
        writeListFile(path, n);
        std::vector<double> bare, load;
        for (int run = 0; run < kRuns; ++run) {
            qsizetype points = 0;
            bare.push_back(bench::timeOnce([&] { points = readAndSplit(path); }));
            if (points != n)
                qFatal("bare loop found %lld of %lld points", qlonglong(points), qlonglong(n));
            bench::resetPeak();
            load.push_back(loadIntoList(form, path));
            if (form.ListView1->count() != n)
                qFatal("loaded %lld of %lld rows", qlonglong(form.ListView1->count()),
                       qlonglong(n));
        }
        const double b = bench::median(bare), l = bench::median(load);
        std::printf("%-9lld %10.4f %10.4f %12.0f %7.2f %9.1f\n", qlonglong(n), b, l, n / l, l / b,
                    bench::peakMegabytes());
        std::fflush(stdout);
    }
    return 0;
}
