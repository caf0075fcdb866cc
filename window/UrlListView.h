#pragma once
// The URL list control (UrlListBox): a fast list view over TUrlListModel with
// the list box's extended selection, plus the binding of its selection and
// focused item to the flags kept in TUrlList.
#include <QListView>

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

signals:
    // A double click anywhere on the control, item or not.
    void DoubleClicked();

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    TUrlListModel* FModel;
};
