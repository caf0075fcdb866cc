#pragma once
#include <cstddef>
#include <string>
#include <vector>

// The harvested URLs in the order they were added. Each item carries a
// selected flag; one item may be the focused one. Items are CP932 bytes.
class TUrlList {
public:
    struct TItem {
        std::string Text;
        bool Selected = false;
    };

    std::size_t Count() const { return FItems.size(); }
    bool Empty() const { return FItems.empty(); }
    const std::string& operator[](std::size_t i) const { return FItems[i].Text; }

    void Append(std::string text) { FItems.push_back({std::move(text), false}); }
    void Delete(std::size_t i);
    void Clear();

    bool Selected(std::size_t i) const { return FItems[i].Selected; }
    void SetSelected(std::size_t i, bool on) { FItems[i].Selected = on; }
    std::size_t SelectedCount() const;

    // -1 when no item is focused.
    int Focused() const { return FFocused; }
    void SetFocused(int index) { FFocused = index; }

    // Direct access for the list operations that reorder or rewrite items.
    std::vector<TItem>& Items() { return FItems; }
    const std::vector<TItem>& Items() const { return FItems; }

private:
    std::vector<TItem> FItems;
    int FFocused = -1;
};
