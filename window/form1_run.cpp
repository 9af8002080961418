// The distance run: every row paired with the next, one result sentence per pair.

#include "window/form1.h"

#include "core/failure.h"
#include "core/trap.h"
#include "engine/modzipdistance.h"
#include "engine/numbers.h"
#include "platform/desktop/yield.h"
#include "window/chrome/msgbox.h"
#include "files/paths.h"

namespace window {

void Form1::PushButton17_Click()
{
    core::Trap trap(core::location("Form1", "PushButton17_Click"));
    // Read at every pair: a unit chosen during the run applies to the next pairs.
    const auto unitOptions = [this](int k) { return option(k)->isChecked(); };
    // A second press while a run is yielding leaves that run alone.
    if (trap.test(100, [&] { return runInProgress_; }))
        return;
    trap.step(102, [&] { runInProgress_ = true; });
    const engine::LocaleScope locale; // the user's locale, read once for the run
    if (trap.test(104, [&] { return ListView1->count() >= 1; })) {
        trap.step(106, [&] { ListView2->clearItems(); });
        qsizetype last = 0;
        engine::modZipDistance::Sentence sentence; // one buffer for every pair
        QString latitude, progressText;    // and for every row's texts
        trap.step(108, [&] { last = ListView1->count(); });
        for (qsizetype i = 1; i <= last; ++i) {
            // A row that is gone (the list was emptied while the run yielded) is
            // reported once; the run leaves the loop and still does its closing
            // steps. Rows that only grow never get here.
            if (!trap.step(110, [&] { ListView1->readText(i, latitude); }) && i > ListView1->count())
                break;
            trap.step(112, [&] {
                const qsizetype n = ListView1->count();
                if (n == 0) // the list was cleared while the run yielded
                    throw core::Failure::divisionByZero();
                ProgressBar1->setValue(double(i) / double(n) * 100);
            });
            trap.step(114, [&] {
                progressText.truncate(0);
                progressText += QLatin1String("Processing: ");
                progressText += files::FileNameFromPath(latitude);
                ProgressBar1->setText(progressText);
            });
            trap.step(116, [&] { platform::Yield(); });
            trap.step(118, [&] { setMousePointer(kHourglass); });
            if (trap.test(120, [&] { return i < ListView1->count(); })) {
                // Read in place: nothing changes the list before the sentence is made.
                QAnyStringView lat1, lon1, lat2, lon2;
                trap.step(122, [&] { lat1 = ListView1->textView(i); });
                trap.step(124, [&] { lon1 = ListView1->subItemView(i, 1); });
                trap.step(126, [&] { lat2 = ListView1->textView(i + 1); });
                trap.step(128, [&] { lon2 = ListView1->subItemView(i + 1, 1); });
                const auto addSentence = [&] {
                    engine::modZipDistance::GetDistance(lat1, lon1, lat2, lon2, unitOptions,
                                                        sentence);
                    ListView2->addItemView(sentence.view());
                };
                // A results list at its limit is reported once: the run
                // leaves the loop, as when rows are gone.
                if (!trap.step(130, addSentence) && ListView2->full())
                    break;
                trap.step(132, [&] { ListView2->setChecked(ListView2->count(), true); });
                trap.step(134, [&] { ListView2->ensureVisible(ListView2->count()); });
            }
        }
        countResults();
        trap.step(138, [&] { setMousePointer(kDefaultPointer); });
        trap.step(140, [&] { ProgressBar1->setValue(0); });
        trap.step(142, [&] { ProgressBar1->setText(QStringLiteral("Progress Bar")); });
        trap.step(144, [&] { chrome::MsgBox(QStringLiteral("Done.")); });
    } else {
        trap.step(146, [&] { chrome::MsgBox(QStringLiteral("No coordinates added.")); });
    }
    trap.step(148, [&] { runInProgress_ = false; });
}

} // namespace window
