#pragma once
// Shows a ListStore in a view. Appended rows and changed cells are announced
// in batches (at most every 30 ms) and a scroll request is kept until then,
// so appending a million rows does not lay the view out a million times.
// Removals are announced at once: the view never sees a row that is gone.

#include "platform/widgets/list/liststore.h"

#include <QAbstractTableModel>
#include <QStringList>
#include <QTimer>

namespace widgets {

class ListModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit ListModel(ListStore& store, QObject* parent = nullptr);

    void setCheckable(bool on) { checkable_ = on; }
    void addHeader(const QString& text);
    const QStringList& headers() const { return headers_; }

    // Called by the list view after it changed the store.
    // Rows that wait already have their batch on the way: a long load appends
    // a million rows without asking the timer each time.
    void rowsAppended()
    {
        if (store_.count() - 1 <= announced_)
            schedule();
    }
    void rowChanged(qsizetype row);
    void aboutToRemove(qsizetype row);
    void removed(qsizetype row);
    void aboutToClear();
    void cleared();
    void requestScrollTo(qsizetype row);

    // Announces whatever is pending now.
    void flush();

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

signals:
    void scrollRequested(const QModelIndex& index);
    // The user checked or cleared a row's box (a click, Space).
    void checkToggled(const QModelIndex& index);

private:
    void schedule();

    ListStore& store_;
    QStringList headers_;
    bool checkable_ = false;
    qsizetype announced_ = 0;
    qsizetype changedFirst_ = -1, changedLast_ = -1; // 0-based, announced rows only
    qsizetype scrollTo_ = 0;                         // 1-based, 0 for none
    QTimer batch_;
};

} // namespace widgets
