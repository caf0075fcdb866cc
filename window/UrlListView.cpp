#include "UrlListView.h"

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
