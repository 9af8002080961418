#pragma once
// Column-aligned lines from a list view: the width of every column, and lines
// in which each cell is padded with spaces to its column's width and followed
// by a TAB. The text file and the clipboard copy lay out their lines this way.
//
// The steps run through a Steps object with step(label, body) and
// test(label, condition): the text writer passes its trap, so a failing read
// is reported and the loop goes on; the clipboard copy passes Untrapped, so a
// failure leaves at once for its caller's trap. The labels are the writer's.
// A read that fails because its row is gone (the list was emptied while the
// work yielded) is reported once and ends the reading: nothing is left to lay
// out, and every further row would only fail the same way.

#include "core/rowsource.h"
#include "platform/desktop/yield.h"

#include <QString>
#include <QStringView>
#include <algorithm>
#include <optional>
#include <type_traits>
#include <vector>

namespace output {

// Runs every step directly; a failure flies to the caller.
struct Untrapped {
    template <typename F> bool step(int, F&& body)
    {
        body();
        return true;
    }
    template <typename F> bool test(int, F&& condition) { return condition(); }
};

using Widths = std::vector<qsizetype>;

// Appends a text that is UTF-16, Latin-1 or UTF-8.
inline void appendText(QString& line, QAnyStringView text)
{
    text.visit([&](auto view) {
        if constexpr (std::is_same_v<decltype(view), QUtf8StringView>)
            line.append(QString::fromUtf8(view.data(), view.size()));
        else
            line.append(view);
    });
}

// Appends the text, spaces up to the width and a TAB. A text longer than its
// width (the list changed meanwhile) is followed directly by its TAB.
inline void appendPadded(QString& line, QAnyStringView text, qsizetype width)
{
    const qsizetype start = line.size();
    appendText(line, text);
    const qsizetype length = line.size() - start;
    if (width > length)
        line.resize(line.size() + width - length, QLatin1Char(' '));
    line.append(QLatin1Char('\t'));
}

// A text's length in UTF-16 code units, the unit of the column widths.
inline qsizetype utf16Length(QAnyStringView text)
{
    return text.visit([](auto view) -> qsizetype {
        if constexpr (std::is_same_v<decltype(view), QUtf8StringView>)
            return QString::fromUtf8(view.data(), view.size()).size();
        else
            return view.size();
    });
}

// Row r is no longer in the list.
inline bool rowGone(const core::RowSource& list, qsizetype r) { return r > list.count(); }

// The greatest length, in UTF-16 code units, of each column's texts in all
// rows, checked or not, and of its header when countHeaders is set. Nothing
// when a row went away while this yielded.
template <typename Steps>
std::optional<Widths> measureColumns(Steps& steps, const core::RowSource& list,
                                     bool countHeaders)
{
    Widths widths;
    int columns = 0;
    steps.step(112, [&] { columns = list.columnCount(); });
    for (int c = 1; c <= columns; ++c) {
        qsizetype width = 0;
        if (countHeaders)
            steps.step(116, [&] { width = list.columnText(c).size(); });
        qsizetype rows = 0;
        steps.step(120, [&] { rows = list.count(); });
        for (qsizetype r = 1; r <= rows; ++r) {
            steps.step(122, [] { platform::Yield(); });
            if (!steps.step(124, [&] { width = std::max(width, utf16Length(list.cellView(r, c))); }) &&
                rowGone(list, r))
                return std::nullopt;
        }
        steps.step(136, [&] { widths.push_back(width); });
    }
    return widths;
}

// Appends textOf(c) for every column c, padded to widths[c - 1]; firstLabel
// is the label of the loop, the yield and the append follow it. False, after
// the report of the failing append, when gone() says the line's row went away
// while this yielded; the other cells are then left out.
template <typename Steps, typename TextOf, typename Gone>
bool appendCells(Steps& steps, int firstLabel, const Widths& widths, QString& line, TextOf&& textOf,
                 Gone&& gone)
{
    const int columns = static_cast<int>(widths.size());
    for (int c = 1; c <= columns; ++c) {
        steps.step(firstLabel + 2, [] { platform::Yield(); });
        if (!steps.step(firstLabel + 4, [&] { appendPadded(line, textOf(c), widths[c - 1]); }) &&
            gone())
            return false;
    }
    return true;
}

// The header line, or a line whose failures leave nothing to stop for.
template <typename Steps, typename TextOf>
void appendCells(Steps& steps, int firstLabel, const Widths& widths, QString& line, TextOf&& textOf)
{
    appendCells(steps, firstLabel, widths, line, textOf, [] { return false; });
}

} // namespace output
