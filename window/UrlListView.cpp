#include "UrlListView.h"

#include <algorithm>
#include <utility>
#include <vector>

#include <QAccessible>
#include <QContextMenuEvent>
#include <QDrag>
#include <QMimeData>
#include <QScrollBar>

#include "engine/UrlList.h"
#include "workspace/UrlListModel.h"

namespace {

using TRuns = std::vector<std::pair<int, int>>;  // first and last row of each run

// Contiguous selected items as runs, so that a large selection reaches the
// view as a few ranges rather than row by row.
TRuns SelectedRuns(const TUrlList& list)
{
    TRuns runs;
    const auto& items = list.Items();
    const int count = static_cast<int>(items.size());
    for (int row = 0; row < count; ++row) {
        if (!items[static_cast<std::size_t>(row)].Selected)
            continue;
        const int first = row;
        while (row + 1 < count && items[static_cast<std::size_t>(row + 1)].Selected)
            ++row;
        runs.emplace_back(first, row);
    }
    return runs;
}

TRuns RunsOf(const QItemSelection& selection)
{
    TRuns runs;
    runs.reserve(static_cast<std::size_t>(selection.size()));
    for (const QItemSelectionRange& range : selection)
        if (range.isValid())
            runs.emplace_back(range.top(), range.bottom());
    std::sort(runs.begin(), runs.end());
    return runs;
}

}  // namespace

TUrlListView::TUrlListView(QWidget* parent) : QListView(parent)
{
    setUniformItemSizes(true);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    // Items are dragged out to other programs; drops onto the list are the
    // main window's to take, never a move inside the list.
    setDragEnabled(true);
    setAcceptDrops(true);
    viewport()->setAcceptDrops(true);
    setDragDropMode(QAbstractItemView::DragDrop);
    setDefaultDropAction(Qt::CopyAction);
}

void TUrlListView::SetList(TUrlList& list, TUrlListModel& model)
{
    FList = &list;
    FModel = &model;
    setModel(FModel);
    connect(FModel, &QAbstractItemModel::layoutAboutToBeChanged, this,
            [this](const QList<QPersistentModelIndex>&, QAbstractItemModel::LayoutChangeHint hint) {
                if (hint == QAbstractItemModel::VerticalSortHint)
                    DropSelectionBeforeReorder();
            });
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, &TUrlListView::MirrorSelection);
    connect(selectionModel(), &QItemSelectionModel::currentChanged, this, &TUrlListView::MirrorFocus);
}

void TUrlListView::MirrorSelection(const QItemSelection& selected, const QItemSelection& deselected)
{
    if (FShowing)
        return;
    auto& items = FList->Items();
    const int count = static_cast<int>(items.size());
    auto mark = [&](const QItemSelection& ranges, bool on) {
        for (const QItemSelectionRange& range : ranges) {
            const int last = std::min(range.bottom(), count - 1);
            for (int row = std::max(range.top(), 0); row <= last; ++row)
                items[static_cast<std::size_t>(row)].Selected = on;
        }
    };
    mark(deselected, false);
    mark(selected, true);
}

void TUrlListView::MirrorFocus(const QModelIndex& current)
{
    if (!FShowing)
        FList->SetFocused(current.isValid() ? current.row() : -1);
}

void TUrlListView::ShowList()
{
    FShowing = true;
    FModel->Appended();
    const int count = static_cast<int>(FList->Count());
    ShowSelection();
    const int focused = FList->Focused();
    const QModelIndex current = focused >= 0 && focused < count ? FModel->index(focused) : QModelIndex();
    if (current != currentIndex())
        selectionModel()->setCurrentIndex(current, QItemSelectionModel::NoUpdate);
    FShowing = false;
}

void TUrlListView::ShowSelection()
{
    QItemSelectionModel* model = selectionModel();
    const TRuns runs = SelectedRuns(*FList);
    if (runs == RunsOf(model->selection()))
        return;
    // Emptying first and then adding keeps the selection model from
    // comparing two long range lists with each other.
    model->clearSelection();
    QItemSelection selection;
    selection.reserve(static_cast<qsizetype>(runs.size()));
    for (const auto& [first, last] : runs)
        selection.append(QItemSelectionRange(FModel->index(first), FModel->index(last)));
    model->select(selection, QItemSelectionModel::Select);
}

// A reorder leaves every item unselected, and a selection model would
// first turn each selected range into indexes of its own to carry them
// across: the view lets go of its copy of the selection beforehand.
void TUrlListView::DropSelectionBeforeReorder()
{
    if (!selectionModel() || !selectionModel()->hasSelection())
        return;
    const bool showing = std::exchange(FShowing, true);
    selectionModel()->clearSelection();
    FShowing = showing;
}

std::size_t TUrlListView::SelectedCount() const
{
    std::size_t count = 0;
    for (const QItemSelectionRange& range : selectionModel()->selection())
        count += static_cast<std::size_t>(range.height());
    return count;
}

void TUrlListView::selectionChanged(const QItemSelection& selected, const QItemSelection& deselected)
{
    // The list view's own handling walks every selected row twice: once for
    // the region to repaint and once to tell accessibility about the first
    // one. With uniform rows redrawing the visible ones is cheap, and a
    // change of many rows is one event for the list as a whole.
    viewport()->update();
    if (!QAccessible::isActive())
        return;
    const bool single = selected.size() + deselected.size() == 1
                        && (selected.isEmpty() ? deselected : selected).first().height() == 1;
    if (single) {
        const bool added = !selected.isEmpty();
        QAccessibleEvent event(this, added ? QAccessible::SelectionAdd : QAccessible::SelectionRemove);
        event.setChild((added ? selected : deselected).first().top());
        QAccessible::updateAccessibility(&event);
    } else if (!selected.isEmpty() || !deselected.isEmpty()) {
        QAccessibleEvent event(this, QAccessible::SelectionWithin);
        QAccessible::updateAccessibility(&event);
    }
}

void TUrlListView::mouseDoubleClickEvent(QMouseEvent* event)
{
    QListView::mouseDoubleClickEvent(event);
    emit DoubleClicked();
}

void TUrlListView::contextMenuEvent(QContextMenuEvent* event)
{
    // The menu key opens the menu at the focused item, where the user looks.
    QPoint position = event->pos();
    if (event->reason() == QContextMenuEvent::Keyboard) {
        const QRect item = visualRect(currentIndex());
        position = item.isValid() && viewport()->rect().intersects(item) ? item.center() : QPoint(4, 4);
    }
    emit ContextMenuWanted(viewport()->mapToGlobal(position));
    event->accept();
}

void TUrlListView::startDrag(Qt::DropActions)
{
    QMimeData* offered = FModel ? FModel->mimeData(selectedIndexes()) : nullptr;
    if (!offered)
        return;
    auto* drag = new QDrag(this);
    drag->setMimeData(offered);
    // A copy only: the items stay in the list whatever the target does.
    drag->exec(Qt::CopyAction, Qt::CopyAction);
}
