#pragma once
// The window's controls, for tests and benchmarks that drive them as a
// person would: ui(form).PushButton17, ui(form).ListView2.

#include "form1controls.h"
#include "window/form1.h"

struct Form1Controls {
    explicit Form1Controls(window::Form1& f)
        : ListView1(f.ListView1), PushButton6(f.PushButton6), PushButton3(f.PushButton3),
          PushButton8(f.PushButton8), PushButton1(f.PushButton1), PushButton7(f.PushButton7),
          Frame1(f.Frame1), Option1(f.Option1), Option2(f.Option2), Option3(f.Option3),
          Option4(f.Option4), PushButton17(f.PushButton17), ListView2(f.ListView2),
          PushButton4(f.PushButton4), PushButton13(f.PushButton13), PushButton5(f.PushButton5),
          PushButton2(f.PushButton2), ProgressBar1(f.ProgressBar1), StatusLine1(f.StatusLine1),
          CommonDialog1(f.CommonDialog1)
    {
    }
    widgets::ListView* const ListView1;
    widgets::PushButton* const PushButton6;
    widgets::PushButton* const PushButton3;
    widgets::PushButton* const PushButton8;
    widgets::PushButton* const PushButton1;
    widgets::PushButton* const PushButton7;
    QGroupBox* const Frame1;
    widgets::OptionButton* const Option1;
    widgets::OptionButton* const Option2;
    widgets::OptionButton* const Option3;
    widgets::OptionButton* const Option4;
    widgets::PushButton* const PushButton17;
    widgets::ListView* const ListView2;
    widgets::PushButton* const PushButton4;
    widgets::PushButton* const PushButton13;
    widgets::PushButton* const PushButton5;
    widgets::PushButton* const PushButton2;
    widgets::ProgressBar* const ProgressBar1;
    widgets::StatusLine* const StatusLine1;
    platform::CommonDialog& CommonDialog1;
};

inline Form1Controls ui(const window::Form1& form) { return Form1Controls(const_cast<window::Form1&>(form)); }
