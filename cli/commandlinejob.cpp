#include "cli/commandlinejob.h"

#include "cli/outputamonginputs.h"
#include "files/argumentbytes.h"
#include "window/loadcoordinatefile.h"
#include "core/reporterror.h"
#include "output/columnlayout.h"
#include "platform/desktop/yield.h"
#include "window/chrome/msgbox.h"

#include <QStringBuilder>
#include <algorithm>
#include <cstdio>
#include <unistd.h>

namespace app {
namespace {

constexpr qint64 kPointsPerProgressText = 1 << 14;
constexpr size_t kLinesNamed = 5;
const QString kResultsHeader = QStringLiteral("Results");

// A failure already reported once: the second reading of a list says nothing.
class QuietDialogs : public platform::ConsoleDialogs {
public:
    void message(const QString&, const QString&, platform::MessageIcon) override {}
};

// "2 lines skipped (lines 3, 9)": how many, and the first few.
QString noted(qint64 count, const std::vector<qint64>& first, const char* one, const char* many,
              const char* what)
{
    QStringList lines;
    for (const qint64 line : first)
        lines << QString::number(line);
    if (count > qint64(first.size()))
        lines << QStringLiteral("...");
    return QStringLiteral("%1 %2 %3 (%4 %5)")
        .arg(count)
        .arg(QLatin1String(count == 1 ? one : many), QLatin1String(what),
             QLatin1String(first.size() == 1 ? "line" : "lines"), lines.join(QLatin1String(", ")));
}

} // namespace

void CommandLineJob::Noted::add(qint64 line)
{
    if (++count <= qint64(kLinesNamed))
        first.push_back(line);
}

CommandLineJob::CommandLineJob(const JobOptions& options)
    : options_(options)
    , trap_(core::location("Main", "RunCommandLine"))
    , reading_(options.reading)
{
    if (isatty(fileno(stderr))) {
        progress_ = std::make_unique<platform::TerminalProgress>();
        dialogs_.setProgress(progress_.get());
    }
    platform::replace<platform::Dialogs>(&dialogs_);
    // Reports go through the console dialogs, which write them on standard error and count them.
    core::setReportSink(shell::ReportInMessageBox);
    platform::setYieldInterval(platform::kNeverYield);
    reading_.skipped = [this](qint64 line) { skipped_.add(line); };
    reading_.outOfRange = [this](qint64 line) { outOfRange_.add(line); };
    for (const QByteArray& name : options.files)
        inputs_.push_back({shownName(name), std::make_unique<InputFile>(name)});
}

CommandLineJob::~CommandLineJob()
{
    core::setReportSink({});
    platform::replace<platform::Dialogs>(nullptr);
}

int CommandLineJob::run()
{
    dialogs_.setSubject(shownName(options_.output));
    if (!trap_.step(116, [&] { RefuseOutputAmongInputs(options_.output, options_.files); }))
        return 1;
    if (options_.format == ResultFormat::Text)
        runText();
    else
        runTable();
    progress_.reset();
    const bool failed = dialogs_.messages() > 0 || (options_.strict && noted_ > 0);
    return failed ? 1 : 0;
}

void CommandLineJob::runTable()
{
    ResultsFile file(options_.output);
    dialogs_.setSubject(shownName(options_.output));
    if (!trap_.step(116, [&] { file.create(); }))
        return;
    TableRows rows(options_.format, *options_.unit, file);
    rows.header();
    progressSpan_ = 100;
    readInputs(false, [&](const PointPair& pair) { rows.row(pair, distance(pair)); });
    dialogs_.setSubject(shownName(options_.output));
    trap_.step(120, [&] { file.close(); });
}

void CommandLineJob::runText()
{
    qsizetype width = kResultsHeader.size();
    progressSpan_ = 50;
    readInputs(false, [&](const PointPair& pair) {
        width = std::max(width, sentence(pair).size());
    });

    ResultsFile file(options_.output);
    dialogs_.setSubject(shownName(options_.output));
    if (!trap_.step(116, [&] { file.create(); }))
        return;
    QString line;
    const auto writeLine = [&](QStringView text) {
        line.truncate(0);
        output::appendPadded(line, text, width);
        line += QLatin1String("\r\n");
        file.write(line);
    };
    writeLine(kResultsHeader);
    // The second reading repeats the first: its reports were made already.
    QuietDialogs quiet;
    platform::replace<platform::Dialogs>(&quiet);
    progressFrom_ = 50;
    readInputs(true, [&](const PointPair& pair) { writeLine(sentence(pair)); });
    platform::replace<platform::Dialogs>(&dialogs_);
    dialogs_.setSubject(shownName(options_.output));
    trap_.step(120, [&] { file.close(); });
}

void CommandLineJob::readInputs(bool again, const PairSink& pair)
{
    pair_ = pair;
    havePoint_ = false;
    points_ = 0;
    PlainListOptions quietReading = options_.reading;
    for (size_t i = 0; i < inputs_.size(); ++i) {
        Input& input = inputs_[i];
        dialogs_.setSubject(input.shown);
        trap_.step(110, [&] {
            showReading(double(i), QLatin1String(again ? "Writing from " : "Reading ") % input.shown);
        });
        if (again && !input.file->wasOpened())
            continue; // reported the first time
        trap_.step(112, [&] { readInput(input, again, again ? quietReading : reading_); });
        input.file->pause();
        if (!again)
            reportNoted(input);
    }
}

void CommandLineJob::readInput(Input& input, bool again, const PlainListOptions& reading)
{
    if (!again) {
        input.file->open();
        if (options_.format == ResultFormat::Text)
            input.file->spill();
    } else {
        input.file->rewind();
    }
    fileBytes_ = input.file->size();
    readBytes_ = 0;
    ReadCoordinates(
        input.file->descriptor(),
        [this](QStringView latitude, QStringView longitude) { point(latitude, longitude); },
        reading);
}

void CommandLineJob::point(QStringView latitude, QStringView longitude)
{
    // Each point is converted once, for both of its pairs.
    const double lat = coordinate(latitude), lon = coordinate(longitude);
    if (havePoint_)
        pair_({latitude_, longitude_, latitude, longitude, lat1_, lon1_, lat, lon});
    lat1_ = lat;
    lon1_ = lon;
    latitude_.truncate(0);
    latitude_ += latitude;
    longitude_.truncate(0);
    longitude_ += longitude;
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

QString CommandLineJob::sentence(const PointPair& pair)
{
    return windowSentence(pair, *options_.unit, distance(pair));
}

// A pair that cannot be measured is reported and counts 0, as in the window.
double CommandLineJob::distance(const PointPair& pair)
{
    double measured = 0;
    trap_.step(114, [&] {
        measured = pairDistance(options_.model, *options_.unit, pair);
    });
    return measured;
}

// One line per file on standard error, when lines were skipped or points out of range.
void CommandLineJob::reportNoted(const Input& input)
{
    QStringList parts;
    if (skipped_.count > 0)
        parts << noted(skipped_.count, skipped_.first, "line", "lines", "skipped");
    if (outOfRange_.count > 0)
        parts << noted(outOfRange_.count, outOfRange_.first, "point", "points", "out of range");
    noted_ += skipped_.count + outOfRange_.count;
    skipped_ = {};
    outOfRange_ = {};
    if (parts.isEmpty())
        return;
    if (progress_)
        progress_->clear();
    const QString line = QLatin1String("meridane: ") % input.shown % QLatin1String(": ") %
                         parts.join(QLatin1String(", ")) % QLatin1Char('\n');
    std::fputs(line.toUtf8().constData(), stderr);
    std::fflush(stderr);
}

// Files done, as a percentage of this reading's share of the bar.
double CommandLineJob::progressAt(double files) const
{
    return progressFrom_ + progressSpan_ * files / double(inputs_.size());
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

} // namespace app
