#include "AnchorLayout.h"

#include <algorithm>

#include <QEvent>
#include <QWidget>

namespace {

// value * current / reference, to the nearest whole pixel.
int Scaled(int value, int current, int reference)
{
    if (reference <= 0)
        return value;
    const long long numerator = 2LL * value * current + (value >= 0 ? reference : -reference);
    return static_cast<int>(numerator / (2LL * reference));
}

struct TAxis {
    int Start;
    int Length;
};

// One axis of the anchoring rules.
TAxis AnchoredAxis(int start, int length, int referenceSize, int size, bool nearEdge, bool farEdge)
{
    const int farGap = referenceSize - (start + length);
    if (nearEdge && farEdge)
        return {start, size - farGap - start};
    if (nearEdge)
        return {start, length};
    if (farEdge)
        return {size - farGap - length, length};
    const int centre = Scaled(start + length / 2, size, referenceSize);
    return {centre - length / 2, length};
}

}  // namespace

QRect AnchoredRect(const QRect& reference, QSize referenceContainer, QSize container, const TAnchors& anchors)
{
    const TAxis x = AnchoredAxis(reference.x(), reference.width(), referenceContainer.width(),
                                 container.width(), anchors.Left, anchors.Right);
    const TAxis y = AnchoredAxis(reference.y(), reference.height(), referenceContainer.height(),
                                 container.height(), anchors.Top, anchors.Bottom);
    return QRect(x.Start, y.Start, x.Length, y.Length);
}

TAnchorLayout::TAnchorLayout(QWidget* container, QSize designSize, QMargins clientInsets)
    : QObject(container), FContainer(container), FDesignSize(designSize), FInsets(clientInsets)
{
    container->installEventFilter(this);
}

void TAnchorLayout::Add(QWidget* control, QRect designRect, TAlign align, TAnchors anchors,
                        TWidthRule widthRule)
{
    FEntries.push_back({control, designRect, FDesignSize, align, anchors, widthRule});
}

std::vector<QRect> TAnchorLayout::Compute(QSize container) const
{
    std::vector<QRect> places(FEntries.size());
    QRect free = QRect(QPoint(0, 0), container).marginsRemoved(FInsets);

    // Docking is resolved top, bottom, right, then fill; each takes its share
    // of what the earlier ones left.
    for (TAlign pass : {TAlign::Top, TAlign::Bottom, TAlign::Right, TAlign::Fill}) {
        for (std::size_t i = 0; i < FEntries.size(); ++i) {
            const TEntry& e = FEntries[i];
            if (e.Align != pass)
                continue;
            const int h = e.Reference.height();
            const int w = e.Reference.width();
            switch (pass) {
            case TAlign::Top:
                places[i] = QRect(free.left(), free.top(), free.width(), h);
                free.setTop(free.top() + h);
                break;
            case TAlign::Bottom:
                places[i] = QRect(free.left(), free.bottom() + 1 - h, free.width(), h);
                free.setBottom(free.bottom() - h);
                break;
            case TAlign::Right:
                places[i] = QRect(free.right() + 1 - w, free.top(), w, free.height());
                free.setRight(free.right() - w);
                break;
            default:
                places[i] = free;
                break;
            }
        }
    }
    for (std::size_t i = 0; i < FEntries.size(); ++i) {
        const TEntry& e = FEntries[i];
        if (e.Align == TAlign::None)
            places[i] = AnchoredRect(e.Reference, e.ReferenceContainer, container, e.Anchors);
    }
    return places;
}

QRect TAnchorLayout::AutoSized(const TEntry& entry, QRect rect) const
{
    const int content = entry.Control->sizeHint().width();
    if (entry.WidthRule == TWidthRule::FitsContent)
        rect.setWidth(content);
    else if (entry.WidthRule == TWidthRule::AtLeastContent)
        rect.setWidth(std::max(rect.width(), content));
    return rect;
}

void TAnchorLayout::Apply()
{
    const std::vector<QRect> places = Compute(FContainer->size());
    for (std::size_t i = 0; i < FEntries.size(); ++i)
        FEntries[i].Control->setGeometry(AutoSized(FEntries[i], places[i]));
}

void TAnchorLayout::MoveTo(QWidget* control, QRect rect)
{
    for (TEntry& e : FEntries) {
        if (e.Control != control)
            continue;
        e.Reference = rect;
        e.ReferenceContainer = FContainer->size();
        control->setGeometry(AutoSized(e, rect));
    }
}

bool TAnchorLayout::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == FContainer && event->type() == QEvent::Resize)
        Apply();
    return QObject::eventFilter(watched, event);
}
