#pragma once
// Places child controls by docking and anchoring: every control keeps a
// reference rectangle taken at a reference container size, and each resize
// derives its new place from those alone, so rounding never accumulates over
// many resizes.
#include <vector>

#include <QMargins>
#include <QObject>
#include <QRect>
#include <QSize>

class QWidget;

enum class TAlign { None, Top, Bottom, Right, Fill };

// How a control's width relates to its content.
enum class TWidthRule {
    Fixed,           // as placed
    FitsContent,     // follows the content exactly (labels)
    AtLeastContent,  // as placed, widened where the content needs more
};

struct TAnchors {
    bool Left = true;
    bool Top = true;
    bool Right = false;
    bool Bottom = false;
};

// The new place of an anchored control. Pure, so the rules can be checked
// without widgets.
QRect AnchoredRect(const QRect& reference, QSize referenceContainer, QSize container,
                   const TAnchors& anchors);

class TAnchorLayout : public QObject {
public:
    // designSize: the container's size in the form. clientInsets: the
    // part of the container that docked controls may not cover (a group box's
    // title and frame).
    TAnchorLayout(QWidget* container, QSize designSize, QMargins clientInsets = {});

    void Add(QWidget* control, QRect designRect, TAlign align, TAnchors anchors,
             TWidthRule widthRule = TWidthRule::Fixed);

    // The places of all registered controls for a container of the given size,
    // in registration order.
    std::vector<QRect> Compute(QSize container) const;
    void Apply();

    // A move made by code: the control's new place becomes its reference at
    // the container's current size.
    void MoveTo(QWidget* control, QRect rect);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct TEntry {
        QWidget* Control;
        QRect Reference;
        QSize ReferenceContainer;
        TAlign Align;
        TAnchors Anchors;
        TWidthRule WidthRule;
    };
    QRect AutoSized(const TEntry& entry, QRect rect) const;

    QWidget* FContainer;
    QSize FDesignSize;
    QMargins FInsets;
    std::vector<TEntry> FEntries;
};
