#pragma once
// Clipboard procedures: the checked rows of a list (the list view, say) as
// column-aligned text on the clipboard, and the two clipboard calls that retry
// while another program holds the clipboard.

#include "core/rowsource.h"

#include <QString>

namespace output {

// How often ClearClipboard and SetClipboardText try before giving up.
constexpr int kClipboardAttempts = 1000;

// One line per checked row, no header: every cell but the last padded to its
// column's width (the longest cell, unchecked rows included) and followed by
// a TAB, the last cell without trailing spaces, CR LF after every line. An
// empty list leaves the clipboard alone. Failures reach the caller's trap.
void CopyListviewToClipboard(const core::RowSource& list);

// Both try up to kClipboardAttempts times and never fail towards the caller.
void ClearClipboard();
// Format 0 is plain text; any other is handed on to the clipboard.
void SetClipboardText(const QString& text, int format);

} // namespace output
