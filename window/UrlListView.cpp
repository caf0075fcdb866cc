#include "UrlListView.h"

#include <QContextMenuEvent>
#include <QDrag>
#include <QKeyEvent>
#include <QMimeData>
#include <QScrollBar>

#include "UrlList.h"
#include "UrlListModel.h"

TUrlListView::TUrlListView(const TUrlList& list, QWidget* parent)
    : QListView(parent), FModel(new TUrlListModel(list, this))
{
    setModel(FModel);
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

void TUrlListView::StoreSelection(TUrlList& list) const
{
    auto& items = list.Items();
    for (auto& item : items)
        item.Selected = false;
    const int count = static_cast<int>(items.size());
    for (const QItemSelectionRange& range : selectionModel()->selection()) {
        const int last = std::min(range.bottom(), count - 1);
        for (int row = std::max(range.top(), 0); row <= last; ++row)
            items[static_cast<std::size_t>(row)].Selected = true;
    }
    const QModelIndex current = currentIndex();
    list.SetFocused(current.isValid() && current.row() < count ? current.row() : -1);
}

void TUrlListView::LoadFromList(const TUrlList& list)
{
    const int vertical = verticalScrollBar()->value();
    const int horizontal = horizontalScrollBar()->value();
    FModel->Reload();
    // Lay the rows out now so the scroll ranges exist before the old
    // positions are put back.
    executeDelayedItemsLayout();

    // Contiguous runs of selected items become one range each, so a large
    // selection is restored in one call.
    QItemSelection selection;
    const auto& items = list.Items();
    const int count = static_cast<int>(items.size());
    for (int row = 0; row < count;) {
        if (!items[static_cast<std::size_t>(row)].Selected) {
            ++row;
            continue;
        }
        int last = row;
        while (last + 1 < count && items[static_cast<std::size_t>(last + 1)].Selected)
            ++last;
        selection.append(QItemSelectionRange(FModel->index(row), FModel->index(last)));
        row = last + 1;
    }
    const int focused = list.Focused();
    if (focused >= 0 && focused < count)
        selectionModel()->setCurrentIndex(FModel->index(focused), QItemSelectionModel::NoUpdate);
    selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);

    verticalScrollBar()->setValue(vertical);
    horizontalScrollBar()->setValue(horizontal);
}

std::size_t TUrlListView::SelectedCount() const
{
    std::size_t count = 0;
    for (const QItemSelectionRange& range : selectionModel()->selection())
        count += static_cast<std::size_t>(range.height());
    return count;
}

void TUrlListView::mouseDoubleClickEvent(QMouseEvent* event)
{
    QListView::mouseDoubleClickEvent(event);
    emit DoubleClicked();
}

void TUrlListView::keyPressEvent(QKeyEvent* event)
{
    // The view's built-in copy would write the clipboard behind the
    // clipboard monitor's back; every key here goes to a handler instead.
    // The keypad's Delete and letters typed with the keypad flag count too.
    const QKeyCombination key(event->modifiers() & ~Qt::KeypadModifier, Qt::Key(event->key()));
    if (event->matches(QKeySequence::Copy))
        emit CopyPressed();
    else if (key == QKeyCombination(Qt::Key_Delete))
        emit DeletePressed();
    else if (key == QKeyCombination(Qt::ControlModifier, Qt::Key_Z))
        emit UndoPressed();
    else if (key == QKeyCombination(Qt::ControlModifier | Qt::ShiftModifier, Qt::Key_Z)
             || key == QKeyCombination(Qt::ControlModifier, Qt::Key_Y))
        emit RedoPressed();
    else {
        QListView::keyPressEvent(event);
        return;
    }
    event->accept();
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
    QMimeData* offered = DragData ? DragData() : nullptr;
    if (!offered)
        return;
    auto* drag = new QDrag(this);
    drag->setMimeData(offered);
    // A copy only: the items stay in the list whatever the target does.
    drag->exec(Qt::CopyAction, Qt::CopyAction);
}
