#include "app/commandline.h"

#include "app/console/consoledialogs.h"
#include "app/console/plaintable.h"
#include "app/console/terminalprogress.h"
#include "app/loadcoordinatefile.h"
#include "core/reporterror.h"
#include "core/trap.h"
#include "engine/modzipdistance.h"
#include "output/textwriter.h"
#include "platform/desktop/yield.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>
#include <QStringBuilder>
#include <algorithm>
#include <array>
#include <cstdio>
#include <memory>
#include <optional>
#include <unistd.h>

namespace app {
namespace {

constexpr int kWrongCommandLine = 2;
constexpr qint64 kPointsPerProgressText = 1 << 14;

// The unit names and the option buttons they stand for.
struct UnitName {
    const char* name;
    int option;
};
constexpr std::array<UnitName, 4> kUnitNames{{
    {"miles", 1},
    {"feet", 2},
    {"kilometers", 3},
    {"meters", 4},
}};

std::optional<int> unitOption(const QString& name)
{
    for (const UnitName& unit : kUnitNames)
        if (name.compare(QLatin1String(unit.name), Qt::CaseInsensitive) == 0)
            return unit.option;
    return std::nullopt;
}

int wrongCommandLine(const QString& text)
{
    std::fprintf(stderr, "meridane: %s\nTry 'meridane --help' for more information.\n",
                 text.toLocal8Bit().constData());
    return kWrongCommandLine;
}

// One run over the list files: each point is paired with the one before it as
// it is read, so only the result sentences are kept.
class Job {
public:
    Job(const QStringList& files, int unitOption)
        : files_(files)
        , unitOptions_(modZipDistance::selectedOption(unitOption))
    {
        if (isatty(fileno(stderr))) {
            progress_ = std::make_unique<platform::TerminalProgress>();
            dialogs_.setProgress(progress_.get());
        }
        core::setReportSink([this](const QString& report) {
            dialogs_.message(report, {}, platform::MessageIcon::Exclamation);
        });
        platform::setYieldInterval(platform::kNeverYield);
    }
    ~Job() { core::setReportSink({}); }

    int run(const QString& output)
    {
        core::Trap trap(core::location("Main", "RunCommandLine"));
        for (qsizetype i = 0; i < files_.size(); ++i) {
            dialogs_.setSubject(files_[i]);
            trap.step(110, [&] { showReading(i); });
            trap.step(112, [&] {
                LoadCoordinateFile(files_[i], [this](QStringView latitude, QStringView longitude) {
                    point(latitude, longitude);
                });
            });
        }
        dialogs_.setSubject(output);
        trap.step(120,
                  [&] { output::SaveListviewProperlySpaced(results_, output, progress_.get()); });
        progress_.reset();
        return dialogs_.messages() == 0 ? 0 : 1;
    }

private:
    void point(QStringView latitude, QStringView longitude)
    {
        QString lat = latitude.toString(), lon = longitude.toString();
        if (++points_ > 1)
            results_.add(modZipDistance::GetDistance(lat1_, lon1_, lat, lon, unitOptions_));
        lat1_ = std::move(lat);
        lon1_ = std::move(lon);
        // A point's line is about its two texts, the comma and the line end.
        readBytes_ += latitude.size() + longitude.size() + 2;
        if (progress_ && points_ % kPointsPerProgressText == 0)
            showPoints();
    }

    // The share of all files' bytes read so far, as far as the points tell.
    void showPoints()
    {
        const qint64 read = std::min(readBytes_, fileBytes_);
        progress_->setValue(totalBytes_ > 0 ? double(doneBytes_ + read) / totalBytes_ * 100 : 0);
        progress_->setText(readingText() % QLatin1String(": ") % QString::number(points_) %
                           QLatin1String(" points"));
    }

    QString readingText() const { return QLatin1String("Reading ") % reading_; }

    void showReading(qsizetype i)
    {
        reading_ = files_[i];
        if (!progress_)
            return;
        if (i == 0)
            for (const QString& file : files_)
                totalBytes_ += QFileInfo(file).size();
        doneBytes_ += i == 0 ? 0 : fileBytes_;
        fileBytes_ = QFileInfo(reading_).size();
        readBytes_ = 0;
        progress_->setText(readingText());
    }

    const QStringList& files_;
    const modZipDistance::UnitOptions unitOptions_;
    platform::ConsoleDialogs dialogs_;
    const platform::Replacement<platform::Dialogs> console_{&dialogs_};
    std::unique_ptr<platform::TerminalProgress> progress_;
    platform::PlainTable results_{QStringLiteral("Results")};
    QString reading_;
    QString lat1_, lon1_;
    qint64 points_ = 0;
    qint64 totalBytes_ = 0, doneBytes_ = 0, fileBytes_ = 0, readBytes_ = 0;
};

} // namespace

int RunCommandLine(QCoreApplication& application)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Measures the great-circle distance between every point of the list files and the "
        "next, and writes the results as a column-aligned text file.\n"
        "Started without arguments, Meridane opens its window."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption unit(
        {QStringLiteral("u"), QStringLiteral("unit")},
        QStringLiteral("miles, feet, kilometers or meters (default: miles)."),
        QStringLiteral("unit"), QStringLiteral("miles"));
    const QCommandLineOption output(
        {QStringLiteral("o"), QStringLiteral("output")},
        QStringLiteral("The results file, replaced if it exists; - for standard output (default)."),
        QStringLiteral("file"), QStringLiteral("-"));
    parser.addOption(unit);
    parser.addOption(output);
    parser.addPositionalArgument(
        QStringLiteral("files"),
        QStringLiteral("List files: one point a line, latitude,longitude."),
        QStringLiteral("files..."));
    if (!parser.parse(application.arguments()))
        return wrongCommandLine(parser.errorText());
    if (parser.isSet(QStringLiteral("help")))
        parser.showHelp(0);
    if (parser.isSet(QStringLiteral("version")))
        parser.showVersion();

    const std::optional<int> option = unitOption(parser.value(unit));
    if (!option)
        return wrongCommandLine(QStringLiteral("unknown unit \"%1\": use miles, feet, kilometers "
                                               "or meters")
                                    .arg(parser.value(unit)));
    const QStringList files = parser.positionalArguments();
    if (files.isEmpty())
        return wrongCommandLine(QStringLiteral("no list files given"));
    return Job(files, *option).run(parser.value(output));
}

} // namespace app
