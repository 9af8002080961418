// The spreadsheet export of a results list, against a bare loop that formats
// the same checked lines into memory in the same process. The workbook is
// really written (into the cache folder, removed afterwards); starting the
// spreadsheet program is only recorded.
//
//   bench_export [sizes...]     (default 10000 100000 1000000)

#include "form1controls.h"
#include "window/form1.h"
#include "benchsession.h"
#include "benchutil.h"
#include "engine/modzipdistance.h"
#include "platform/system/processstart.h"
#include "memoryworkbook.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cstdio>

namespace {

// Answers every message at once, as a user pressing OK, and counts them.
// A spreadsheet program that "exists" but is never started.
class NoLaunch final : public platform::ProcessStart {
public:
    QStringList files;
    QString findProgram(const QString& name) override
    {
        return name == u"soffice" ? QStringLiteral("/usr/bin/soffice") : QString();
    }
    QString queryOutput(const QString&, const QStringList&) override { return {}; }
    bool startDetached(const QString&, const QStringList& arguments) override
    {
        files << arguments.last();
        return true;
    }
};

double bareLoop(const widgets::ListView& list)
{
    QByteArray lines;
    const double seconds = bench::timeOnce([&] {
        lines = QByteArrayLiteral("Results\n");
        for (qsizetype r = 1; r <= list.count(); ++r)
            if (list.checked(r))
                lines += list.text(r).toUtf8() + '\n';
    });
    if (lines.isEmpty())
        std::puts("no lines?");
    return seconds;
}

// Writing the same sheet on its own: the part of the export spent in the file.
double xlsxOnly(const widgets::ListView& list, const QString& path)
{
    spreadsheet::MemoryWorkbook workbook;
    workbook.ActiveSheet().Cells(1, 1) = QStringLiteral("Results");
    for (qsizetype r = 1; r <= list.count(); ++r)
        workbook.ActiveSheet().Cells(static_cast<int>(r) + 1, 1).value = list.text(r);
    workbook.ActiveSheet().Columns().Autofit();
    const double seconds = bench::timeOnce([&] { spreadsheet::writeXlsx(path, workbook.sheet()); });
    QFile::remove(path);
    return seconds;
}

} // namespace

int main(int argc, char* argv[])
{
    bench::Session session(argc, argv);
    NoLaunch processes;
    const platform::Replacement<platform::ProcessStart> seam(&processes);

    const QList<qsizetype> sizes = bench::sizesFromArguments(argc, argv);

    window::Form1& form = session.form;

    std::printf("%-9s %9s %10s %11s %9s %11s %9s %9s %9s\n", "rows", "bare s", "export s", "rows/s",
                "ratio", "of it xlsx", "xlsx MB", "list MB", "peak MB");
    for (const qsizetype n : sizes) {
        ui(form).ListView2->clearItems();
        bench::fillResults(*ui(form).ListView2, n + 1); // n results
        std::vector<double> bares;
        for (int round = 0; round < 3; ++round)
            bares.push_back(bareLoop(*ui(form).ListView2));
        const double bare = bench::median(bares);
        const double listMegabytes = bench::currentMegabytes();
        bench::resetPeak();
        processes.files.clear();
        const double exported = bench::timeOnce([&] { form.PushButton13_Click(); });
        const double peak = bench::peakMegabytes();
        double fileMegabytes = 0;
        for (const QString& file : processes.files) {
            fileMegabytes += QFileInfo(file).size() / 1e6;
            QFile::remove(file);
        }
        if (processes.files.size() != 1 || session.dialogs.messages != 0)
            std::printf("unexpected: %lld workbooks, %d messages\n",
                        static_cast<long long>(processes.files.size()), session.dialogs.messages);
        const double xlsx = xlsxOnly(*ui(form).ListView2, QDir::temp().filePath("bench_export.xlsx"));
        std::printf("%-9lld %9.3f %10.3f %11.0f %9.1f %11.3f %9.1f %9.0f %9.0f\n",
                    static_cast<long long>(n), bare, exported, n / exported, exported / bare, xlsx,
                    fileMegabytes, listMegabytes, peak);
        std::fflush(stdout);
    }
    return 0;
}
