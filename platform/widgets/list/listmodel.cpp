#include "platform/widgets/list/listmodel.h"

#include <algorithm>

namespace widgets {

ListModel::ListModel(ListStore& store, QObject* parent)
    : QAbstractTableModel(parent)
    , store_(store)
{
    batch_.setSingleShot(true);
    batch_.setInterval(30);
    connect(&batch_, &QTimer::timeout, this, &ListModel::flush);
}

void ListModel::addHeader(const QString& text)
{
    const int at = static_cast<int>(headers_.size());
    beginInsertColumns({}, at, at);
    headers_ << text;
    endInsertColumns();
}

void ListModel::schedule()
{
    if (!batch_.isActive())
        batch_.start();
}

void ListModel::rowChanged(qsizetype row)
{
    const qsizetype r = row - 1;
    if (r >= announced_)
        return; // shown with the next batch anyway
    changedFirst_ = changedFirst_ < 0 ? r : std::min(changedFirst_, r);
    changedLast_ = std::max(changedLast_, r);
    schedule();
}

void ListModel::aboutToRemove(qsizetype row)
{
    const int r = static_cast<int>(row - 1);
    if (r < announced_)
        beginRemoveRows({}, r, r);
}

void ListModel::removed(qsizetype row)
{
    const qsizetype r = row - 1;
    if (scrollTo_ > store_.count())
        scrollTo_ = store_.count();
    if (r >= announced_)
        return;
    --announced_;
    if (changedLast_ >= announced_)
        changedLast_ = announced_ - 1;
    if (changedFirst_ > changedLast_)
        changedFirst_ = changedLast_ = -1;
    endRemoveRows();
}

void ListModel::aboutToClear() { beginResetModel(); }

void ListModel::cleared()
{
    announced_ = 0;
    changedFirst_ = changedLast_ = -1;
    scrollTo_ = 0;
    endResetModel();
}

void ListModel::requestScrollTo(qsizetype row)
{
    scrollTo_ = row;
    schedule();
}

void ListModel::flush()
{
    batch_.stop();
    const qsizetype total = store_.count();
    if (total > announced_) {
        beginInsertRows({}, static_cast<int>(announced_), static_cast<int>(total - 1));
        announced_ = total;
        endInsertRows();
    }
    if (changedFirst_ >= 0) {
        emit dataChanged(index(static_cast<int>(changedFirst_), 0),
                         index(static_cast<int>(changedLast_), columnCount() - 1));
        changedFirst_ = changedLast_ = -1;
    }
    if (scrollTo_ > 0) {
        emit scrollRequested(index(static_cast<int>(scrollTo_ - 1), 0));
        scrollTo_ = 0;
    }
}

int ListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(announced_);
}

int ListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(headers_.size());
}

QVariant ListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= store_.count())
        return {};
    const qsizetype row = index.row() + 1;
    if (role == Qt::DisplayRole)
        return store_.cell(row, index.column());
    if (role == Qt::CheckStateRole && checkable_ && index.column() == 0)
        return store_.checked(row) ? Qt::Checked : Qt::Unchecked;
    return {};
}

bool ListModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (role != Qt::CheckStateRole || !checkable_ || index.column() != 0 ||
        index.row() >= store_.count())
        return false;
    store_.setChecked(index.row() + 1, value.value<Qt::CheckState>() == Qt::Checked);
    emit dataChanged(index, index, {Qt::CheckStateRole});
    emit checkToggled(index);
    return true;
}

QVariant ListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section < headers_.size())
        return headers_[section];
    return {};
}

Qt::ItemFlags ListModel::flags(const QModelIndex& index) const
{
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (checkable_ && index.column() == 0)
        f |= Qt::ItemIsUserCheckable;
    return f;
}

} // namespace widgets
