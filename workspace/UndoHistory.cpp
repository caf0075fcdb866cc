#include "UndoHistory.h"

#include <iterator>
#include <limits>
#include <numeric>
#include <optional>

#include "FreedMemory.h"
#include "engine/Engine.h"

namespace {

using TItems = std::vector<TUrlList::TItem>;

template <class... T> struct TOverloaded : T... {
    using T::operator()...;
};
template <class... T> TOverloaded(T...) -> TOverloaded<T...>;

// Moves the items at the ascending indices into `out`, closing the gaps in
// one pass.
void MoveOut(TItems& items, const std::vector<std::size_t>& indices, TItems& out)
{
    out.reserve(indices.size());
    std::size_t next = 0;
    std::size_t write = indices.front();
    for (std::size_t read = write; read < items.size(); ++read) {
        if (next < indices.size() && indices[next] == read) {
            out.push_back(std::move(items[read]));
            ++next;
        } else {
            items[write++] = std::move(items[read]);
        }
    }
    items.erase(items.begin() + static_cast<std::ptrdiff_t>(write), items.end());
}

// The inverse of MoveOut: the items go back to their indices, from the end,
// so each item of the list moves at most once.
void PutBack(TItems& items, const std::vector<std::size_t>& indices, TItems& in)
{
    std::size_t read = items.size();
    std::size_t pending = in.size();
    items.resize(items.size() + in.size());
    for (std::size_t write = items.size(); pending > 0;) {
        --write;
        if (indices[pending - 1] == write)
            items[write] = std::move(in[--pending]);
        else
            items[write] = std::move(items[--read]);
    }
    in = {};
}

// Puts item order[i] at i. Each cycle of the permutation is followed once,
// in place: a second array as long as the list would raise the peak memory
// of a sort by as much.
void Permute(TItems& items, const std::vector<std::uint32_t>& order)
{
    std::vector<bool> placed(items.size());
    for (std::size_t start = 0; start < items.size(); ++start) {
        if (placed[start])
            continue;
        TUrlList::TItem held = std::move(items[start]);
        for (std::size_t at = start;;) {
            placed[at] = true;
            const std::size_t from = order[at];
            if (from == start) {
                items[at] = std::move(held);
                break;
            }
            items[at] = std::move(items[from]);
            at = from;
        }
    }
}

// The inverse of Permute: item i goes back to order[i].
void Unpermute(TItems& items, const std::vector<std::uint32_t>& order)
{
    std::vector<bool> placed(items.size());
    for (std::size_t start = 0; start < items.size(); ++start) {
        if (placed[start])
            continue;
        TUrlList::TItem held = std::move(items[start]);  // belongs at order[start]
        for (std::size_t at = start;;) {
            placed[at] = true;
            const std::size_t to = order[at];
            if (to == start) {
                items[start] = std::move(held);
                break;
            }
            std::swap(held, items[to]);  // now holds what belongs at order[to]
            at = to;
        }
    }
}

using TRuns = std::vector<std::pair<std::size_t, std::size_t>>;  // [first, last]

TRuns RunsOf(const std::vector<std::size_t>& ascending)
{
    TRuns runs;
    for (std::size_t index : ascending) {
        if (!runs.empty() && runs.back().second + 1 == index)
            runs.back().second = index;
        else
            runs.emplace_back(index, index);
    }
    return runs;
}

// Past this many separate runs, removing or putting back items is told as a
// new list: naming each run would cost a pass over the list per run.
constexpr std::size_t RunsNamed = 16;

// The rows of a replace step, as they are told to a watcher.
void TellReplacedRows(TListWatcher& watcher, const std::vector<std::uint32_t>& places)
{
    watcher.BeginRewrite();
    for (std::size_t p = 0; p < places.size(); p += 2 + places[p + 1])
        watcher.Rewritten(places[p]);
    watcher.EndRewrite();
}

std::size_t ItemBytes(const TItems& items)
{
    return std::accumulate(
        items.begin(), items.end(), items.capacity() * sizeof(TUrlList::TItem),
        [](std::size_t sum, const TUrlList::TItem& item) { return sum + item.Text.capacity(); });
}

// Turns every item back into its text without the replacements, or with
// them again: the spans at the recorded offsets change from `from` to `to`.
// Offsets are recorded in the texts without the replacements; each earlier
// replacement moves a later one by the difference in length.
void SwapReplacements(TItems& items, const std::vector<std::uint32_t>& places, std::string_view from,
                      std::string_view to, bool shifted)
{
    std::vector<std::size_t> offsets;
    for (std::size_t p = 0; p < places.size();) {
        std::string& text = items[places[p]].Text;
        const std::size_t count = places[p + 1];
        offsets.clear();
        for (std::size_t k = 0; k < count; ++k)
            offsets.push_back(places[p + 2 + k] + (shifted ? k * from.size() - k * to.size() : 0));
        text = ReplaceSpans(text, offsets, from.size(), to);
        p += 2 + count;
    }
}

}  // namespace

// ---- TListSelection ----

TListSelection TListSelection::Of(const TUrlList& list)
{
    TListSelection selection;
    const auto& items = list.Items();
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (!items[i].Selected)
            continue;
        if (!selection.Runs.empty() && selection.Runs.back().second + 1 == i)
            selection.Runs.back().second = i;
        else
            selection.Runs.emplace_back(i, i);
    }
    selection.Focused = list.Focused();
    return selection;
}

void TListSelection::ApplyTo(TUrlList& list) const
{
    auto& items = list.Items();
    for (TUrlList::TItem& item : items)
        item.Selected = false;
    for (const auto& [first, last] : Runs)
        for (std::size_t i = first; i <= last && i < items.size(); ++i)
            items[i].Selected = true;
    list.SetFocused(Focused < static_cast<int>(items.size()) ? Focused : -1);
}

// ---- TUndoStep ----

TUndoStep::TUndoStep(const TUrlList& list, TListWatcher* watcher)
    : FWatcher(watcher), FBefore(TListSelection::Of(list))
{ }

void TUndoStep::Take(TUrlList& list, const std::vector<std::size_t>& indices, TItems& out)
{
    const TRuns runs = FWatcher ? RunsOf(indices) : TRuns{};
    if (!FWatcher || runs.size() > RunsNamed) {
        if (FWatcher)
            FWatcher->BeginReset();
        MoveOut(list.Items(), indices, out);
        if (FWatcher)
            FWatcher->EndReset();
        return;
    }
    // Run by run from the end, each one told as it goes.
    TItems& items = list.Items();
    out.resize(indices.size());
    std::size_t end = indices.size();
    for (auto run = runs.rbegin(); run != runs.rend(); ++run) {
        const auto first = items.begin() + static_cast<std::ptrdiff_t>(run->first);
        const auto last = items.begin() + static_cast<std::ptrdiff_t>(run->second + 1);
        end -= run->second + 1 - run->first;
        FWatcher->BeginRemove(run->first, run->second);
        std::move(first, last, out.begin() + static_cast<std::ptrdiff_t>(end));
        items.erase(first, last);
        FWatcher->EndRemove();
    }
}

void TUndoStep::Give(TUrlList& list, const std::vector<std::size_t>& indices, TItems& in)
{
    const TRuns runs = FWatcher ? RunsOf(indices) : TRuns{};
    if (!FWatcher || runs.size() > RunsNamed) {
        if (FWatcher)
            FWatcher->BeginReset();
        PutBack(list.Items(), indices, in);
        if (FWatcher)
            FWatcher->EndReset();
        return;
    }
    // From the front: the rows before each run already stand where they end.
    TItems& items = list.Items();
    auto next = in.begin();
    for (const auto& [first, last] : runs) {
        const auto length = static_cast<std::ptrdiff_t>(last + 1 - first);
        FWatcher->BeginInsert(first, last);
        items.insert(items.begin() + static_cast<std::ptrdiff_t>(first), std::make_move_iterator(next),
                     std::make_move_iterator(next + length));
        next += length;
        FWatcher->EndInsert();
    }
    in = {};
}

void TUndoStep::Rearrange(TUrlList& list, const std::vector<std::uint32_t>& order, bool inverse)
{
    if (FWatcher)
        FWatcher->BeginReorder();
    if (inverse)
        Unpermute(list.Items(), order);
    else
        Permute(list.Items(), order);
    if (FWatcher)
        FWatcher->EndReorder(order, inverse);
}

void TUndoStep::SwapItems(TUrlList& list, TItems& other)
{
    TItems& items = list.Items();
    if (!FWatcher || (items.empty() && other.empty())) {
        items.swap(other);
        return;
    }
    if (other.empty())
        FWatcher->BeginRemove(0, items.size() - 1);
    else if (items.empty())
        FWatcher->BeginInsert(0, other.size() - 1);
    else
        FWatcher->BeginReset();
    const bool removed = other.empty(), inserted = items.empty();
    items.swap(other);
    if (removed)
        FWatcher->EndRemove();
    else if (inserted)
        FWatcher->EndInsert();
    else
        FWatcher->EndReset();
}

void TUndoStep::SwapTexts(TUrlList& list, TRewritten& rewritten)
{
    if (FWatcher)
        FWatcher->BeginRewrite();
    for (auto& [index, text] : rewritten.Texts) {
        std::swap(list.Items()[index].Text, text);
        if (FWatcher)
            FWatcher->Rewritten(index);
    }
    if (FWatcher)
        FWatcher->EndRewrite();
}

void TUndoStep::SelectionTo(const TListSelection& selection, TUrlList& list)
{
    selection.ApplyTo(list);
    if (FWatcher)
        FWatcher->SelectionChanged();
}

void TUndoStep::WatchAppends(const TUrlList& list)
{
    FAppendFrom = list.Count();
}

void TUndoStep::RemoveAt(TUrlList& list, std::vector<std::size_t> indices)
{
    if (indices.empty())
        return;
    TRemoved removed;
    Take(list, indices, removed.Items);
    removed.Indices = std::move(indices);
    FChanges.emplace_back(std::move(removed));
}

void TUndoStep::Reorder(TUrlList& list, std::vector<std::uint32_t> order)
{
    bool same = true;
    for (std::size_t i = 0; i < order.size() && same; ++i)
        same = order[i] == i;
    if (same)
        return;  // already in that order: nothing to undo
    Rearrange(list, order, false);
    FChanges.emplace_back(TReordered{std::move(order)});
}

void TUndoStep::Rewrite(TUrlList& list, std::size_t index, std::string text)
{
    if (FWatcher)
        FWatcher->BeginRewrite();
    if (RewriteText(list, index, std::move(text)) && FWatcher)
        FWatcher->Rewritten(index);
    if (FWatcher)
        FWatcher->EndRewrite();
}

bool TUndoStep::RewriteText(TUrlList& list, std::size_t index, std::string text)
{
    std::string& current = list.Items()[index].Text;
    if (current == text)
        return false;
    std::swap(current, text);
    if (FChanges.empty() || !std::holds_alternative<TRewritten>(FChanges.back()))
        FChanges.emplace_back(TRewritten{});
    std::get<TRewritten>(FChanges.back()).Texts.emplace_back(index, std::move(text));
    return true;
}

void TUndoStep::ReplaceEverywhere(TUrlList& list, std::string_view pattern, std::string_view replacement)
{
    constexpr std::size_t Largest = std::numeric_limits<std::uint32_t>::max();
    if (pattern == replacement)
        return;
    TReplaced replaced{std::string(pattern), std::string(replacement), {}};
    std::vector<std::size_t> offsets;
    if (FWatcher)
        FWatcher->BeginRewrite();
    for (std::size_t i = 0; i < list.Count(); ++i) {
        FindAllWhole(list[i], pattern, offsets);
        if (offsets.empty())
            continue;
        if (FWatcher)
            FWatcher->Rewritten(i);
        if (i > Largest || list[i].size() > Largest) {  // too large to note in 32 bits: keep the old text
            RewriteText(list, i, ReplaceSpans(list[i], offsets, pattern.size(), replacement));
            continue;
        }
        replaced.Places.push_back(static_cast<std::uint32_t>(i));
        replaced.Places.push_back(static_cast<std::uint32_t>(offsets.size()));
        for (std::size_t offset : offsets)
            replaced.Places.push_back(static_cast<std::uint32_t>(offset));
        list.Items()[i].Text = ReplaceSpans(list[i], offsets, pattern.size(), replacement);
    }
    if (FWatcher)
        FWatcher->EndRewrite();
    if (!replaced.Places.empty()) {
        replaced.Places.shrink_to_fit();
        FChanges.emplace_back(std::move(replaced));
    }
}

void TUndoStep::TakeAll(TUrlList& list)
{
    if (list.Empty())
        return;
    TSwapped swapped;
    SwapItems(list, swapped.Other);
    list.Clear();
    FChanges.emplace_back(std::move(swapped));
}

void TUndoStep::EntryChange(std::string before, std::string after)
{
    if (before != after)
        FEntry.emplace(std::move(before), std::move(after));
}

bool TUndoStep::Finish(const TUrlList& list)
{
    if (FAppendFrom && list.Count() > *FAppendFrom)
        FChanges.emplace_back(TAppended{*FAppendFrom, {}});
    if (FWatcher)
        FWatcher->Appended();
    FAppendFrom.reset();
    if (FChanges.empty())
        return false;
    FAfter = TListSelection::Of(list);
    FBytes = CountBytes();
    return true;
}

void TUndoStep::Undo(TUrlList& list, std::string& entry)
{
    TItems& items = list.Items();
    for (auto change = FChanges.rbegin(); change != FChanges.rend(); ++change)
        std::visit(TOverloaded{
                       [&](TAppended& c) {
                           if (FWatcher)
                               FWatcher->BeginRemove(c.From, items.size() - 1);
                           const auto from = items.begin() + static_cast<std::ptrdiff_t>(c.From);
                           c.Undone.assign(std::make_move_iterator(from),
                                           std::make_move_iterator(items.end()));
                           items.erase(from, items.end());
                           if (FWatcher)
                               FWatcher->EndRemove();
                       },
                       [&](TRemoved& c) { Give(list, c.Indices, c.Items); },
                       [&](TReordered& c) { Rearrange(list, c.Order, true); },
                       [&](TRewritten& c) { SwapTexts(list, c); },
                       [&](TReplaced& c) {
                           SwapReplacements(items, c.Places, c.Replacement, c.Pattern, true);
                           if (FWatcher)
                               TellReplacedRows(*FWatcher, c.Places);
                       },
                       [&](TSwapped& c) { SwapItems(list, c.Other); },
                   },
                   *change);
    SelectionTo(FBefore, list);
    if (FEntry)
        entry = FEntry->first;
    FBytes = CountBytes();  // an undone append now holds its items
}

void TUndoStep::Redo(TUrlList& list, std::string& entry)
{
    TItems& items = list.Items();
    for (TChange& change : FChanges)
        std::visit(TOverloaded{
                       [&](TAppended& c) {
                           if (FWatcher && !c.Undone.empty())
                               FWatcher->BeginInsert(items.size(), items.size() + c.Undone.size() - 1);
                           const bool told = FWatcher && !c.Undone.empty();
                           items.insert(items.end(), std::make_move_iterator(c.Undone.begin()),
                                        std::make_move_iterator(c.Undone.end()));
                           c.Undone = {};
                           if (told)
                               FWatcher->EndInsert();
                       },
                       [&](TRemoved& c) { Take(list, c.Indices, c.Items); },
                       [&](TReordered& c) { Rearrange(list, c.Order, false); },
                       [&](TRewritten& c) { SwapTexts(list, c); },
                       [&](TReplaced& c) {
                           SwapReplacements(items, c.Places, c.Pattern, c.Replacement, false);
                           if (FWatcher)
                               TellReplacedRows(*FWatcher, c.Places);
                       },
                       [&](TSwapped& c) { SwapItems(list, c.Other); },
                   },
                   change);
    SelectionTo(FAfter, list);
    if (FEntry)
        entry = FEntry->second;
    FBytes = CountBytes();
}

std::size_t TUndoStep::CountBytes() const
{
    std::size_t bytes = sizeof(*this) + FBefore.Bytes() + FAfter.Bytes();
    for (const TChange& change : FChanges)
        bytes +=
            std::visit(TOverloaded{
                           [](const TAppended& c) { return ItemBytes(c.Undone); },
                           [](const TRemoved& c) {
                               return ItemBytes(c.Items) + c.Indices.capacity() * sizeof(std::size_t);
                           },
                           [](const TReordered& c) { return c.Order.capacity() * sizeof(std::uint32_t); },
                           [](const TRewritten& c) {
                               std::size_t sum = c.Texts.capacity() * sizeof(c.Texts[0]);
                               for (const auto& text : c.Texts)
                                   sum += text.second.capacity();
                               return sum;
                           },
                           [](const TReplaced& c) {
                               return c.Places.capacity() * sizeof(std::uint32_t) + c.Pattern.capacity()
                                      + c.Replacement.capacity();
                           },
                           [](const TSwapped& c) { return ItemBytes(c.Other); },
                       },
                       change);
    return bytes;
}

// ---- TUndoHistory ----

TUndoHistory::TUndoHistory(std::size_t levels, std::size_t memoryBudget)
    : FLevels(levels), FBudget(memoryBudget)
{ }

void TUndoHistory::Record(TUndoStep step, const TUrlList& list)
{
    if (!step.Finish(list))
        return;
    FRedo.clear();
    FUndo.push_back(std::move(step));
    Trim(list);
}

std::size_t TUndoHistory::Bytes() const
{
    std::size_t bytes = 0;
    for (const auto* steps : {&FUndo, &FRedo})
        for (const TUndoStep& step : *steps)
            bytes += step.Bytes();
    return bytes;
}

void TUndoHistory::Trim(const TUrlList& list)
{
    std::size_t bytes = Bytes();
    // The list's size costs a walk over it: only when the budget alone is
    // not enough.
    std::optional<std::size_t> listBytes;
    const auto over = [&] {
        if (FUndo.size() + FRedo.size() > FLevels)
            return true;
        if (bytes <= FBudget)
            return false;
        if (!listBytes)
            listBytes = ItemBytes(list.Items());
        return bytes > *listBytes;
    };
    bool dropped = false;
    while (over()) {
        // The oldest undo step first, then the redo step farthest ahead;
        // the latest step stays.
        std::deque<TUndoStep>& from = FUndo.size() > 1 ? FUndo : FRedo;
        if (from.empty() || (&from == &FRedo && FUndo.empty() && FRedo.size() == 1))
            break;
        bytes -= from.front().Bytes();
        from.pop_front();
        dropped = true;
    }
    if (dropped)
        ReturnFreedMemory();
}

bool TUndoHistory::Undo(TUrlList& list, std::string& entry)
{
    const bool undone = Replay(FUndo, FRedo, [&](TUndoStep& step) { step.Undo(list, entry); });
    Trim(list);
    return undone;
}

bool TUndoHistory::Redo(TUrlList& list, std::string& entry)
{
    const bool redone = Replay(FRedo, FUndo, [&](TUndoStep& step) { step.Redo(list, entry); });
    Trim(list);
    return redone;
}

bool TUndoHistory::Replay(std::deque<TUndoStep>& from, std::deque<TUndoStep>& to,
                          const std::function<void(TUndoStep&)>& apply)
{
    if (from.empty())
        return false;
    TUndoStep step = std::move(from.back());
    from.pop_back();
    apply(step);
    to.push_back(std::move(step));
    return true;
}

void TUndoHistory::Clear()
{
    FUndo.clear();
    FRedo.clear();
}

// ---- TUndoRecording ----

TUndoRecording::~TUndoRecording()
{
    try {
        FHistory.Record(std::move(FStep), FList);
    } catch (...) {
        // Out of memory for the step: the change stands, only its undo is lost.
    }
}
