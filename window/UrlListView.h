#pragma once
// The URL list control (UrlListBox): a fast list view over TUrlListModel with
// the list box's extended selection. The list's Selected flags and focused
// index are the one truth about the selection: what the user selects in the
// view is written into them as it happens, and after the workspace changed
// them the view is brought in line in one step.
#include <QListView>

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
    // The rows selected in the view (for checking the view against the list).
    std::size_t SelectedCount() const;

signals:
    // A double click anywhere on the control, item or not.
    void DoubleClicked();
    // The right button or the menu key, at a point of the viewport.
    void ContextMenuWanted(const QPoint& globalPosition);

protected:
    void selectionChanged(const QItemSelection& selected, const QItemSelection& deselected) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void startDrag(Qt::DropActions supportedActions) override;

private:
    void MirrorSelection(const QItemSelection& selected, const QItemSelection& deselected);
    void MirrorFocus(const QModelIndex& current);
    void ShowSelection();
    void DropSelectionBeforeReorder();

    TUrlList* FList = nullptr;
    TUrlListModel* FModel = nullptr;
    bool FShowing = false;  // the view is being brought in line with the list
};
