#pragma once
// One run of the command line: every list file in turn, every point paired
// with the one before it (across files too; with --segments only within a
// segment of a file), each pair computed once and written as it comes. csv,
// tsv and geojson stream; --summary adds the pairs up into one record. The text format pads every line
// to the widest sentence: its sentences wait in a temporary file until the
// width is known (see SentenceSpool), so every list is read once, the
// standard input too. Memory does not grow with the lists.
//
// Failures read as a Unix tool's: "meridane: FILE: reason" on standard
// error. Every list is looked at before anything is written, so a job that
// cannot read any of them writes nothing; each is opened only in its turn, so
// named pipes written one after the other are read as they come.

#include "cli/commandlineoptions.h"
#include "cli/inputfile.h"
#include "cli/resultrows.h"
#include "cli/tracksummary.h"
#include "cli/console/consoledialogs.h"
#include "cli/console/terminalprogress.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace cli {

class CommandLineJob {
public:
    explicit CommandLineJob(const JobOptions& options);
    ~CommandLineJob();
    // The exit status: 0, or 1 when a failure was reported (with --strict,
    // also when lines were skipped or points out of range).
    int run();

private:
    using PairSink = std::function<void(const engine::PointPair& pair, const PairTimes& times)>;
    struct Input {
        QString shown;
        std::unique_ptr<InputFile> file;
    };
    // Lines of one file that --strict counts as failures.
    struct Noted {
        qint64 count = 0;
        std::vector<qint64> first;
        void add(qint64 line);
    };

    bool checkInputs();
    template <typename Make> void runRows(Make make);
    void runSummary();
    void runText();
    void readInputs(const PairSink& pair);
    void readInput(Input& input);
    void point(QStringView latitude, QStringView longitude);
    void reportNoted(const Input& input);
    double distance(const engine::PointPair& pair);
    void showReading(double file, const QString& text);
    void showPoints();
    double progressAt(double files) const;
    template <typename F> bool attempt(F&& body);

    const JobOptions& options_;
    ConsoleDialogs dialogs_;
    std::unique_ptr<TerminalProgress> progress_;
    std::vector<Input> inputs_;
    lists::PlainListOptions reading_;
    PairSink pair_;
    std::u16string latitude_, longitude_; // the point before
    double lat1_ = 0, lon1_ = 0;     // and its values
    std::optional<lists::PointValues> values_;     // the next point's, from the reader
    std::optional<lists::PointTime> time_, time1_; // the next point's, and the point before's
    bool segmentStarts_ = false;            // the next point is a segment's first
    std::unique_ptr<TrackSummary> summary_;
    bool havePoint_ = false;
    qint64 points_ = 0;
    Noted skipped_, outOfRange_;
    bool recordNumbers_ = false; // the notes of this file name records (FIT)
    qint64 noted_ = 0;
    QString progressText_;
    double fileIndex_ = 0;
    qint64 fileBytes_ = 0, readBytes_ = 0;
};

} // namespace cli
