#pragma once
// One run of the command line: every list file in turn, every point paired
// with the one before it (across files too), each pair written as it comes.
// csv and tsv stream. The text format pads every line to the widest sentence,
// so it reads the lists twice: once for the width, once to write; a list that
// cannot be read twice (the standard input, a pipe) is copied to a temporary
// file first. Memory does not grow with the lists.

#include "cli/commandlineoptions.h"
#include "cli/inputfile.h"
#include "cli/resultrows.h"
#include "cli/console/consoledialogs.h"
#include "cli/console/terminalprogress.h"
#include "core/trap.h"

#include <functional>
#include <memory>
#include <vector>

namespace app {

class CommandLineJob {
public:
    explicit CommandLineJob(const JobOptions& options);
    ~CommandLineJob();
    // The exit status: 0, or 1 when a failure was reported (with --strict,
    // also when lines were skipped or points out of range).
    int run();

private:
    using PairSink = std::function<void(const PointPair& pair)>;
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

    void runTable();
    void runText();
    void readInputs(bool again, const PairSink& pair);
    void readInput(Input& input, bool again, const PlainListOptions& reading);
    void point(QStringView latitude, QStringView longitude);
    void reportNoted(const Input& input);
    QString sentence(const PointPair& pair);
    double distance(const PointPair& pair);
    void showReading(double file, const QString& text);
    void showPoints();
    double progressAt(double files) const;

    const JobOptions& options_;
    console::ConsoleDialogs dialogs_;
    std::unique_ptr<console::TerminalProgress> progress_;
    core::Trap trap_;
    std::vector<Input> inputs_;
    PlainListOptions reading_;
    PairSink pair_;
    QString latitude_, longitude_; // the point before
    double lat1_ = 0, lon1_ = 0;     // and its values
    bool havePoint_ = false;
    qint64 points_ = 0;
    Noted skipped_, outOfRange_;
    qint64 noted_ = 0;
    QString progressText_;
    double progressFrom_ = 0, progressSpan_ = 0; // this reading's share of the bar
    double fileIndex_ = 0;
    qint64 fileBytes_ = 0, readBytes_ = 0;
};

} // namespace app
