#pragma once
// The URL list control (UrlListBox): a fast list view over TUrlListModel with
// the list box's extended selection. The list's Selected flags and focused
// index are the one truth about the selection: the view's selection model
// writes what the user selects into the flags, the rows are painted and
// reported to screen readers from the flags, and after the workspace
// changed them the view only announces the change.
#include <vector>

#include <QListView>

#include "UrlSelectionModel.h"

class TUrlList;
class TUrlListModel;

class TUrlListView : public QListView {
    Q_OBJECT
public:
    explicit TUrlListView(QWidget* parent = nullptr);

    // The list shown and its model; set once, before anything else.
    void SetList(TUrlList& list, TUrlListModel& model);

    TUrlListModel* Model() const { return FModel; }

    // The model told the view of every change of the items; the view now
    // shows the list's flags and focus as they are.
    void ShowList();
    // The rows the view last showed and announced as selected (for checking
    // the view against the list).
    std::size_t SelectedCount() const;
    // Whether the row was last shown and announced selected: the row's flag,
    // except while a change is being told.
    bool ShownSelected(std::size_t row) const { return row < FShown.size() && FShown[row]; }
    // The row's selected flag in the list.
    bool Flagged(const QModelIndex& index) const;

    QAbstractItemDelegate* itemDelegateForIndex(const QModelIndex& index) const override;

public slots:
    // Qt's own would see a selection model without ranges and do nothing.
    void clearSelection();

signals:
    // A double click anywhere on the control, item or not.
    void DoubleClicked();
    // The right button or the menu key, at a point of the viewport.
    void ContextMenuWanted(const QPoint& globalPosition);

protected:
    QModelIndexList selectedIndexes() const override;
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index,
                                                         const QEvent* event = nullptr) const override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void startDrag(Qt::DropActions supportedActions) override;

private:
    void FlagsChanged(const TSelectionChange& change);
    void MirrorFocus(const QModelIndex& current);
    void AnnounceSelection(std::size_t count, int onlyRow, bool added);
    void AnnounceRemoval(int first, int last);
    void FollowInsertion(int first, int last);
    void ForgetSelectionBeforeReorder();
    void ForgetSelectionOnReset();

    TUrlList* FList = nullptr;
    TUrlListModel* FModel = nullptr;
    TUrlSelectionModel* FSelection = nullptr;
    QAbstractItemDelegate* FPainter = nullptr;  // paints each row with its flag
    // The selection as last announced, row by row, following the rows as
    // they are inserted and removed: what a change is told against.
    std::vector<char> FShown;
    std::size_t FShownCount = 0;
    QPersistentModelIndex FPressed;  // the row under the last press
    bool FShowing = false;           // the view is being brought in line with the list
};
