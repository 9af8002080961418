// "Save Results As Text File" and "Copy Results To Clipboard".

#include "window/form1.h"

#include "core/trap.h"
#include "output/clipboardcopy.h"
#include "output/textwriter.h"
#include "window/chrome/msgbox.h"

namespace window {

namespace {

// The save dialog's flags, handed on with the request; no dialog reads them. The
// save dialog never asks before an existing file is replaced.
constexpr int kSaveFlags = 0x280201;
const QString kTextFilter = QStringLiteral("Text Files (*.txt)|*.txt|All Files (*.*)|*.*|");
const QString kCopiedMessage = QStringLiteral(
    "Results have been copied to the clipboard.\r\rClick a text area where you normally type "
    "and press Ctrl+V to paste the clipboard.");

} // namespace

void Form1::PushButton4_Click()
{
    core::Trap trap(core::location("Form1", "PushButton4_Click"));
    trap.step(106, [&] { CommonDialog1.Flags = kSaveFlags; });
    trap.step(108, [&] { CommonDialog1.DialogTitle = QStringLiteral("Save"); });
    trap.step(110, [&] { CommonDialog1.Filter = kTextFilter; });
    // The dialog opens on the name of the last save, or in the folder of the
    // last load; no extension is added.
    trap.step(112, [&] { CommonDialog1.ShowSave(); });
    QString fileName;
    trap.step(114, [&] { fileName = CommonDialog1.FileName; });
    if (trap.test(116, [&] { return fileName.isEmpty(); }))
        return;
    trap.step(118, [&] { setMousePointer(kHourglass); });
    trap.step(120, [&] { output::SaveListviewProperlySpaced(*ListView2, fileName, ProgressBar1); });
    trap.step(122, [&] { setMousePointer(kDefaultPointer); });
}

void Form1::PushButton5_Click()
{
    core::Trap trap(core::location("Form1", "PushButton5_Click"));
    trap.step(106, [&] { output::CopyListviewToClipboard(*ListView2); });
    trap.step(108, [&] { chrome::MsgBox(kCopiedMessage); });
}

} // namespace window
