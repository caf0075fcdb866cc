#pragma once
// The main window as data: every control with its kind, name, container,
// text, tooltip, design place, docking or anchors and keyboard order. The
// builder turns it into widgets; nothing else hard-codes a place.
#include <vector>

#include <QRect>
#include <QSize>

#include "AnchorLayout.h"

enum class TControlKind {
    PageControl,
    Page,
    StatusBar,
    Panel,
    GroupBox,
    Button,
    Edit,
    FlatEdit,
    Spin,
    CheckBox,
    Label,
    FixedLabel,
    UrlList,
    HelpList,
    Memo,
    Picture,
};

struct TControlDescription {
    TControlKind Kind;
    const char* Name;
    const char* Parent;
    const char* Text;     // UTF-8 or nullptr
    const char* Tooltip;  // UTF-8 or nullptr
    QRect Place;          // in the container's client area
    TAlign Align;
    TAnchors Anchors;
    int Tab;  // focus order within the container; -1 takes no focus
    const char* AccessibleName;
};

// The window's client area in the description.
constexpr QSize MainWindowClientSize(367, 413);

// In containment order: a container always precedes what it holds.
const std::vector<TControlDescription>& MainWindowControls();
