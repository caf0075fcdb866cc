#pragma once
// How the form's controls follow the window's size: docking, anchors and the
// width rules of labels and check boxes, which a form file cannot hold. Each
// container's places in the form are the reference its layout scales from.
#include <utility>
#include <vector>

#include <QSize>

class QWidget;
class TAnchorLayout;

namespace Ui {
class TMainWindow;
}  // namespace Ui

// A page's client area in the form, whatever the style draws around it.
constexpr QSize PageClientSize(359, 366);

class TWindowAnchoring {
public:
    // Right after the form's set-up, while every control is at its form place.
    explicit TWindowAnchoring(Ui::TMainWindow& form);

    TAnchorLayout* Of(QWidget* container) const;
    // Recomputes every layout, outermost first (also before the window is shown).
    void Apply() const;

private:
    std::vector<std::pair<QWidget*, TAnchorLayout*>> FLayouts;
};
