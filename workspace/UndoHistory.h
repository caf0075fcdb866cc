#pragma once
// Undo and redo of the URL list's changes. A step keeps only what its
// operation changed — appended items, removed items with their places, a
// new order, rewritten texts, or a whole list moved out of the way — so that
// undoing a change to a few items of a long list never copies the list.
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

#include "ListWatcher.h"
#include "engine/UrlList.h"

// The selected items as runs of indices, and the focused index.
struct TListSelection {
    std::vector<std::pair<std::size_t, std::size_t>> Runs;  // [first, last]
    int Focused = -1;

    static TListSelection Of(const TUrlList& list);
    void ApplyTo(TUrlList& list) const;
    std::size_t Bytes() const { return Runs.capacity() * sizeof(Runs[0]); }
};

class TUndoStep {
public:
    // The list's selection and focus now are what undoing goes back to.
    // The watcher (optional) is told of every change the step makes, undo
    // and redo included.
    explicit TUndoStep(const TUrlList& list, TListWatcher* watcher = nullptr);

    // ---- The changes, recorded as the operation makes them ----
    // Items appended from here on become part of the step when it is recorded.
    void WatchAppends(const TUrlList& list);
    // Removes the items at these ascending indices.
    void RemoveAt(TUrlList& list, std::vector<std::size_t> indices);
    // Puts the items in a new order: new item i is old item order[i].
    void Reorder(TUrlList& list, std::vector<std::uint32_t> order);
    // Changes one item's text.
    void Rewrite(TUrlList& list, std::size_t index, std::string text);
    // Replaces every whole-character occurrence of the pattern, matched
    // exactly, in every item. Only where the replacements went is kept, so
    // that a replace across a long list costs a few bytes per changed item.
    void ReplaceEverywhere(TUrlList& list, std::string_view pattern, std::string_view replacement);
    // Moves every item out of the list, leaving it empty.
    void TakeAll(TUrlList& list);
    // The URL entry line as the operation found and left it; it goes back
    // with the list, but a change to it alone makes no step.
    void EntryChange(std::string before, std::string after);

    // Called when the operation has ended; false when it changed nothing.
    bool Finish(const TUrlList& list);
    void Undo(TUrlList& list, std::string& entry);
    void Redo(TUrlList& list, std::string& entry);
    // Roughly what the step holds in memory, as counted when it finished
    // or was last undone or redone.
    std::size_t Bytes() const { return FBytes; }

private:
    struct TAppended {
        std::size_t From;
        std::vector<TUrlList::TItem> Undone;  // the appended items while undone
    };
    struct TRemoved {
        std::vector<std::size_t> Indices;  // in the list before the removal
        std::vector<TUrlList::TItem> Items;
    };
    struct TReordered {
        std::vector<std::uint32_t> Order;
    };
    struct TRewritten {
        std::vector<std::pair<std::size_t, std::string>> Texts;  // the texts not in the list
    };
    struct TReplaced {
        std::string Pattern, Replacement;
        // For each changed item: its index, the number of replacements, then
        // their offsets in the text without them.
        std::vector<std::uint32_t> Places;
    };
    struct TSwapped {
        std::vector<TUrlList::TItem> Other;  // the items not in the list
    };
    using TChange = std::variant<TAppended, TRemoved, TReordered, TRewritten, TReplaced, TSwapped>;
    void SwapTexts(TUrlList& list, TRewritten& rewritten);

    std::size_t CountBytes() const;
    bool RewriteText(TUrlList& list, std::size_t index, std::string text);
    void Take(TUrlList& list, const std::vector<std::size_t>& indices, std::vector<TUrlList::TItem>& out);
    void Give(TUrlList& list, const std::vector<std::size_t>& indices, std::vector<TUrlList::TItem>& in);
    void Rearrange(TUrlList& list, const std::vector<std::uint32_t>& order, bool inverse);
    void SwapItems(TUrlList& list, std::vector<TUrlList::TItem>& other);
    void SelectionTo(const TListSelection& selection, TUrlList& list);

    TListWatcher* FWatcher;
    std::vector<TChange> FChanges;
    TListSelection FBefore, FAfter;
    std::optional<std::size_t> FAppendFrom;
    std::optional<std::pair<std::string, std::string>> FEntry;
    std::size_t FBytes = 0;
};

// The program lives all day in the tray: the history, redo steps included,
// holds at most `levels` steps and at most `memoryBudget` bytes or as much
// as the list itself, whichever is larger. Past that the oldest steps go
// first, then the redo steps farthest ahead, but the latest step always
// stays; the memory they held goes back to the system.
class TUndoHistory {
public:
    explicit TUndoHistory(std::size_t levels = 100, std::size_t memoryBudget = std::size_t{256} << 20);

    // Finishes the step and keeps it, unless it changed nothing. A new step
    // ends every redo.
    void Record(TUndoStep step, const TUrlList& list);
    bool CanUndo() const { return !FUndo.empty(); }
    bool CanRedo() const { return !FRedo.empty(); }
    // False when there was nothing to undo or redo.
    bool Undo(TUrlList& list, std::string& entry);
    bool Redo(TUrlList& list, std::string& entry);
    std::size_t UndoCount() const { return FUndo.size(); }
    std::size_t RedoCount() const { return FRedo.size(); }
    // What the undo and redo steps hold together.
    std::size_t Bytes() const;
    void Clear();
    // Told of every change that recording, undo and redo make.
    TListWatcher* Watcher = nullptr;

private:
    void Trim(const TUrlList& list);
    // Takes the latest step of `from`, applies it and keeps it on `to`.
    static bool Replay(std::deque<TUndoStep>& from, std::deque<TUndoStep>& to,
                       const std::function<void(TUndoStep&)>& apply);

    std::deque<TUndoStep> FUndo;
    std::deque<TUndoStep> FRedo;
    std::size_t FLevels;
    std::size_t FBudget;
};

// Records a step when it goes out of scope, however the operation ends: a
// file read that fails half way still leaves what it appended undoable.
class TUndoRecording {
public:
    TUndoRecording(TUndoHistory& history, TUrlList& list)
        : FHistory(history), FList(list), FStep(list, history.Watcher)
    { }
    ~TUndoRecording();
    TUndoRecording(const TUndoRecording&) = delete;
    TUndoRecording& operator=(const TUndoRecording&) = delete;
    TUndoStep* operator->() { return &FStep; }

private:
    TUndoHistory& FHistory;
    TUrlList& FList;
    TUndoStep FStep;
};
