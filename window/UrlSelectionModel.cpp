#include "UrlSelectionModel.h"

#include <algorithm>
#include <climits>
#include <iterator>
#include <utility>

#include "engine/UrlList.h"

TUrlSelectionModel::TUrlSelectionModel(TUrlList& list, QAbstractItemModel* model, QObject* parent)
    : QItemSelectionModel(model, parent), FList(list)
{
    connect(model, &QAbstractItemModel::rowsAboutToBeRemoved, this, &TUrlSelectionModel::Settle);
    connect(model, &QAbstractItemModel::rowsAboutToBeInserted, this, &TUrlSelectionModel::Settle);
    connect(model, &QAbstractItemModel::layoutAboutToBeChanged, this, &TUrlSelectionModel::Settle);
    connect(model, &QAbstractItemModel::modelAboutToBeReset, this, &TUrlSelectionModel::Settle);
}

void TUrlSelectionModel::select(const QModelIndex& index, QItemSelectionModel::SelectionFlags command)
{
    select(index.isValid() ? QItemSelection(index, index) : QItemSelection(), command);
}

TUrlSelectionModel::TRuns TUrlSelectionModel::RowsOf(const QItemSelection& selection) const
{
    const int count = static_cast<int>(FList.Count());
    TRuns runs;
    for (const QItemSelectionRange& range : selection) {
        if (!range.isValid())
            continue;
        const int first = std::max(range.top(), 0), last = std::min(range.bottom(), count - 1);
        if (first <= last)
            runs.emplace_back(first, last);
    }
    std::sort(runs.begin(), runs.end());
    TRuns merged;
    for (const auto& run : runs) {
        if (!merged.empty() && run.first <= merged.back().second + 1)
            merged.back().second = std::max(merged.back().second, run.second);
        else
            merged.push_back(run);
    }
    return merged;
}

// Each row is written once, with the flag the command leaves it with, so
// that what is reported changed is what a user sees change.
void TUrlSelectionModel::select(const QItemSelection& selection, QItemSelectionModel::SelectionFlags command)
{
    if (command == NoUpdate)
        return;
    auto& items = FList.Items();
    const bool extend = command.testFlag(Current);
    const bool clear = command.testFlag(Clear) || (extend && std::exchange(FAdopted, false));
    FAdopted = false;
    const bool marks = command.testFlag(Select) || command.testFlag(Deselect) || command.testFlag(Toggle);
    const TRuns runs = RowsOf(selection);
    // A command with Current takes the place of the one before it (a Shift
    // range growing or shrinking from its anchor); without, what the one
    // before did stays.
    const std::vector<std::pair<int, bool>> extended =
        extend ? std::move(FExtension) : decltype(FExtension){};
    FExtension.clear();
    auto before = [&](int row) {
        if (clear)
            return false;
        const auto found = std::lower_bound(extended.begin(), extended.end(), std::pair(row, false));
        return found != extended.end() && found->first == row ? found->second
                                                              : items[static_cast<std::size_t>(row)].Selected;
    };
    auto inRuns = [&](int row) {
        const auto after = std::upper_bound(runs.begin(), runs.end(), std::pair(row, INT_MAX));
        return after != runs.begin() && std::prev(after)->second >= row;
    };
    TSelectionChange change;
    auto put = [&](int row, bool on) {
        auto& item = items[static_cast<std::size_t>(row)];
        if (item.Selected != on) {
            item.Selected = on;
            change.Note(row, on);
        }
    };
    for (const auto& [first, last] : runs)
        for (int row = first; row <= last; ++row) {
            const bool was = before(row);
            const bool on = command.testFlag(Select)     ? true
                            : command.testFlag(Deselect) ? false
                            : command.testFlag(Toggle)   ? !was
                                                         : was;
            if (marks)
                FExtension.emplace_back(row, was);
            put(row, on);
        }
    if (clear) {
        auto run = runs.begin();
        for (int row = 0; row < static_cast<int>(items.size()); ++row) {
            if (run != runs.end() && row == run->first) {
                row = run++->second;
                continue;
            }
            put(row, false);
        }
    } else {
        for (const auto& [row, was] : extended)
            if (!inRuns(row))
                put(row, was);
    }
    if (!change.Rows.empty())
        emit FlagsChanged(change);
}

void TUrlSelectionModel::reset()
{
    Settle();
    QItemSelectionModel::reset();
}
