#pragma once
// The URL list control (UrlListBox): a fast list view over TUrlListModel with
// the list box's extended selection, plus the binding of its selection and
// focused item to the flags kept in TUrlList.
#include <functional>

#include <QListView>

class QMimeData;
class TUrlList;
class TUrlListModel;

class TUrlListView : public QListView {
    Q_OBJECT
public:
    TUrlListView(const TUrlList& list, QWidget* parent = nullptr);

    TUrlListModel* Model() const { return FModel; }

    // The view's selection and focused item into the list's flags.
    void StoreSelection(TUrlList& list) const;
    // The list's (possibly rewritten) items, flags and focus into the view.
    void LoadFromList(const TUrlList& list);
    std::size_t SelectedCount() const;

    // What a drag out of the list carries (nullptr: nothing to drag).
    std::function<QMimeData*()> DragData;

signals:
    // A double click anywhere on the control, item or not.
    void DoubleClicked();
    // The list's own keys; each runs what its button or menu entry runs.
    void DeletePressed();
    void CopyPressed();
    void UndoPressed();
    void RedoPressed();
    // The right button or the menu key, at a point of the viewport.
    void ContextMenuWanted(const QPoint& globalPosition);

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void startDrag(Qt::DropActions supportedActions) override;

private:
    TUrlListModel* FModel;
};
