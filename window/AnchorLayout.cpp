#include "AnchorLayout.h"

#include <algorithm>

#include <QGroupBox>
#include <QWidget>

namespace {

// A group box's frame and title, which docked children keep clear of.
const QMargins GroupBoxInsets(2, 14, 2, 2);

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

// A misspelt rule in the form is the developer's to see; the control keeps
// the default.
void WarnUnknown(const QWidget* control, const char* rule, const QString& word)
{
    qWarning("%s: unknown %s \"%s\"", qPrintable(control->objectName()), rule, qPrintable(word));
}

TDock DockOf(const QWidget* control)
{
    const QString word = control->property("dock").toString();
    if (word.isEmpty())
        return TDock::None;
    if (word == u"top")
        return TDock::Top;
    if (word == u"bottom")
        return TDock::Bottom;
    if (word == u"right")
        return TDock::Right;
    if (word == u"fill")
        return TDock::Fill;
    WarnUnknown(control, "dock", word);
    return TDock::None;
}

TAnchors AnchorsOf(const QWidget* control)
{
    const QVariant value = control->property("anchors");
    if (!value.isValid())
        return {};
    TAnchors anchors{false, false, false, false};
    for (const QString& edge : value.toString().split(u',', Qt::SkipEmptyParts)) {
        const QString word = edge.trimmed();
        if (word == u"left")
            anchors.Left = true;
        else if (word == u"top")
            anchors.Top = true;
        else if (word == u"right")
            anchors.Right = true;
        else if (word == u"bottom")
            anchors.Bottom = true;
        else if (word != u"none")
            WarnUnknown(control, "anchor", word);
    }
    return anchors;
}

TWidthRule WidthRuleOf(const QWidget* control)
{
    const QString word = control->property("widthRule").toString();
    if (word.isEmpty())
        return TWidthRule::Fixed;
    if (word == u"fitContent")
        return TWidthRule::FitContent;
    if (word == u"atLeastContent")
        return TWidthRule::AtLeastContent;
    WarnUnknown(control, "widthRule", word);
    return TWidthRule::Fixed;
}

bool HasPlacementRules(const QWidget* control)
{
    return control->property("dock").isValid() || control->property("anchors").isValid()
           || control->property("widthRule").isValid();
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

TAnchorLayout::TAnchorLayout(QWidget* container) : QLayout(container), FReferenceSize(container->size())
{
    setContentsMargins(0, 0, 0, 0);
    // Places are measured from the container's edges, not from the part a
    // style keeps for content (a group box's, which depends on its title).
    container->setAttribute(Qt::WA_LayoutOnEntireRect);
}

TAnchorLayout::~TAnchorLayout()
{
    for (const TEntry& e : FEntries)
        delete e.Item;
}

void TAnchorLayout::addItem(QLayoutItem* item)
{
    TEntry entry{item, item->geometry(), FReferenceSize, TDock::None, {}, TWidthRule::Fixed};
    if (const QWidget* control = item->widget()) {
        entry.Reference = control->geometry();
        entry.Dock = DockOf(control);
        entry.Anchors = AnchorsOf(control);
        entry.WidthRule = WidthRuleOf(control);
    }
    FEntries.push_back(entry);
    invalidate();
}

int TAnchorLayout::count() const
{
    return static_cast<int>(FEntries.size());
}

QLayoutItem* TAnchorLayout::itemAt(int index) const
{
    return index >= 0 && index < count() ? FEntries[static_cast<std::size_t>(index)].Item : nullptr;
}

QLayoutItem* TAnchorLayout::takeAt(int index)
{
    if (index < 0 || index >= count())
        return nullptr;
    QLayoutItem* item = FEntries[static_cast<std::size_t>(index)].Item;
    FEntries.erase(FEntries.begin() + index);
    invalidate();
    return item;
}

QSize TAnchorLayout::sizeHint() const
{
    return FReferenceSize;
}

// The form's places were drawn for no smaller a container.
QSize TAnchorLayout::minimumSize() const
{
    return FReferenceSize;
}

QRect TAnchorLayout::Place(const TEntry& entry, QRect rect) const
{
    const QWidget* control = entry.Item->widget();
    if (!control || entry.WidthRule == TWidthRule::Fixed)
        return rect;
    const int content = control->sizeHint().width();
    rect.setWidth(entry.WidthRule == TWidthRule::FitContent ? content : std::max(rect.width(), content));
    return rect;
}

void TAnchorLayout::setGeometry(const QRect& rect)
{
    QLayout::setGeometry(rect);
    std::vector<QRect> places(FEntries.size());
    QRect free = rect.marginsRemoved(contentsMargins());

    // Docking is resolved top, bottom, right, then fill; each takes its share
    // of what the earlier ones left.
    for (TDock pass : {TDock::Top, TDock::Bottom, TDock::Right, TDock::Fill}) {
        for (std::size_t i = 0; i < FEntries.size(); ++i) {
            const TEntry& e = FEntries[i];
            if (e.Dock != pass)
                continue;
            const int h = e.Reference.height();
            const int w = e.Reference.width();
            switch (pass) {
            case TDock::Top:
                places[i] = QRect(free.left(), free.top(), free.width(), h);
                free.setTop(free.top() + h);
                break;
            case TDock::Bottom:
                places[i] = QRect(free.left(), free.bottom() + 1 - h, free.width(), h);
                free.setBottom(free.bottom() - h);
                break;
            case TDock::Right:
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
        if (e.Dock == TDock::None)
            places[i] = AnchoredRect(e.Reference, e.ReferenceContainer, rect.size(), e.Anchors)
                            .translated(rect.topLeft());
        // The widget's own geometry, not the item's: an item would trim the
        // place to the widget's size policy and the style's layout margins.
        if (QWidget* control = e.Item->widget())
            control->setGeometry(Place(e, places[i]));
        else
            e.Item->setGeometry(places[i]);
    }
}

void TAnchorLayout::MoveTo(QWidget* control, QRect rect)
{
    for (TEntry& e : FEntries) {
        if (e.Item->widget() != control)
            continue;
        e.Reference = rect;
        e.ReferenceContainer = parentWidget()->size();
        control->setGeometry(Place(e, rect));
    }
}

void InstallAnchorLayouts(QWidget* form)
{
    // Depth first, so that a container's layout exists before those inside it.
    std::vector<TAnchorLayout*> layouts;
    for (QWidget* control : form->findChildren<QWidget*>()) {
        if (!HasPlacementRules(control))
            continue;
        QWidget* container = control->parentWidget();
        auto* layout = qobject_cast<TAnchorLayout*>(container->layout());
        if (!layout) {
            layout = new TAnchorLayout(container);
            if (qobject_cast<QGroupBox*>(container))
                layout->setContentsMargins(GroupBoxInsets);
            layouts.push_back(layout);
        }
        layout->addWidget(control);
    }
    for (TAnchorLayout* layout : layouts)
        layout->activate();
}
