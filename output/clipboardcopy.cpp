#include "output/clipboardcopy.h"

#include "output/columnlayout.h"
#include "platform/desktop/clipboard.h"
#include "platform/desktop/yield.h"

namespace output {
namespace {

// Calls the clipboard until one attempt succeeds or all have failed; a
// clipboard that stays busy is given up on silently.
template <typename Call> void retry(Call&& call)
{
    for (int attempt = 0; attempt < kClipboardAttempts; ++attempt) {
        try {
            call();
            return;
        } catch (...) {
        }
    }
}

// Drops the TAB after the last cell and the spaces before it, back to the
// start of the line at most, and ends the line. Both happen in place.
void endLine(QString& text, qsizetype lineStart)
{
    qsizetype end = text.size();
    if (end > lineStart)
        --end;
    while (end > lineStart && text.at(end - 1) == QLatin1Char(' '))
        --end;
    text.truncate(end);
    text.append(QLatin1String("\r\n"));
}

// The checked rows as the clipboard receives them, built in place in one
// buffer that grows with the text: a bound taken from the widest line would
// cost every row, checked or not, as much as one long result.
QString clipboardText(const core::RowSource& list)
{
    Untrapped steps;
    // Untrapped, a failing read has already left for the caller's trap.
    const Widths widths = measureColumns(steps, list, false).value();
    const qsizetype rows = list.count();
    QString text;
    for (qsizetype r = 1; r <= rows; ++r) {
        platform::Yield();
        if (!list.checked(r))
            continue;
        const qsizetype lineStart = text.size();
        appendCells(steps, 190, widths, text, [&](int c) { return list.cellView(r, c); });
        endLine(text, lineStart);
    }
    // The clipboard keeps the text for as long as it holds it.
    text.squeeze();
    return text;
}

} // namespace

void CopyListviewToClipboard(const core::RowSource& list)
{
    if (list.count() == 0)
        return;
    const QString text = clipboardText(list);
    ClearClipboard();
    SetClipboardText(text, platform::Clipboard::kPlainText);
}

void ClearClipboard()
{
    retry([] { platform::get<platform::Clipboard>().clear(); });
}

void SetClipboardText(const QString& text, int format)
{
    retry([&] { platform::get<platform::Clipboard>().setText(text, format); });
}

} // namespace output
