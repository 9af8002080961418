#include "app/console/plaintable.h"

#include "core/failure.h"

#include <utility>

namespace platform {

PlainTable::PlainTable(QString header)
    : header_(std::move(header))
{
}

void PlainTable::add(QStringView text)
{
    // Encoded straight into the block: no text of its own per row.
    const qsizetype used = text_.size();
    text_.resize(used + encoder_.requiredSpace(text.size()));
    char* end = encoder_.appendToBuffer(text_.data() + used, text);
    text_.resize(end - text_.constData());
    ends_.push_back(text_.size());
}

QString PlainTable::columnText(int column) const
{
    if (column != 1)
        throw Failure::indexOutOfBounds();
    return header_;
}

void PlainTable::checkRow(qsizetype row) const
{
    if (row < 1 || row > count())
        throw Failure::indexOutOfBounds();
}

QString PlainTable::cell(qsizetype row, int column) const
{
    checkRow(row);
    if (column != 1)
        return {};
    const qsizetype begin = row == 1 ? 0 : ends_[row - 2];
    return QString::fromUtf8(text_.constData() + begin, ends_[row - 1] - begin);
}

bool PlainTable::checked(qsizetype row) const
{
    checkRow(row);
    return true;
}

} // namespace platform
