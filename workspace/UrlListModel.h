#pragma once
// The URL list as Qt's views see it. Every change of the list reaches the
// views as the change it is: appended rows, removed runs, a new order (with
// persistent indexes following their items), rewritten rows, or, where one
// operation touches too many separate runs to name, a reset. Items are
// decoded only when a row is drawn, so a million entries cost nothing up
// front.
#include <cstddef>
#include <vector>

#include <QAbstractListModel>

#include "ListWatcher.h"

class TUrlList;

// What other parts of the program say about single items (a mark, a tip),
// asked for the roles the model itself does not answer.
class TItemAnnotations {
public:
    virtual ~TItemAnnotations() = default;
    virtual QVariant Data(std::size_t row, int role) const = 0;
};

class TUrlListModel : public QAbstractListModel, public TListWatcher {
    Q_OBJECT
public:
    // The item's selected flag, for a delegate that paints the selection.
    static constexpr int SelectedRole = Qt::UserRole + 1;
    static constexpr int RowHeight = 12;

    explicit TUrlListModel(TUrlList& list, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    // Items dragged out to other programs: plain text with CR LF between
    // them, and a URI list of those that are web addresses, in list order.
    QStringList mimeTypes() const override;
    QMimeData* mimeData(const QModelIndexList& indexes) const override;

    // The width the user can scroll across; every row reports it, and with
    // uniform row sizes that is the view's scrollable width.
    void SetHorizontalExtent(int pixels);
    void SetAnnotations(const TItemAnnotations* annotations);
    // The annotations of rows [first, last] changed.
    void AnnotationsChanged(int first, int last);

    // Empties the list.
    void Clear();
    // Tells the views of items appended since they last heard.
    void Appended() override;

    void BeginRemove(std::size_t first, std::size_t last) override;
    void EndRemove() override;
    void BeginInsert(std::size_t first, std::size_t last) override;
    void EndInsert() override;
    void BeginReorder() override;
    void EndReorder(const std::vector<std::uint32_t>& order, bool inverse) override;
    void BeginRewrite() override;
    void Rewritten(std::size_t row) override;
    void EndRewrite() override;
    void BeginReset() override;
    void EndReset() override;
    void SelectionChanged() override;

signals:
    // The selected flags or the focused row of the list changed.
    void SelectionAnnounced();

private:
    TUrlList& FList;
    int FRows = 0;  // the row count as last announced
    int FExtent = 0;
    const TItemAnnotations* FAnnotations = nullptr;
    std::vector<std::pair<int, int>> FRewritten;  // runs of rewritten rows
};
