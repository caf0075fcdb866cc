#include "Workspace.h"

#include <algorithm>

#include "ListSorting.h"

namespace {

QString SelectedCountText(const TUrlList& list)
{
    return QStringLiteral("選択数 ：") + QString::number(list.SelectedCount());
}

void DeselectAll(TUrlList& list)
{
    for (TUrlList::TItem& item : list.Items())
        item.Selected = false;
}

// After items were removed, the focus stays at its index when an item still
// stands there, else on the new last item.
void KeepFocusInRange(TUrlList& list)
{
    const int count = static_cast<int>(list.Count());
    if (list.Focused() >= count)
        list.SetFocused(count - 1);
}

// A reordered or rewritten list keeps its focused index, not its focused text.
void ReorderFinished(TUrlList& list)
{
    DeselectAll(list);
    KeepFocusInRange(list);
}

}  // namespace

int TWorkspace::FirstSelectedIndex() const
{
    const auto& items = List.Items();
    const auto found =
        std::find_if(items.begin(), items.end(), [](const TUrlList::TItem& item) { return item.Selected; });
    return found == items.end() ? -1 : static_cast<int>(found - items.begin());
}

void TWorkspace::Button9Click()
{
    const int index = FirstSelectedIndex();
    if (index < 0) {
        StatusLine = QStringLiteral("エラー＞修正するURLが選択されていません。");
        return;
    }
    UrlEntry = List[static_cast<std::size_t>(index)];
    List.Delete(static_cast<std::size_t>(index));
    KeepFocusInRange(List);
    StatusLine = QStringLiteral("報告＞修正後は追加ボタンを押してください。");
}

void TWorkspace::Button4Click()
{
    if (FirstSelectedIndex() < 0) {
        StatusLine = QStringLiteral("エラー＞削除するURLが選択されていません。");
        return;
    }
    // One pass: erasing item by item would be quadratic on a long list.
    std::erase_if(List.Items(), [](const TUrlList::TItem& item) { return item.Selected; });
    KeepFocusInRange(List);
    StatusLine = QStringLiteral("報告＞URLを削除しました。");
}

void TWorkspace::Button5Click()
{
    if (List.Empty()) {
        StatusLine = QStringLiteral("エラー＞削除するURLがありません。");
        return;
    }
    List.Clear();
    StatusLine = QStringLiteral("報告＞URLを全て削除しました。");
}

void TWorkspace::Button11Click()
{
    if (List.Count() < 2) {
        StatusLine = QStringLiteral("エラー＞重複チェックするURLがありません。");
    } else {
        RemoveDuplicateItems(List.Items());
        ReorderFinished(List);
        StatusLine = QStringLiteral("報告＞重複していたURLを削除しました。");
    }
    FServices.ResetListHorizontalExtent();
}

void TWorkspace::Button13Click()
{
    SortItemsAscending(List.Items());
    ReorderFinished(List);
    FServices.ResetListHorizontalExtent();
}

void TWorkspace::Button14Click()
{
    SortItemsByEnding(List.Items());
    ReorderFinished(List);
    FServices.ResetListHorizontalExtent();
}

void TWorkspace::Button15Click()
{
    if (Options.BEFORE.empty()) {
        StatusLine = QStringLiteral("エラー＞検索文字列が指定されていません。");
    } else {
        for (TUrlList::TItem& item : List.Items())
            item.Text = ReplaceAllWhole(item.Text, Options.BEFORE, Options.AFTER);
        ReorderFinished(List);
        StatusLine = QStringLiteral("報告＞置き換えが完了しました。");
    }
    FServices.ResetListHorizontalExtent();
}

void TWorkspace::Button16Click()
{
    if (Options.SEARCH.empty()) {
        StatusLine = QStringLiteral("エラー＞検索文字列が指定されていません。");
    } else {
        for (TUrlList::TItem& item : List.Items())
            if (ContainsWhole(item.Text, Options.SEARCH))
                item.Selected = true;
        SelectedCountLabel = SelectedCountText(List);
        StatusLine = QStringLiteral("報告＞検索が完了しました。");
    }
    FServices.ResetListHorizontalExtent();
}

void TWorkspace::Button17Click()
{
    DeselectAll(List);
    SelectedCountLabel = SelectedCountText(List);
    StatusLine = QStringLiteral("報告＞選択を解除しました。");
    FServices.ResetListHorizontalExtent();
}

void TWorkspace::Button18Click()
{
    for (TUrlList::TItem& item : List.Items())
        item.Selected = !item.Selected;
    SelectedCountLabel = SelectedCountText(List);
    StatusLine = QStringLiteral("報告＞選択を反転しました。");
    FServices.ResetListHorizontalExtent();
}
