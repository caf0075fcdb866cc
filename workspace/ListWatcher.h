#pragma once
// Told of every change of the URL list as it happens, so that a view can
// follow exactly what changed instead of reading the whole list again.
// Calls come in pairs around the change (Begin… before, End… after); items
// appended at the end are told afterwards, by Appended.
#include <cstddef>
#include <cstdint>
#include <vector>

class TListWatcher {
public:
    virtual void Appended() = 0;
    // Rows [first, last], as numbered before the change.
    virtual void BeginRemove(std::size_t first, std::size_t last) = 0;
    virtual void EndRemove() = 0;
    // Rows [first, last], as numbered after the change.
    virtual void BeginInsert(std::size_t first, std::size_t last) = 0;
    virtual void EndInsert() = 0;
    // A new order: the item at new row i was at order[i]; with `inverse`
    // the item at row i goes to order[i] instead.
    virtual void BeginReorder() = 0;
    virtual void EndReorder(const std::vector<std::uint32_t>& order, bool inverse) = 0;
    // Texts rewritten in place, row by row between the two calls.
    virtual void BeginRewrite() = 0;
    virtual void Rewritten(std::size_t row) = 0;
    virtual void EndRewrite() = 0;
    // Anything else: the list is new.
    virtual void BeginReset() = 0;
    virtual void EndReset() = 0;
    // The selected flags or the focused row changed.
    virtual void SelectionChanged() = 0;

protected:
    ~TListWatcher() = default;
};
