#include "platform/widgets/controltable.h"

#include "platform/widgets/twips.h"

#include <QWidget>
#include <algorithm>
#include <cmath>

namespace widgets {

ControlTable::ControlTable(int widthTwips, int heightTwips)
    : size_(twips(widthTwips), twips(heightTwips))
{
}

void ControlTable::add(QWidget* control, QRect t, Stretch stretch)
{
    entries_.push_back(
        {control, {twips(t.left()), twips(t.top()), twips(t.width()), twips(t.height())}, stretch});
}

QSize ControlTable::minimumSize() const
{
    // The shares of the height that lie one above the other add up to 1 at
    // most (the two lists take half each); the least room above a floor decides.
    int shrink = size_.height();
    for (const Entry& e : entries_)
        if (e.stretch.height > 0)
            shrink = std::min(shrink, int((e.pixels.height() - floor_) / e.stretch.height));
    return {size_.width(), size_.height() - std::max(shrink, 0)};
}

void ControlTable::layOut(QSize window) const
{
    const int dx = window.width() - size_.width();
    const int dy = window.height() - size_.height();
    const auto share = [](int extra, double part) { return int(std::lround(extra * part)); };
    for (const Entry& e : entries_) {
        const Stretch& s = e.stretch;
        const int left = e.pixels.left() + share(dx, s.left);
        const int top = e.pixels.top() + share(dy, s.top);
        // Edges rounded on their own, so that neighbours never overlap or part.
        const int right = e.pixels.left() + e.pixels.width() + share(dx, s.left + s.width);
        const int bottom = e.pixels.top() + e.pixels.height() + share(dy, s.top + s.height);
        e.control->setGeometry(left, top, std::max(right - left, 0), std::max(bottom - top, 0));
    }
}

QSize fittedSize(QSize table, QSize minimum, QSize available, QSize frame)
{
    const QSize room = available - frame;
    return table.boundedTo(room).expandedTo(minimum);
}

} // namespace widgets
