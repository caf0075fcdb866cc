#include "LinkMarks.h"

#include <functional>

#include <QAbstractItemView>
#include <QPainter>
#include <QPainterPath>

#include "engine/UrlList.h"

namespace {

std::uint64_t TextHash(std::string_view text)
{
    return std::hash<std::string_view>()(text);
}

}  // namespace

void TLinkMarks::Set(std::size_t row, std::string_view text, const TLinkResult& result)
{
    FRows[row] = {TextHash(text), result};
}

const TLinkResult* TLinkMarks::At(const TUrlList& list, std::size_t row) const
{
    const auto found = FRows.find(row);
    if (found == FRows.end() || row >= list.Count() || found->second.Text != TextHash(list[row]))
        return nullptr;
    return &found->second.Result;
}

void TLinkMarks::Follow(const TUrlList& list, bool textsRewritten)
{
    bool allInPlace = true;
    for (const auto& [row, mark] : FRows)
        if (row >= list.Count() || mark.Text != TextHash(list[row])) {
            allInPlace = false;
            break;
        }
    if (allInPlace)
        return;
    if (textsRewritten) {
        std::erase_if(FRows, [&list](const auto& entry) {
            return entry.first >= list.Count() || entry.second.Text != TextHash(list[entry.first]);
        });
        return;
    }
    std::unordered_map<std::uint64_t, TLinkResult> byText;
    for (const auto& [row, mark] : FRows)
        byText.emplace(mark.Text, mark.Result);
    FRows.clear();
    for (std::size_t row = 0; row < list.Count(); ++row) {
        const std::uint64_t text = TextHash(list[row]);
        const auto found = byText.find(text);
        if (found != byText.end())
            FRows[row] = {text, found->second};
    }
}

// Shapes as well as colours, so that no outcome is told by colour alone:
// a dot, an arrow, a cross, a ring and a dash, each within 8 pixels.
void TLinkMarkDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const
{
    QStyledItemDelegate::paint(painter, option, index);
    const TLinkResult* result = FMarks.At(FList, static_cast<std::size_t>(index.row()));
    const auto* view = qobject_cast<const QAbstractItemView*>(option.widget);
    if (!result || !view)
        return;
    constexpr int Size = 8;
    const int right = view->viewport()->width() - 3;
    const QRectF box(right - Size, option.rect.center().y() - Size / 2 + 1, Size, Size);
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    painter->setPen(Qt::NoPen);
    painter->setBrush((option.state & QStyle::State_Selected) ? option.palette.highlight()
                                                              : option.palette.base());
    painter->drawRect(box.adjusted(-2, -2, 2, 2));
    QPen pen(Qt::black, 1.6);
    switch (result->Outcome) {
    case TLinkOutcome::Ok:
        painter->setBrush(QColor(0x1a, 0x8f, 0x3c));
        painter->drawEllipse(box.adjusted(1, 1, -1, -1));
        break;
    case TLinkOutcome::Moved: {
        QPainterPath arrow;
        arrow.moveTo(box.left(), box.top() + 1);
        arrow.lineTo(box.right(), box.center().y());
        arrow.lineTo(box.left(), box.bottom() - 1);
        arrow.closeSubpath();
        painter->fillPath(arrow, QColor(0x1f, 0x5f, 0xc8));
        break;
    }
    case TLinkOutcome::Dead:
        pen.setColor(QColor(0xc8, 0x1e, 0x1e));
        pen.setWidthF(2);
        painter->setPen(pen);
        painter->drawLine(box.topLeft() + QPointF(1, 1), box.bottomRight() - QPointF(1, 1));
        painter->drawLine(box.topRight() + QPointF(-1, 1), box.bottomLeft() + QPointF(1, -1));
        break;
    case TLinkOutcome::Unverified:
        pen.setColor(QColor(0xc0, 0x7a, 0x00));
        painter->setPen(pen);
        painter->setBrush(Qt::NoBrush);
        painter->drawEllipse(box.adjusted(1, 1, -1, -1));
        break;
    case TLinkOutcome::Skipped:
        pen.setColor(Qt::gray);
        painter->setPen(pen);
        painter->drawLine(QPointF(box.left() + 1, box.center().y()),
                          QPointF(box.right() - 1, box.center().y()));
        break;
    }
    painter->restore();
}

QVariant TLinkMarks::Data(std::size_t row, int role) const
{
    if (role != Qt::ToolTipRole && role != Qt::AccessibleDescriptionRole)
        return {};
    const TLinkResult* result = At(FList, row);
    return result ? QVariant(ResultDescription(*result)) : QVariant();
}
