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

void Form1::ListView2_DblClick() { removeSelected(*this, *ListView2); }

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
}

} // namespace window
