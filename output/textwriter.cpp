#include "output/textwriter.h"

#include "core/trap.h"
#include "output/columnlayout.h"
#include "output/laststep.h"
#include "files/textfile.h"
#include "platform/desktop/yield.h"
#include "files/paths.h"

#include <QStringBuilder>

namespace output {
namespace {

// Everything one call works with.
struct Save {
    const core::RowSource& list;
    core::Progress* bar;
    QString shownName;
    core::Trap trap{core::location("Main", "SaveListviewProperlySpaced")};
};

QString writingText(const Save& save) { return QLatin1String("Writing file: ") % save.shownName; }

// Yield, position, text, yield: the bar moves while the window keeps painting.
// The steps carry firstLabel + 2 to + 8.
void announce(Save& save, int firstLabel, double value)
{
    core::Trap& trap = save.trap;
    if (!trap.test(firstLabel, [&] { return save.bar != nullptr; }))
        return;
    trap.step(firstLabel + 2, [] { platform::Yield(); });
    trap.step(firstLabel + 4, [&] { save.bar->setValue(value); });
    trap.step(firstLabel + 6, [&] { save.bar->setText(writingText(save)); });
    trap.step(firstLabel + 8, [] { platform::Yield(); });
}

// A checked row r of n has been laid out. (n \ 2000 + r) / n: the whole-number
// term adds at most 0.05 to the last value.
void rowProgress(Save& save, qsizetype r, qsizetype n)
{
    core::Trap& trap = save.trap;
    if (!trap.test(210, [&] { return save.bar != nullptr; }))
        return;
    trap.step(212, [] { platform::Yield(); });
    trap.step(214, [&] { save.bar->setValue(double(n / 2000 + r) / double(n) * 100); });
    if (r % 1000 == 0)
        trap.step(218, [&] {
            save.bar->setText(writingText(save) % QLatin1String(" (") % QString::number(r) %
                              QLatin1Char(')'));
        });
    trap.step(220, [] { platform::Yield(); });
}

// The checked rows, one line each. False when a row went away while the
// write yielded (its read is reported once): the file is then not finished.
bool writeRows(Save& save, const Widths& widths, files::TextFile& file, QString& line)
{
    core::Trap& trap = save.trap;
    qsizetype rows = 0;
    trap.step(182, [&] { rows = save.list.count(); });
    for (qsizetype r = 1; r <= rows; ++r) {
        trap.step(184, [] { platform::Yield(); });
        line.truncate(0);
        const auto gone = [&] { return rowGone(save.list, r); };
        bool checked = true; // a failing test counts as passed
        if (!trap.step(188, [&] { checked = save.list.checked(r); }) && gone())
            return false;
        if (!checked)
            continue;
        if (!appendCells(
                trap, 190, widths, line, [&](int c) { return save.list.cellView(r, c); }, gone))
            return false;
        rowProgress(save, r, rows);
        trap.step(222, [&] { file.writeLine(line); });
    }
    return true;
}

// A file put in place at its end holds the end of the process until it is
// whole or dropped; a pipe or device that may wait for its reader for ever
// does not.
template <typename Step> void lastStep(const files::TextFile& file, Step step)
{
    if (file.writesInPlace())
        platform::YieldUntilDone(step);
    else
        runLastStep(step);
}

// The header line, the checked rows, the file put in place and "Done."; a
// file whose rows went away halfway is dropped and the old one stays.
void writeFile(Save& save, const Widths& widths, files::TextFile& file)
{
    core::Trap& trap = save.trap;
    QString line;
    appendCells(trap, 158, widths, line, [&](int c) { return save.list.columnText(c); });
    trap.step(170, [&] { file.writeLine(line); });
    announce(save, 172, 20);
    // Flushing hundreds of megabytes to the disk, or dropping them, and
    // removing the file replaced take a while: the window answers meanwhile.
    if (!writeRows(save, widths, file, line)) {
        lastStep(file, [&] { file.abandon(); });
        return;
    }
    // "Done." once the file is in place, not before: a failed close says so instead.
    if (!trap.step(232, [&] { lastStep(file, [&] { file.close(); }); }))
        return;
    if (trap.test(226, [&] { return save.bar != nullptr; })) {
        trap.step(228, [&] { save.bar->setValue(100); });
        trap.step(230, [&] { save.bar->setText(QStringLiteral("Done.")); });
    }
}

} // namespace

void SaveListviewProperlySpaced(const core::RowSource& list, const QString& fileName,
                                core::Progress* progress)
{
    Save save{list, progress, files::FileNameFromPath(fileName)};
    core::Trap& trap = save.trap;
    announce(save, 100, 1);
    // Rows that went away while the widths were taken: nothing is written.
    if (const auto widths = measureColumns(trap, list, true)) {
        announce(save, 142, 10);
        files::TextFile file(fileName);
        trap.step(156, [&] { file.create(); });
        // A file that cannot be created gets one report; nothing more is tried.
        if (file.isOpen())
            writeFile(save, *widths, file);
    }

    if (trap.test(238, [&] { return save.bar != nullptr; })) {
        trap.step(240, [&] { save.bar->setValue(0); });
        trap.step(242, [&] { save.bar->setText(QStringLiteral("Progress Bar")); });
    }
}

} // namespace output
