#pragma once
// The link check's outcomes as the list shows them: kept by row together
// with the text the row had when checked, so that a row whose text has
// changed since shows nothing, and drawn as a small mark at the right edge
// of the row, over nothing the text needs.
#include <cstddef>
#include <cstdint>
#include <string_view>
#include <unordered_map>

#include <QStyledItemDelegate>

#include "linkcheck/LinkOutcome.h"
#include "workspace/UrlListModel.h"

class TUrlList;

// Also what the list's model tells a tooltip or a screen reader of a row.
class TLinkMarks : public TItemAnnotations {
public:
    explicit TLinkMarks(const TUrlList& list) : FList(list) { }
    QVariant Data(std::size_t row, int role) const override;
    void Set(std::size_t row, std::string_view text, const TLinkResult& result);
    // The row's outcome, when the row still holds the text it was checked with.
    const TLinkResult* At(const TUrlList& list, std::size_t row) const;
    bool Empty() const { return FRows.empty(); }
    void Clear() { FRows.clear(); }

    // After the list changed. Rows whose text changed lose their outcome;
    // when the items may have moved (textsRewritten false), the outcomes
    // follow their texts to the rows where they are now.
    void Follow(const TUrlList& list, bool textsRewritten);

private:
    struct TMark {
        std::uint64_t Text;  // a hash of the row's text when checked
        TLinkResult Result;
    };
    const TUrlList& FList;
    std::unordered_map<std::size_t, TMark> FRows;
};

class TLinkMarkDelegate : public QStyledItemDelegate {
public:
    TLinkMarkDelegate(const TLinkMarks& marks, const TUrlList& list, QObject* parent)
        : QStyledItemDelegate(parent), FMarks(marks), FList(list)
    { }
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;

private:
    const TLinkMarks& FMarks;
    const TUrlList& FList;
};
