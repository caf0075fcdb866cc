#include "WindowAnchoring.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QTabWidget>

#include "AnchorLayout.h"
#include "PictureBox.h"
#include "ui_MainWindow.h"

namespace {

constexpr TAnchors LT{true, true, false, false};
constexpr TAnchors LR{true, false, true, false};
constexpr TAnchors R{false, false, true, false};
constexpr TAnchors LTR{true, true, true, false};
constexpr TAnchors TR{false, true, true, false};
constexpr TAnchors LTRB{true, true, true, true};
constexpr TAnchors LRB{true, false, true, true};
constexpr TAnchors NoAnchors{false, false, false, false};

// A group box's frame and title, which docked children keep clear of.
const QMargins GroupBoxInsets(2, 14, 2, 2);

struct TPlacement {
    QWidget* Control;
    TAlign Align;
    TAnchors Anchors;
};

// Labels size to their text; check box captions are never cut, whatever
// the width of the font this desktop substitutes.
TWidthRule WidthRuleOf(const QWidget* control)
{
    if (qobject_cast<const TPictureBox*>(control))
        return TWidthRule::Fixed;
    if (qobject_cast<const QLabel*>(control))
        return TWidthRule::FitsContent;
    if (qobject_cast<const QCheckBox*>(control))
        return TWidthRule::AtLeastContent;
    return TWidthRule::Fixed;
}

}  // namespace

TWindowAnchoring::TWindowAnchoring(Ui::TMainWindow& f)
{
    using A = TAlign;
    // Outermost containers first, so that a container has its size before
    // the controls inside it are placed.
    const TPlacement placements[] = {
        {f.Pages, A::Fill, LT},
        {f.StatusBar, A::Bottom, LT},
        // The main page
        {f.EntryRow, A::Top, LT},
        {f.UrlListBox, A::Fill, LT},
        {f.CommandColumn, A::Right, LT},
        {f.ExportRow, A::Bottom, LT},
        {f.UrlEntryEdit, A::None, LR},
        {f.AddButton, A::None, R},
        {f.FileInputButton, A::None, R},
        {f.PasteButton, A::None, R},
        {f.CopyButton, A::None, R},
        {f.ModifyButton, A::None, R},
        {f.ForwardSortButton, A::None, R},
        {f.BackwardSortButton, A::None, R},
        {f.DeleteButton, A::None, R},
        {f.DedupeButton, A::None, R},
        {f.DeleteAllButton, A::None, R},
        {f.ShortcutsButton, A::None, NoAnchors},
        {f.UrlListFileButton, A::None, NoAnchors},
        {f.LinkPageButton, A::None, NoAnchors},
        {f.CopyAllButton, A::None, NoAnchors},
        // The extended operations page
        {f.ReplaceGroup, A::None, LTR},
        {f.SearchGroup, A::None, LTR},
        {f.RulesGroup, A::None, LTR},
        {f.SelectionGroup, A::None, LTR},
        {f.FindLabel, A::None, LT},
        {f.FindEdit, A::None, LR},
        {f.ReplaceWithLabel, A::None, LT},
        {f.ReplaceWithEdit, A::None, LR},
        {f.ReplaceButton, A::None, R},
        {f.SearchLabel, A::None, LT},
        {f.SearchEdit, A::None, LR},
        {f.SearchButton, A::None, R},
        {f.SchemeRuleCheck, A::None, LT},
        {f.WwwRuleCheck, A::None, LT},
        {f.SlashDotRuleCheck, A::None, LT},
        {f.ParentPathRuleCheck, A::None, LT},
        {f.RootPathRuleCheck, A::None, LT},
        {f.TotalCountLabel, A::None, LT},
        {f.SelectedCountLabel, A::None, LT},
        {f.ClearSelectionButton, A::None, R},
        {f.InvertSelectionButton, A::None, R},
        // The links page
        {f.BookmarksButton, A::None, LT},
        {f.StripTrackingButton, A::None, LT},
        {f.LinkTargetsCheck, A::None, LT},
        {f.Utf8ListCheck, A::None, LT},
        // The settings page
        {f.ShortcutGroup, A::None, LTR},
        {f.OptionsGroup, A::None, LTR},
        {f.MiniHelpGroup, A::None, LTRB},
        {f.PrefixLabel, A::None, LT},
        {f.PrefixEdit, A::None, LTR},
        {f.DigitCountLabel, A::None, TR},
        {f.DigitCountSpin, A::None, TR},
        {f.SampleLabel, A::None, LT},
        {f.SampleNameLabel, A::None, LT},
        {f.KanaConversionCheck, A::None, LT},
        {f.RangeExpansionCheck, A::None, LT},
        {f.MonitorCheck, A::None, LT},
        {f.LinkPageWithoutDialogCheck, A::None, LT},
        {f.MiniHelpList, A::Fill, LT},
        // The memo page
        {f.MemoPageLabel, A::None, LT},
        {f.MemoLineEdit, A::None, LT},
        {f.MemoPad1Edit, A::None, LTR},
        {f.MemoPad2Edit, A::None, LRB},
        {f.Mascot, A::None, R},
        {f.VersionLabel, A::None, LRB},
    };
    // Pages other than the current one get their size only when shown.
    for (QWidget* page : {f.MainPage, f.ToolsPage, f.LinkPage, f.SettingsPage, f.MemoPage})
        page->resize(PageClientSize);

    for (const TPlacement& p : placements) {
        QWidget* container = p.Control->parentWidget();
        TAnchorLayout* layout = Of(container);
        if (!layout) {
            const bool isGroup = qobject_cast<QGroupBox*>(container) != nullptr;
            layout = new TAnchorLayout(container, container->size(), isGroup ? GroupBoxInsets : QMargins());
            FLayouts.emplace_back(container, layout);
        }
        layout->Add(p.Control, p.Control->geometry(), p.Align, p.Anchors, WidthRuleOf(p.Control));
    }
    Apply();
}

TAnchorLayout* TWindowAnchoring::Of(QWidget* container) const
{
    for (const auto& [widget, layout] : FLayouts)
        if (widget == container)
            return layout;
    return nullptr;
}

void TWindowAnchoring::Apply() const
{
    for (const auto& [widget, layout] : FLayouts)
        layout->Apply();
}
