#include "platform/widgets/list/listview.h"

#include "core/failure.h"
#include "platform/widgets/twips.h"

#include "platform/widgets/accessibility.h"
#include "platform/widgets/list/headerview.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <type_traits>

namespace widgets {
namespace {

// Key codes as the list's key event reports them: the desktop's virtual key
// numbers. Only letters and digits share their number with their character;
// punctuation does not (".", character 46, must never read as Delete).
int keyCodeOf(const QKeyEvent* event)
{
    const int key = event->key();
    if ((key >= Qt::Key_0 && key <= Qt::Key_9) || (key >= Qt::Key_A && key <= Qt::Key_Z))
        return key;
    switch (key) {
    case Qt::Key_Delete:
        return 46;
    case Qt::Key_Insert:
        return 45;
    case Qt::Key_Backspace:
        return 8;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return 13;
    case Qt::Key_Escape:
        return 27;
    case Qt::Key_Space:
        return 32;
    default:
        return 0;
    }
}

int shiftStateOf(const QKeyEvent* event)
{
    const auto m = event->modifiers();
    return (m & Qt::ShiftModifier ? 1 : 0) | (m & Qt::ControlModifier ? 2 : 0) |
           (m & Qt::AltModifier ? 4 : 0);
}

} // namespace

ListView::ListView(QWidget* parent)
    : QTableView(parent)
    , model_(store_)
{
    setHorizontalHeader(new HeaderView(Qt::Horizontal, this));
    setModel(&model_);
    setShowGrid(false);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    setSortingEnabled(false);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setTabKeyNavigation(false); // Tab moves on to the next control, as everywhere else
    setMouseTracking(true);
    horizontalHeader()->setStretchLastSection(false);
    horizontalHeader()->setSectionsClickable(false);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    connect(&model_, &ListModel::scrollRequested, this, [this](const QModelIndex& index) {
        // The rows of this batch must be laid out first, or the scroll range
        // still ends at the previous batch.
        executeDelayedItemsLayout();
        scrollTo(index);
    });
    connect(&model_, &ListModel::checkToggled, this, [this](const QModelIndex& index) {
        announceCheck(this, index);
        emit ItemCheck(index.row() + 1);
    });
}

void ListView::addColumn(const QString& text) { model_.addHeader(text); }

QString ListView::columnText(int column) const { return model_.headers().value(column - 1); }

void ListView::setColumnWidthTwips(int column, int value)
{
    horizontalHeader()->resizeSection(column - 1, twips(value));
    laidOutWidth_ = width();
}

qsizetype ListView::addItem(const QString& text)
{
    const qsizetype row = store_.add(text);
    model_.rowsAppended();
    return row;
}

qsizetype ListView::addItem(const QString& text, const QString& subItem1)
{
    return addItem(QStringView(text), QStringView(subItem1));
}

qsizetype ListView::addItem(QStringView text, QStringView subItem1)
{
    const qsizetype row = store_.add({text, subItem1});
    model_.rowsAppended();
    return row;
}

qsizetype ListView::addItemView(QAnyStringView text)
{
    const qsizetype row = text.visit([&](auto view) {
        if constexpr (std::is_same_v<decltype(view), QLatin1String>)
            return store_.addLatin1(view);
        else if constexpr (std::is_same_v<decltype(view), QStringView>)
            return store_.add(view);
        else
            return store_.add(QString::fromUtf8(view.data(), view.size()));
    });
    model_.rowsAppended();
    return row;
}

void ListView::readText(qsizetype row, QString& into) const
{
    const QAnyStringView text = store_.cellView(row, 0);
    into.resize(text.size()); // keeps its room
    char16_t* out = reinterpret_cast<char16_t*>(into.data());
    text.visit([&](auto view) {
        if constexpr (std::is_same_v<decltype(view), QLatin1String>) {
            for (const char c : view)
                *out++ = static_cast<unsigned char>(c);
        } else if constexpr (std::is_same_v<decltype(view), QStringView>) {
            std::copy(view.utf16(), view.utf16() + view.size(), out);
        } else {
            into = QString::fromUtf8(view.data(), view.size()); // the store holds none
        }
    });
}

void ListView::setSubItem(qsizetype row, int k, const QString& text)
{
    store_.setCell(row, k, text);
    model_.rowChanged(row);
}

void ListView::setChecked(qsizetype row, bool on)
{
    store_.setChecked(row, on);
    model_.rowChanged(row);
}

void ListView::removeItem(qsizetype row)
{
    if (row < 1 || row > store_.count()) {
        store_.remove(row); // fails with "Index out of bounds"
        return;
    }
    model_.aboutToRemove(row);
    store_.remove(row);
    model_.removed(row);
}

void ListView::clearItems()
{
    model_.aboutToClear();
    store_.clear();
    model_.cleared();
}

qsizetype ListView::selectedIndex() const
{
    const QModelIndexList rows = selectionModel()->selectedRows();
    return rows.isEmpty() ? 0 : rows.first().row() + 1;
}

void ListView::selectRow(qsizetype row)
{
    model_.flush();
    setCurrentIndex(model_.index(static_cast<int>(row - 1), 0));
}

void ListView::ensureVisible(qsizetype row)
{
    if (row < 1 || row > store_.count())
        throw core::Failure::indexOutOfBounds();
    model_.requestScrollTo(row);
}

void ListView::mouseDoubleClickEvent(QMouseEvent* event)
{
    QTableView::mouseDoubleClickEvent(event);
    emit DblClick();
}

void ListView::keyPressEvent(QKeyEvent* event)
{
    emit KeyDown(keyCodeOf(event), shiftStateOf(event));
    QTableView::keyPressEvent(event);
}

void ListView::mouseMoveEvent(QMouseEvent* event)
{
    emit MouseMove();
    QTableView::mouseMoveEvent(event);
}

void ListView::resizeEvent(QResizeEvent* event)
{
    QTableView::resizeEvent(event);
    // A hidden list hears of its size only when shown: compared with the
    // width the columns were last fitted to, not with the event's old size.
    if (followWidth_ && laidOutWidth_ > 0 && width() != laidOutWidth_)
        spreadOverColumns(width() - laidOutWidth_);
    laidOutWidth_ = width();
}

// Each column takes an equal part, the last one what rounding leaves; a
// column the user narrowed keeps at least the header's smallest section.
void ListView::spreadOverColumns(int extra)
{
    QHeaderView* header = horizontalHeader();
    const int columns = header->count();
    for (int c = 0; c < columns; ++c) {
        const int part = c + 1 < columns ? extra / columns : extra - (columns - 1) * (extra / columns);
        header->resizeSection(c, std::max(header->sectionSize(c) + part, header->minimumSectionSize()));
    }
}

} // namespace widgets
