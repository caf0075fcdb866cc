#include "UrlListView.h"

#include <algorithm>
#include <iterator>
#include <utility>

#include <QAccessible>
#include <QContextMenuEvent>
#include <QDrag>
#include <QMimeData>
#include <QMouseEvent>

#include "UrlListAccessible.h"
#include "engine/UrlList.h"
#include "workspace/UrlListModel.h"

namespace {

// Hands each row to the delegate the view was given, with the selected
// state of the row's flag: the view's own painting asks a selection model
// that holds no ranges.
class TFlagPainter : public QAbstractItemDelegate {
public:
    explicit TFlagPainter(TUrlListView* view) : QAbstractItemDelegate(view), FView(view) { }

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QStyleOptionViewItem shown(option);
        shown.state.setFlag(QStyle::State_Selected, FView->Flagged(index));
        Shown()->paint(painter, shown, index);
    }
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        return Shown()->sizeHint(option, index);
    }
    bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override
    {
        return Shown()->helpEvent(event, view, option, index);
    }
    bool editorEvent(QEvent* event, QAbstractItemModel* model, const QStyleOptionViewItem& option,
                     const QModelIndex& index) override
    {
        return Shown()->editorEvent(event, model, option, index);
    }

private:
    QAbstractItemDelegate* Shown() const { return FView->itemDelegate(); }

    TUrlListView* FView;
};

}  // namespace

TUrlListView::TUrlListView(QWidget* parent) : QListView(parent), FPainter(new TFlagPainter(this))
{
    AnnounceUrlListRows();
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
    QItemSelectionModel* made = selectionModel();
    FSelection = new TUrlSelectionModel(list, FModel, this);
    setSelectionModel(FSelection);
    delete made;
    ForgetSelectionOnReset();
    for (std::size_t row = 0; row < FShown.size(); ++row)
        if (list.Selected(row)) {
            FShown[row] = 1;
            ++FShownCount;
        }
    connect(FModel, &QAbstractItemModel::rowsAboutToBeRemoved, this,
            [this](const QModelIndex&, int first, int last) { AnnounceRemoval(first, last); });
    connect(FModel, &QAbstractItemModel::rowsInserted, this,
            [this](const QModelIndex&, int first, int last) { FollowInsertion(first, last); });
    connect(FModel, &QAbstractItemModel::modelReset, this, &TUrlListView::ForgetSelectionOnReset);
    connect(FModel, &QAbstractItemModel::layoutAboutToBeChanged, this,
            [this](const QList<QPersistentModelIndex>&, QAbstractItemModel::LayoutChangeHint hint) {
                if (hint == QAbstractItemModel::VerticalSortHint)
                    ForgetSelectionBeforeReorder();
            });
    connect(FSelection, &TUrlSelectionModel::FlagsChanged, this, &TUrlListView::FlagsChanged);
    connect(FSelection, &QItemSelectionModel::currentChanged, this, &TUrlListView::MirrorFocus);
}

void TUrlListView::FlagsChanged(const TSelectionChange& change)
{
    for (const int row : change.Rows) {
        const auto at = static_cast<std::size_t>(row);
        if (at >= FShown.size())
            continue;
        FShown[at] = static_cast<char>(!FShown[at]);
        FShownCount = FShown[at] ? FShownCount + 1 : FShownCount - 1;
    }
    viewport()->update();
    AnnounceSelection(change.Rows.size(), change.Rows.back(), change.LastOn);
}

// One changed row is named to a screen reader; a change of many rows is
// one event for the list as a whole.
void TUrlListView::AnnounceSelection(std::size_t count, int onlyRow, bool added)
{
    if (count == 0 || !QAccessible::isActive())
        return;
    if (count == 1) {
        QAccessibleEvent event(this, added ? QAccessible::SelectionAdd : QAccessible::SelectionRemove);
        event.setChild(onlyRow);
        QAccessible::updateAccessibility(&event);
    } else {
        QAccessibleEvent event(this, QAccessible::SelectionWithin);
        QAccessible::updateAccessibility(&event);
    }
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
    FShown.resize(static_cast<std::size_t>(count), 0);
    std::size_t now = 0;
    int lastBefore = -1, lastNow = -1;
    bool changed = false;
    for (std::size_t row = 0; row < FShown.size(); ++row) {
        const bool is = FList->Selected(row);
        if (FShown[row])
            lastBefore = static_cast<int>(row);
        if (is) {
            ++now;
            lastNow = static_cast<int>(row);
        }
        changed = changed || FShown[row] != is;
    }
    if (changed) {
        // Told as the selection going and the new one coming.
        FSelection->Adopt();
        // A screen reader that asks while the going is told finds nothing selected.
        const std::size_t before = std::exchange(FShownCount, 0);
        std::fill(FShown.begin(), FShown.end(), 0);
        AnnounceSelection(before, lastBefore, false);
        for (std::size_t row = 0; row < FShown.size(); ++row)
            FShown[row] = FList->Selected(row);
        FShownCount = now;
        AnnounceSelection(now, lastNow, true);
        viewport()->update();
    }
    const int focused = FList->Focused();
    const QModelIndex current = focused >= 0 && focused < count ? FModel->index(focused) : QModelIndex();
    if (current != currentIndex())
        selectionModel()->setCurrentIndex(current, QItemSelectionModel::NoUpdate);
    FShowing = false;
}

// A reorder leaves every item unselected.
void TUrlListView::ForgetSelectionBeforeReorder()
{
    if (FShownCount == 0)
        return;
    const auto last = std::find(FShown.rbegin(), FShown.rend(), 1);
    const int lastRow = static_cast<int>(FShown.rend() - last) - 1;
    std::fill(FShown.begin(), FShown.end(), 0);
    AnnounceSelection(std::exchange(FShownCount, 0), lastRow, false);
}

// The selected rows that go are told as they go.
void TUrlListView::AnnounceRemoval(int first, int last)
{
    const auto from = FShown.begin() + std::min<std::ptrdiff_t>(first, std::ssize(FShown));
    const auto to = FShown.begin() + std::min<std::ptrdiff_t>(last + 1, std::ssize(FShown));
    const auto gone = static_cast<std::size_t>(std::count(from, to, 1));
    const auto lastGone = std::find(std::make_reverse_iterator(to), std::make_reverse_iterator(from), 1);
    const int lastRow = static_cast<int>(lastGone.base() - FShown.begin()) - 1;
    std::fill(from, to, 0);
    FShownCount -= gone;
    AnnounceSelection(gone, lastRow, false);
    FShown.erase(from, to);
}

void TUrlListView::FollowInsertion(int first, int last)
{
    const auto at = FShown.begin() + std::min<std::ptrdiff_t>(first, std::ssize(FShown));
    FShown.insert(at, static_cast<std::size_t>(last - first + 1), 0);
}

// A new list is shown with nothing selected until the flags are told.
void TUrlListView::ForgetSelectionOnReset()
{
    FShown.assign(FModel ? static_cast<std::size_t>(FModel->rowCount()) : 0, 0);
    FShownCount = 0;
}

std::size_t TUrlListView::SelectedCount() const
{
    return FShownCount;
}

void TUrlListView::clearSelection()
{
    if (FSelection)
        FSelection->select(QItemSelection(), QItemSelectionModel::Clear);
}

QAbstractItemDelegate* TUrlListView::itemDelegateForIndex(const QModelIndex&) const
{
    return FPainter;
}

bool TUrlListView::Flagged(const QModelIndex& index) const
{
    return index.isValid() && FList && static_cast<std::size_t>(index.row()) < FList->Count()
           && FList->Selected(static_cast<std::size_t>(index.row()));
}

QModelIndexList TUrlListView::selectedIndexes() const
{
    QModelIndexList rows;
    if (!FList)
        return rows;
    const int count = std::min(static_cast<int>(FList->Count()), FModel->rowCount());
    for (int row = 0; row < count; ++row)
        if (FList->Selected(static_cast<std::size_t>(row)))
            rows.append(FModel->index(row));
    return rows;
}

void TUrlListView::mousePressEvent(QMouseEvent* event)
{
    FPressed = indexAt(event->position().toPoint());
    QListView::mousePressEvent(event);
}

// Qt's extended selection asks the selection model whether the row under
// the mouse is selected; here the flag answers. A press on a selected row
// waits for the release, so that the rows can still be dragged together.
QItemSelectionModel::SelectionFlags TUrlListView::selectionCommand(const QModelIndex& index,
                                                                   const QEvent* event) const
{
    const auto type = event ? event->type() : QEvent::None;
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonRelease)
        return QListView::selectionCommand(index, event);
    const auto* mouse = static_cast<const QMouseEvent*>(event);
    const bool right = mouse->button() & Qt::RightButton;
    const bool shift = mouse->modifiers() & Qt::ShiftModifier;
    const bool control = mouse->modifiers() & Qt::ControlModifier;
    const bool selected = Flagged(index);
    const bool draggable = dragEnabled() && index.isValid() && (index.flags() & Qt::ItemIsDragEnabled);
    if (type == QEvent::MouseButtonPress) {
        if ((shift || control) && right)
            return QItemSelectionModel::NoUpdate;
        if (!shift && !control && selected)
            return QItemSelectionModel::NoUpdate;
        if (!index.isValid())
            return right || shift || control ? QItemSelectionModel::NoUpdate : QItemSelectionModel::Clear;
        if (control && !right && selected && draggable)
            return QItemSelectionModel::NoUpdate;
        return QListView::selectionCommand(index, nullptr);
    }
    if (((index == FPressed && selected) || !index.isValid()) && state() != DragSelectingState && !shift
        && !control && (!right || !index.isValid()))
        return QItemSelectionModel::ClearAndSelect;
    if (index == FPressed && control && !right && draggable)
        return QListView::selectionCommand(index, nullptr);
    return QItemSelectionModel::NoUpdate;
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
