#pragma once
// Controls placed by a table in twips: the window's layout at its first size.
// A window made larger or smaller moves and stretches them: each control
// takes a share of the extra width for its left edge and another for its
// width, and the same for the extra height. A window that is too small for
// the table shrinks what stretches (the lists), down to a floor.

#include <QRect>
#include <QSize>
#include <vector>

class QWidget;

namespace widgets {

// Shares of the extra width and height: 0 stays, 1 takes all of it.
struct Stretch {
    double left = 0, width = 0, top = 0, height = 0;
};

class ControlTable {
public:
    // The table's own size in twips, and how much smaller the window may get
    // (in pixels) before a stretching control reaches its floor.
    ControlTable(int widthTwips, int heightTwips);

    // A control at left, top, width, height in twips (relative to its
    // parent, which moves and stretches by its own entry).
    void add(QWidget* control, QRect twips, Stretch stretch);
    // The smallest height a control that takes a share of the extra height keeps.
    void setFloor(int pixels) { floor_ = pixels; }

    QSize size() const { return size_; }
    // The smallest window: the extra height negative down to the floor.
    QSize minimumSize() const;
    // Places every control for a window of this size.
    void layOut(QSize window) const;

private:
    struct Entry {
        QWidget* control;
        QRect pixels;
        Stretch stretch;
    };
    QSize size_;
    int floor_ = 0;
    std::vector<Entry> entries_;
};

// The window's first size: the table's size where the available area holds
// it, else as much as the area holds (less a frame of `frame`), never less
// than `minimum`.
QSize fittedSize(QSize table, QSize minimum, QSize available, QSize frame);

} // namespace widgets
