#pragma once
// What a screen reader is told about widgets Qt knows nothing special about:
// a plain top-level widget is a frame named by its title, the progress bar
// a progress bar with its position (0 to 100) and its text, the status
// line a status bar. Installed once, before the first window is shown.

class QAbstractItemView;
class QModelIndex;

namespace widgets {

void installAccessibility();

// Tells screen readers that the check box of a row changed (a click, Space).
void announceCheck(QAbstractItemView* view, const QModelIndex& index);

} // namespace widgets
