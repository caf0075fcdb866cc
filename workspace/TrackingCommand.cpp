#include "Workspace.h"

#include "engine/Engine.h"

void TWorkspace::StripTracking()
{
    StripTrackingFrom(FirstSelectedIndex() >= 0 ? TItemChoice::Selected : TItemChoice::All);
}

void TWorkspace::StripTrackingFromChosen()
{
    StripTrackingFrom(FirstSelectedIndex() >= 0 ? TItemChoice::Selected : TItemChoice::Focused);
}

void TWorkspace::StripTrackingFrom(TItemChoice choice)
{
    const int focused = List.Focused();
    std::size_t changed = 0;
    std::string stripped;
    {
        // Every rewritten item in one step, so one undo brings all back.
        TUndoRecording undo(History, List);
        for (std::size_t i = 0; i < List.Count(); ++i) {
            const bool chosen =
                choice == TItemChoice::All
                || (choice == TItemChoice::Selected ? List.Selected(i) : static_cast<int>(i) == focused);
            if (chosen && StripTrackingParameters(List[i], stripped)) {
                undo->Rewrite(List, i, std::move(stripped));
                ++changed;
            }
        }
    }
    SetStatus(changed == 0 ? QStringLiteral("報告＞除去する追跡ﾊﾟﾗﾒｰﾀはありませんでした。")
                           : QStringLiteral("報告＞追跡ﾊﾟﾗﾒｰﾀを除去しました。(%1件)").arg(changed));
}
