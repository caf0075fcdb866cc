#pragma once
// The URL list as the list control sees it: items are decoded only when a
// row is drawn, so hundreds of thousands of entries cost nothing up front.
#include <functional>

#include <QAbstractListModel>

class TUrlList;

class TUrlListModel : public QAbstractListModel {
public:
    TUrlListModel(const TUrlList& list, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

    // The items changed wholesale (the workspace rewrites the list freely).
    void Reload();
    // The rows the view knows of; the list may have grown or shrunk since.
    bool CountChanged() const;
    // Items rewritten or reordered in place: only shown rows need redrawing.
    void ItemsChanged();
    // The width the user can scroll across; every row reports it, and with
    // uniform row sizes that is the view's scrollable width.
    void SetHorizontalExtent(int pixels);

    static constexpr int RowHeight = 12;
    // What a row says beyond its text (a tooltip, say), by row and role.
    std::function<QVariant(int row, int role)> RowExtras;

private:
    const TUrlList& FList;
    int FRows = 0;  // the row count as last announced to the view
    int FExtent = 0;
};
