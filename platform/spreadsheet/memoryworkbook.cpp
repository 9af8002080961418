#include "platform/spreadsheet/memoryworkbook.h"

#include "core/failure.h"

#include <algorithm>
#include <type_traits>

namespace platform {
namespace {

// Characters in a text: every code unit that does not end a surrogate pair.
qsizetype characters(QAnyStringView text)
{
    return text.visit([](auto view) -> qsizetype {
        if constexpr (std::is_same_v<decltype(view), QLatin1String>) {
            return view.size();
        } else {
            const QString units = view.toString();
            return std::count_if(units.begin(), units.end(),
                                 [](QChar c) { return !c.isLowSurrogate(); });
        }
    });
}

} // namespace

QString MemorySheet::fitToCell(const QString& text)
{
    if (text.size() <= kMaxTextLength)
        return text;
    qsizetype length = kMaxTextLength;
    // Never keep half of a surrogate pair.
    if (text.at(length - 1).isHighSurrogate())
        --length;
    return text.left(length);
}

void MemorySheet::setCell(int row, int column, const QString& text, CellMember)
{
    if (row < 1 || row > kMaxRows || column < 1 || column > kMaxColumns)
        throw Failure::invalidCall();
    const QString fitted = fitToCell(text);
    while (rows_.count() < row - 1)
        rows_.add(QStringView());
    if (rows_.count() < row && column == 1) {
        rows_.add(fitted); // the usual case: the next row's first cell
        return;
    }
    if (rows_.count() < row)
        rows_.add(QStringView());
    rows_.setCell(row, column - 1, fitted);
}

void MemorySheet::autofitColumns()
{
    widths_.clear();
    for (int r = 1; r <= rowCount(); ++r) {
        const int columns = columnCount(r);
        if (static_cast<size_t>(columns) > widths_.size())
            widths_.resize(static_cast<size_t>(columns));
        for (int c = 1; c <= columns; ++c) {
            const QAnyStringView text = cell(r, c);
            if (text.isEmpty())
                continue;
            // One character of room beside the longest text.
            const double width = std::min<double>(kMaxColumnWidth, characters(text) + 1);
            widths_[size_t(c - 1)] = std::max(widths_[size_t(c - 1)], width);
        }
    }
}

} // namespace platform
