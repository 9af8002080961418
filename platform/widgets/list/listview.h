#pragma once
// A list view in report view: column headers, rows with a text, sub-items and
// a check box. The program reads and writes the rows directly (rows numbered
// from 1); the view catches up within a frame (see ListModel). A table view
// without grid or row header shows it: unlike a tree view it keeps nothing
// per row, so a million rows cost no layout pass each time a batch arrives.

#include "core/rowsource.h"
#include "platform/widgets/list/listmodel.h"
#include "platform/widgets/list/liststore.h"

#include <QTableView>

namespace widgets {

class ListView : public QTableView, public core::RowSource {
    Q_OBJECT
public:
    explicit ListView(QWidget* parent = nullptr);

    // Column headers.
    void addColumn(const QString& text);
    int columnCount() const final { return static_cast<int>(model_.headers().size()); }
    QString columnText(int column) const final; // 1-based
    void setColumnWidthTwips(int column, int twips);
    // The columns share what the list gains or loses in width, so that
    // whole texts show in a larger window.
    void setColumnsFollowWidth(bool on) { followWidth_ = on; }

    // Rows.
    void setCheckboxes(bool on) { model_.setCheckable(on); }
    qsizetype count() const final { return store_.count(); }
    qsizetype addItem(const QString& text);
    qsizetype addItem(const QString& text, const QString& subItem1);
    // The same for texts that the caller does not keep as strings (a line being read).
    qsizetype addItem(QStringView text, QStringView subItem1);
    // addItem for a text in any encoding, kept without a detour through a QString.
    qsizetype addItemView(QAnyStringView text);
    QString text(qsizetype row) const { return store_.text(row); }
    QString subItem(qsizetype row, int k) const { return store_.subItem(row, k); }
    // The row's text written into `into`, which keeps its room: a loop over a
    // long list reads row after row without allocating.
    void readText(qsizetype row, QString& into) const;
    // The same without a copy, valid until the list next changes.
    QAnyStringView textView(qsizetype row) const { return store_.cellView(row, 0); }
    QAnyStringView subItemView(qsizetype row, int k) const { return store_.cellView(row, k); }
    // Column c from 1: the row's text for 1, sub-item c - 1 after.
    QString cell(qsizetype row, int column) const final { return store_.cell(row, column - 1); }
    QAnyStringView cellView(qsizetype row, int column) const final
    {
        return store_.cellView(row, column - 1);
    }
    void setSubItem(qsizetype row, int k, const QString& text);
    bool checked(qsizetype row) const final { return store_.checked(row); }
    void setChecked(qsizetype row, bool on);
    void removeItem(qsizetype row);
    void clearItems();
    // The list is at its limit: adding more fails (see ListStore::full).
    bool full() const { return store_.full(); }
    // The selected row, 0 when none.
    qsizetype selectedIndex() const;
    void selectRow(qsizetype row);
    void ensureVisible(qsizetype row);

    // Shows whatever is still pending now (tests and screenshots).
    void flushView() { model_.flush(); }

signals:
    void DblClick();
    void KeyDown(int keyCode, int shift);
    void MouseMove();
    // The user checked or cleared the row's box.
    void ItemCheck(qsizetype row);

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void spreadOverColumns(int extra);

    ListStore store_;
    ListModel model_;
    bool followWidth_ = false;
    int laidOutWidth_ = 0; // the list's width when the columns were last fitted to it
};

} // namespace widgets
