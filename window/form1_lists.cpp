// Editing the two lists: removing a row, clearing a list.

#include "window/form1.h"

#include "core/trap.h"

namespace window {

namespace {

// Removes the selected row, unless a long operation is running.
void removeSelected(const Form1& form, widgets::ListView& list)
{
    if (form.MousePointer() == Form1::kHourglass || list.count() == 0)
        return;
    if (const qsizetype row = list.selectedIndex())
        list.removeItem(row);
}

} // namespace

void Form1::ListView1_DblClick() { removeSelected(*this, *ListView1); }

void Form1::ListView1_KeyDown(int keyCode, int /*shift*/)
{
    constexpr int kDeleteKey = 46;
    if (keyCode == kDeleteKey)
        removeSelected(*this, *ListView1);
}

void Form1::ListView2_DblClick()
{
    const qsizetype rows = ListView2->count();
    const qsizetype selected = ListView2->selectedIndex();
    const bool wasChecked = selected > 0 && ListView2->checked(selected);
    const QString sentence = selected > 0 ? ListView2->text(selected) : QString();
    removeSelected(*this, *ListView2);
    if (ListView2->count() == rows)
        return;
    if (wasChecked)
        totals_.changed(sentence, false);
    tellResults();
}

void Form1::ListView2_ItemCheck(qsizetype row)
{
    totals_.changed(ListView2->textView(row), ListView2->checked(row));
    tellResults();
}

// The checked results counted again, after a run: the rows it added and
// whatever the user changed while it yielded.
void Form1::countResults()
{
    totals_.clear();
    for (qsizetype r = 1; r <= ListView2->count(); ++r)
        if (ListView2->checked(r))
            totals_.added(ListView2->textView(r));
    tellResults();
}

// The results' count and checked total, after a run or a change of the results.
void Form1::tellResults()
{
    StatusLine1->tell(ListView2->count() == 0 ? QString() : totals_.text(ListView2->count()));
}

void Form1::PushButton1_Click()
{
    core::Trap trap(core::location("Form1", "PushButton1_Click"));
    if (trap.test(100, [&] { return MousePointer() != kHourglass; }))
        trap.step(100, [&] { ListView1->clearItems(); });
}

void Form1::PushButton2_Click()
{
    core::Trap trap(core::location("Form1", "PushButton2_Click"));
    trap.step(100, [&] { ListView2->clearItems(); });
    totals_.clear();
    tellResults();
}

} // namespace window
