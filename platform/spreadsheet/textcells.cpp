#include "platform/spreadsheet/textcells.h"

#include "core/failure.h"

#include <algorithm>
#include <type_traits>

namespace spreadsheet::textcells {
namespace {

// Characters in a text: every code unit that does not end a surrogate pair.
qsizetype characters(QAnyStringView text)
{
    return text.visit([](auto view) -> qsizetype {
        if constexpr (std::is_same_v<decltype(view), QLatin1String>) {
            return view.size();
        } else if constexpr (std::is_same_v<decltype(view), QStringView>) {
            return std::count_if(view.begin(), view.end(),
                                 [](QChar c) { return !c.isLowSurrogate(); });
        } else {
            return characters(QString(view.toString()));
        }
    });
}

} // namespace

void checkPlace(int row, int column)
{
    if (row < 1 || row > kMaxRows || column < 1 || column > kMaxColumns)
        throw core::Failure::invalidCall();
}

QString fitToCell(const QString& text)
{
    if (text.size() <= kMaxTextLength)
        return text;
    qsizetype length = kMaxTextLength;
    // Never keep half of a surrogate pair.
    if (text.at(length - 1).isHighSurrogate())
        --length;
    return text.left(length);
}

void widen(std::vector<double>& widths, int column, QAnyStringView text)
{
    if (static_cast<size_t>(column) > widths.size())
        widths.resize(static_cast<size_t>(column));
    double& width = widths[size_t(column - 1)];
    // A text has no more characters than code units: most texts of a long
    // column need no counting.
    if (text.isEmpty() || double(text.size()) + 1 <= width)
        return;
    width = std::max(width, std::min<double>(kMaxColumnWidth, characters(text) + 1));
}

} // namespace spreadsheet::textcells
