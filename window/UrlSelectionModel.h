#pragma once
// The list view's selection model over the list's selected flags: every
// selection the view makes (a click, Ctrl and Shift with the mouse or the
// keys, select-all) is written into the flags at once, and the model itself
// holds no ranges. A screen reader or a repaint then asks the flags, which
// cost the same however scattered the selection is.
#include <utility>
#include <vector>

#include <QItemSelectionModel>

class TUrlList;

// The rows whose flag one selection command flipped, in the order written.
struct TSelectionChange {
    std::vector<int> Rows;
    bool LastOn = false;

    void Note(int row, bool on)
    {
        Rows.push_back(row);
        LastOn = on;
    }
};

class TUrlSelectionModel : public QItemSelectionModel {
    Q_OBJECT
public:
    TUrlSelectionModel(TUrlList& list, QAbstractItemModel* model, QObject* parent);

    void select(const QModelIndex& index, QItemSelectionModel::SelectionFlags command) override;
    void select(const QItemSelection& selection, QItemSelectionModel::SelectionFlags command) override;
    void reset() override;

    // The range being extended with Shift no longer stands where it was:
    // the rows moved or went away, or the list was changed behind it.
    void Settle()
    {
        FExtension.clear();
        FAdopted = false;
    }
    // The flags as the workspace left them count as one command that
    // selected them: a Shift range that follows takes their place, as it
    // does after a click.
    void Adopt()
    {
        FExtension.clear();
        FAdopted = true;
    }

signals:
    void FlagsChanged(const TSelectionChange& change);

private:
    using TRuns = std::vector<std::pair<int, int>>;
    TRuns RowsOf(const QItemSelection& selection) const;

    TUrlList& FList;
    // Rows the last command marked, each with the flag it had before, so
    // that a Shift range replacing it gives the rest back.
    std::vector<std::pair<int, bool>> FExtension;
    // The last command was the workspace's, and every flagged row is what
    // it selected: a Shift range replacing it clears the rest.
    bool FAdopted = false;
};
