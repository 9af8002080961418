#include "platform/spreadsheet/memoryworkbook.h"

#include "core/failure.h"

#include <algorithm>

namespace platform {
namespace {

// Characters in UTF-8 text: every byte that does not continue a sequence.
qsizetype characters(const QByteArray& utf8)
{
    return std::count_if(utf8.cbegin(), utf8.cend(), [](char byte) {
        return (static_cast<unsigned char>(byte) & 0xC0) != 0x80;
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
    if (static_cast<size_t>(row) > rows_.size())
        rows_.resize(static_cast<size_t>(row));
    std::vector<QByteArray>& cells = rows_[static_cast<size_t>(row - 1)];
    if (static_cast<size_t>(column) > cells.size())
        cells.resize(static_cast<size_t>(column));
    cells[static_cast<size_t>(column - 1)] = fitToCell(text).toUtf8();
}

void MemorySheet::autofitColumns()
{
    widths_.clear();
    for (const std::vector<QByteArray>& cells : rows_) {
        if (cells.size() > widths_.size())
            widths_.resize(cells.size());
        for (size_t c = 0; c < cells.size(); ++c) {
            if (cells[c].isEmpty())
                continue;
            // One character of room beside the longest text.
            const double width = std::min<double>(kMaxColumnWidth, characters(cells[c]) + 1);
            widths_[c] = std::max(widths_[c], width);
        }
    }
}

} // namespace platform
