#include "Workspace.h"

#include <algorithm>

#include "ListOrder.h"

namespace {

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

void TWorkspace::ModifySelected()
{
    const int index = FirstSelectedIndex();
    if (index < 0) {
        SetStatus(QStringLiteral("エラー＞修正するURLが選択されていません。"));
        return;
    }
    TUndoRecording undo(History, List);
    std::string entry = List[static_cast<std::size_t>(index)];
    undo->EntryChange(UrlEntry, entry);
    SetUrlEntry(std::move(entry));
    undo->RemoveAt(List, {static_cast<std::size_t>(index)});
    KeepFocusInRange(List);
    ListModel.SelectionChanged();
    SetStatus(QStringLiteral("報告＞修正後は追加ボタンを押してください。"));
}

void TWorkspace::DeleteSelected()
{
    if (FirstSelectedIndex() < 0) {
        SetStatus(QStringLiteral("エラー＞削除するURLが選択されていません。"));
        return;
    }
    std::vector<std::size_t> selected;
    for (std::size_t i = 0; i < List.Count(); ++i)
        if (List.Selected(i))
            selected.push_back(i);
    TUndoRecording undo(History, List);
    // One pass: erasing item by item would be quadratic on a long list.
    undo->RemoveAt(List, std::move(selected));
    KeepFocusInRange(List);
    ListModel.SelectionChanged();
    SetStatus(QStringLiteral("報告＞URLを削除しました。"));
}

void TWorkspace::DeleteAll()
{
    if (List.Empty()) {
        SetStatus(QStringLiteral("エラー＞削除するURLがありません。"));
        return;
    }
    TUndoRecording undo(History, List);
    undo->TakeAll(List);
    ListModel.SelectionChanged();
    SetStatus(QStringLiteral("報告＞URLを全て削除しました。"));
}

void TWorkspace::DeleteDuplicates()
{
    if (List.Count() < 2) {
        SetStatus(QStringLiteral("エラー＞重複チェックするURLがありません。"));
    } else {
        TUndoRecording undo(History, List);
        undo->Reorder(List, ListOrder(List.Items(), TReading::Forward));
        undo->RemoveAt(List, LaterDuplicates(List.Items()));
        ReorderFinished(List);
        ListModel.SelectionChanged();
        SetStatus(QStringLiteral("報告＞重複していたURLを削除しました。"));
    }
    emit ListScrollWidthReset();
}

void TWorkspace::SortForward()
{
    TUndoRecording undo(History, List);
    undo->Reorder(List, ListOrder(List.Items(), TReading::Forward));
    ReorderFinished(List);
    ListModel.SelectionChanged();
    emit ListScrollWidthReset();
}

void TWorkspace::SortBackward()
{
    TUndoRecording undo(History, List);
    undo->Reorder(List, ListOrder(List.Items(), TReading::Backward));
    ReorderFinished(List);
    ListModel.SelectionChanged();
    emit ListScrollWidthReset();
}

void TWorkspace::ReplaceInUrls()
{
    if (Options.ReplaceFrom.empty()) {
        SetStatus(QStringLiteral("エラー＞検索文字列が指定されていません。"));
    } else {
        TUndoRecording undo(History, List);
        undo->ReplaceEverywhere(List, Options.ReplaceFrom, Options.ReplaceTo);
        ReorderFinished(List);
        ListModel.SelectionChanged();
        SetStatus(QStringLiteral("報告＞置き換えが完了しました。"));
    }
    emit ListScrollWidthReset();
}

void TWorkspace::SearchAndSelect()
{
    if (Options.SearchText.empty()) {
        SetStatus(QStringLiteral("エラー＞検索文字列が指定されていません。"));
    } else {
        for (TUrlList::TItem& item : List.Items())
            if (ContainsWhole(item.Text, Options.SearchText))
                item.Selected = true;
        ListModel.SelectionChanged();
        emit SelectedCountChanged();
        SetStatus(QStringLiteral("報告＞検索が完了しました。"));
    }
    emit ListScrollWidthReset();
}

void TWorkspace::ClearSelection()
{
    DeselectAll(List);
    ListModel.SelectionChanged();
    emit SelectedCountChanged();
    SetStatus(QStringLiteral("報告＞選択を解除しました。"));
    emit ListScrollWidthReset();
}

void TWorkspace::InvertSelection()
{
    for (TUrlList::TItem& item : List.Items())
        item.Selected = !item.Selected;
    ListModel.SelectionChanged();
    emit SelectedCountChanged();
    SetStatus(QStringLiteral("報告＞選択を反転しました。"));
    emit ListScrollWidthReset();
}

void TWorkspace::Undo()
{
    const std::string entryBefore = UrlEntry;
    if (!History.Undo(List, UrlEntry)) {
        SetStatus(QStringLiteral("エラー＞元に戻す操作がありません。"));
        return;
    }
    if (UrlEntry != entryBefore)
        emit UrlEntryChanged();
    emit SelectedCountChanged();
    SetStatus(QStringLiteral("報告＞元に戻しました。"));
}

void TWorkspace::Redo()
{
    const std::string entryBefore = UrlEntry;
    if (!History.Redo(List, UrlEntry)) {
        SetStatus(QStringLiteral("エラー＞やり直す操作がありません。"));
        return;
    }
    if (UrlEntry != entryBefore)
        emit UrlEntryChanged();
    emit SelectedCountChanged();
    SetStatus(QStringLiteral("報告＞やり直しました。"));
}

void TWorkspace::SelectOnly(const std::vector<std::size_t>& rows)
{
    DeselectAll(List);
    for (std::size_t row : rows)
        if (row < List.Count())
            List.SetSelected(row, true);
    ListModel.SelectionChanged();
    emit SelectedCountChanged();
}
