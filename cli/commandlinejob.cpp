#include "cli/commandlinejob.h"

#include "cli/geojsonrows.h"
#include "cli/outputamonginputs.h"
#include "cli/sentencespool.h"
#include "cli/standardinput.h"
#include "core/reporterror.h"
#include "core/trap.h"
#include "core/argumentbytes.h"
#include "platform/desktop/yield.h"
#include "platform/dialogs/reportbox.h"
#include "lists/listfile.h"

#include <QDir>
#include <QFile>
#include <QStringBuilder>
#include <algorithm>
#include <cstdio>
#include <utility>
#include <unistd.h>

namespace cli {
namespace {

constexpr qint64 kPointsPerProgressText = 1 << 14;
constexpr size_t kLinesNamed = 5;
constexpr std::string_view kResultsHeader = "Results";

// "2 lines skipped (lines 3, 9)": how many, and the first few, by their
// lines or, in a FIT file, their records.
QString noted(qint64 count, const std::vector<qint64>& first, const char* one, const char* many,
              const char* what, bool records)
{
    QStringList lines;
    for (const qint64 line : first)
        lines << QString::number(line);
    if (count > qint64(first.size()))
        lines << QStringLiteral("...");
    return QStringLiteral("%1 %2 %3 (%4 %5)")
        .arg(count)
        .arg(QLatin1String(count == 1 ? one : many), QLatin1String(what),
             QLatin1String(records ? (first.size() == 1 ? "record" : "records")
                                   : (first.size() == 1 ? "line" : "lines")),
             lines.join(QLatin1String(", ")));
}

} // namespace

void CommandLineJob::Noted::add(qint64 line)
{
    if (++count <= qint64(kLinesNamed))
        first.push_back(line);
}

CommandLineJob::CommandLineJob(const JobOptions& options)
    : options_(options)
    , reading_(options.reading)
{
    if (isatty(fileno(stderr))) {
        progress_ = std::make_unique<TerminalProgress>();
        dialogs_.setProgress(progress_.get());
    }
    platform::replace<platform::Dialogs>(&dialogs_);
    // Reports go through the console dialogs, which write them on standard error and count them.
    core::setReportSink(platform::ReportInMessageBox);
    platform::setYieldInterval(platform::kNeverYield);
    reading_.skipped = [this](qint64 line) { skipped_.add(line); };
    reading_.outOfRange = [this](qint64 line) { outOfRange_.add(line); };
    reading_.recordNumbers = [this] { recordNumbers_ = true; };
    reading_.values = [this](const lists::PointValues& values) { values_ = values; };
    reading_.segment = [this] { segmentStarts_ = true; };
    // Only then do the readers look for times.
    if (options.times || options.summary)
        reading_.time = [this](const lists::PointTime& time) { time_ = time; };
    for (const QByteArray& name : options.files)
        inputs_.push_back({core::shownName(name), std::make_unique<InputFile>(name)});
}

CommandLineJob::~CommandLineJob()
{
    core::setReportSink({});
    platform::replace<platform::Dialogs>(nullptr);
}

// A failing step is reported as a Unix tool reports it, with the failure's
// own words about the subject; the job goes on with the next step.
template <typename F> bool CommandLineJob::attempt(F&& body)
{
    try {
        std::forward<F>(body)();
        return true;
    } catch (...) {
        dialogs_.message(core::currentFailure().description, {}, platform::MessageIcon::Exclamation);
        return false;
    }
}

int CommandLineJob::run()
{
    dialogs_.setSubject(core::shownName(options_.output));
    if (!attempt([&] { refuseOutputAmongInputs(options_.output, options_.files); }))
        return 1;
    if (options_.output == "-" && standardOutputClosed()) {
        dialogs_.message(QStringLiteral("standard output is closed"), {},
                         platform::MessageIcon::Exclamation);
        return 1;
    }
    if (checkInputs()) {
        const bool times = options_.times;
        if (options_.summary)
            runSummary();
        else if (options_.format == ResultFormat::Text)
            runText();
        else if (options_.format == ResultFormat::GeoJson)
            runRows([&](ResultsFile& file) { return GeoJsonRows(*options_.unit, file, times); });
        else
            runRows([&](ResultsFile& file) {
                return TableRows(options_.format, *options_.unit, file, times);
            });
    }
    progress_.reset();
    const bool failed = dialogs_.messages() > 0 || (options_.strict && noted_ > 0);
    return failed ? 1 : 0;
}

// Every list is looked at first, by its name; each is opened in its turn,
// so that thousands of lists need no more descriptors than one. False when
// none can be read: the job ends before writing anything.
bool CommandLineJob::checkInputs()
{
    bool any = false;
    for (Input& input : inputs_) {
        dialogs_.setSubject(input.shown);
        any |= attempt([&] { input.file->check(); });
    }
    return any;
}

// csv, tsv or geojson rows, made by make(file).
template <typename Make> void CommandLineJob::runRows(Make make)
{
    ResultsFile file(options_.output);
    dialogs_.setSubject(core::shownName(options_.output));
    if (!attempt([&] { file.create(); }))
        return;
    auto rows = make(file);
    rows.header();
    readInputs([&](const engine::PointPair& pair, const PairTimes& times) {
        rows.row(pair, distance(pair), times);
    });
    rows.finish();
    dialogs_.setSubject(core::shownName(options_.output));
    attempt([&] { file.close(); });
}

void CommandLineJob::runSummary()
{
    ResultsFile file(options_.output);
    dialogs_.setSubject(core::shownName(options_.output));
    if (!attempt([&] { file.create(); }))
        return;
    summary_ = std::make_unique<TrackSummary>(*options_.unit);
    readInputs([&](const engine::PointPair& pair, const PairTimes& times) {
        summary_->pair(distance(pair), times);
    });
    const std::string record = summary_->record(options_.format);
    dialogs_.setSubject(core::shownName(options_.output));
    attempt([&] {
        file.write(QByteArrayView(record.data(), qsizetype(record.size())));
        file.close();
    });
}

void CommandLineJob::runText()
{
    // The output is started first, as the table's is: one that cannot be
    // written is told before any list is read (a piped one is not consumed).
    ResultsFile file(options_.output);
    dialogs_.setSubject(core::shownName(options_.output));
    if (!attempt([&] { file.create(); }))
        return;
    // The sentences' temporary file is named by its folder when it fails.
    const QString spoolFolder = core::shownName(QFile::encodeName(QDir::tempPath()));
    dialogs_.setSubject(spoolFolder);
    std::unique_ptr<SentenceSpool> spool;
    if (!attempt([&] { spool = std::make_unique<SentenceSpool>(); }))
        return;
    WindowSentence sentence(*options_.unit);
    std::optional<core::Failure> spoolFailure;
    readInputs([&](const engine::PointPair& pair, const PairTimes&) {
        const double measured = distance(pair);
        if (spoolFailure)
            return;
        const std::string_view text = sentence.compose(pair, measured);
        try {
            spool->add(text, sentence.width());
        } catch (...) {
            spoolFailure = core::currentFailure();
        }
    });
    if (spoolFailure) {
        dialogs_.setSubject(spoolFolder);
        attempt([&] { throw *spoolFailure; });
        return;
    }

    dialogs_.setSubject(core::shownName(options_.output));
    const qsizetype widest = std::max(spool->widest(), qsizetype(kResultsHeader.size()));
    PaddedLines lines(file, widest);
    lines.add(kResultsHeader, qsizetype(kResultsHeader.size()));
    if (attempt([&] {
            spool->replay([&](std::string_view text, qsizetype width) { lines.add(text, width); });
        })) {
        lines.finish();
        attempt([&] { file.close(); });
    }
}

void CommandLineJob::readInputs(const PairSink& pair)
{
    pair_ = pair;
    for (size_t i = 0; i < inputs_.size(); ++i) {
        Input& input = inputs_[i];
        if (!input.file->wasChecked())
            continue; // reported when it was looked at
        dialogs_.setSubject(input.shown);
        showReading(double(i), QLatin1String("Reading ") % input.shown);
        attempt([&] { readInput(input); });
        input.file->close(); // read to its end
        reportNoted(input);
    }
}

void CommandLineJob::readInput(Input& input)
{
    input.file->open();
    fileBytes_ = input.file->size();
    readBytes_ = 0;
    segmentStarts_ = true; // a file begins a segment
    lists::readList(
        input.file->descriptor(),
        [this](QStringView latitude, QStringView longitude) { point(latitude, longitude); },
        reading_);
}

void CommandLineJob::point(QStringView latitude, QStringView longitude)
{
    // Each point is converted once, by the reader, for both of its pairs.
    const auto values = std::exchange(values_, std::nullopt);
    const auto time = std::exchange(time_, std::nullopt);
    const bool starts = std::exchange(segmentStarts_, false);
    const double lat = values ? values->latitude : engine::coordinate(latitude);
    const double lon = values ? values->longitude : engine::coordinate(longitude);
    if (summary_)
        summary_->point(time, starts);
    if (havePoint_ && !(starts && options_.segments))
        pair_({latitude_, longitude_, latitude, longitude, lat1_, lon1_, lat, lon},
              {time1_ ? &*time1_ : nullptr, time ? &*time : nullptr});
    time1_ = time;
    lat1_ = lat;
    lon1_ = lon;
    latitude_.assign(latitude.utf16(), size_t(latitude.size()));
    longitude_.assign(longitude.utf16(), size_t(longitude.size()));
    havePoint_ = true;
    // A point's line is about its two texts, the comma and the line end.
    readBytes_ += latitude.size() + longitude.size() + 2;
    if (progress_ && ++points_ % kPointsPerProgressText == 0)
        showPoints();
}

// The share of the file read so far, as far as its points tell.
void CommandLineJob::showPoints()
{
    const double read = fileBytes_ > 0 ? std::min(1.0, double(readBytes_) / fileBytes_) : 0;
    progress_->setValue(progressAt(fileIndex_ + read));
    progress_->setText(progressText_ % QLatin1String(": ") % QString::number(points_) %
                       QLatin1String(" points"));
}

// A pair that cannot be measured is reported and counts 0, as in the window.
double CommandLineJob::distance(const engine::PointPair& pair)
{
    double measured = 0;
    attempt([&] { measured = engine::pairDistance(options_.model, *options_.unit, pair); });
    return measured;
}

// One line per file on standard error, when lines were skipped or points out of range.
void CommandLineJob::reportNoted(const Input& input)
{
    QStringList parts;
    if (skipped_.count > 0)
        parts << noted(skipped_.count, skipped_.first, recordNumbers_ ? "record" : "line",
                       recordNumbers_ ? "records" : "lines", "skipped", recordNumbers_);
    if (outOfRange_.count > 0)
        parts << noted(outOfRange_.count, outOfRange_.first, "point", "points", "out of range",
                       recordNumbers_);
    noted_ += skipped_.count + outOfRange_.count;
    skipped_ = {};
    outOfRange_ = {};
    recordNumbers_ = false;
    if (parts.isEmpty())
        return;
    if (progress_)
        progress_->clear();
    const QString line = QLatin1String("meridane: ") % input.shown % QLatin1String(": ") %
                         parts.join(QLatin1String(", ")) % QLatin1Char('\n');
    std::fputs(line.toUtf8().constData(), stderr);
    std::fflush(stderr);
}

// Files done, as a percentage of the bar.
double CommandLineJob::progressAt(double files) const
{
    return 100 * files / double(inputs_.size());
}

void CommandLineJob::showReading(double file, const QString& text)
{
    fileIndex_ = file;
    progressText_ = text;
    if (!progress_)
        return;
    progress_->setValue(progressAt(file));
    progress_->setText(text);
}

} // namespace cli
