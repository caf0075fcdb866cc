#pragma once
// A layout that places a container's controls by docking and anchoring. Each
// control carries its rules as dynamic properties, set in the form:
//   dock       top, bottom, right or fill: a strip along that side of what
//              the earlier docks left, or all of the rest
//   anchors    the edges whose distances the control keeps, any of left,
//              top, right, bottom, comma-separated, or none; left,top if absent
//   widthRule  fitContent (follows its text) or atLeastContent (as placed,
//              widened where its text needs more)
// A control's place when it joins is its reference, measured against the
// container's size when the layout was made; every new place derives from
// those alone, so rounding never accumulates over many resizes.
#include <vector>

#include <QLayout>
#include <QRect>
#include <QSize>

enum class TDock { None, Top, Bottom, Right, Fill };

enum class TWidthRule { Fixed, FitContent, AtLeastContent };

struct TAnchors {
    bool Left = true;
    bool Top = true;
    bool Right = false;
    bool Bottom = false;
};

// The new place of an anchored control. Pure, so the rules can be checked
// without widgets. An axis anchored on neither side keeps its centre at the
// same proportion of the container.
QRect AnchoredRect(const QRect& reference, QSize referenceContainer, QSize container,
                   const TAnchors& anchors);

class TAnchorLayout : public QLayout {
    Q_OBJECT
public:
    // The container's present size is the one the controls' places refer to.
    explicit TAnchorLayout(QWidget* container);
    ~TAnchorLayout() override;

    // A move made by code: the control's new place becomes its reference at
    // the container's current size.
    void MoveTo(QWidget* control, QRect rect);

    void addItem(QLayoutItem* item) override;
    int count() const override;
    QLayoutItem* itemAt(int index) const override;
    QLayoutItem* takeAt(int index) override;
    QSize sizeHint() const override;
    QSize minimumSize() const override;
    void setGeometry(const QRect& rect) override;

private:
    struct TEntry {
        QLayoutItem* Item;
        QRect Reference;
        QSize ReferenceContainer;
        TDock Dock;
        TAnchors Anchors;
        TWidthRule WidthRule;
    };
    QRect Place(const TEntry& entry, QRect rect) const;

    QSize FReferenceSize;
    std::vector<TEntry> FEntries;
};

// Gives every container in the form whose controls carry placement rules an
// anchor layout, and lays them out, outermost first. Group boxes keep docked
// controls clear of their title and frame.
void InstallAnchorLayouts(QWidget* form);
