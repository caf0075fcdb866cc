// The link check bound to the window's actions, and the list commands that
// wait while a check or a long reading runs.
#include <QAction>
#include <QPushButton>

#include "ListLinkCheck.h"
#include "MainWindow.h"
#include "UrlListView.h"
#include "ui_MainWindow.h"

void TMainWindow::BindLinkCheck()
{
    FLinkCheck = new TListLinkCheck(*FWorkspace, *FUi->UrlListBox, *FUi->StatusBar);
    connect(FLinkCheck, &TListLinkCheck::Started, this, [this] { EnableListCommands(false); });
    connect(FLinkCheck, &TListLinkCheck::Ended, this, [this] { EnableListCommands(true); });
    connect(FUi->actionCheckLinks, &QAction::triggered, this,
            [this] { FLinkCheck->Check(FLinkCheckFromMenu); });
    connect(FUi->actionReplaceWithMoved, &QAction::triggered, this,
            [this] { RunCommand([this] { FLinkCheck->ReplaceWithMoved(); }); });
    connect(FUi->LinkCheckButton, &QPushButton::clicked, FUi->actionCheckLinks, &QAction::trigger);
    connect(FUi->ReplaceWithMovedButton, &QPushButton::clicked, FUi->actionReplaceWithMoved,
            &QAction::trigger);
}

bool TMainWindow::CheckingLinks() const
{
    return FLinkCheck && FLinkCheck->Running();
}

void TMainWindow::EnableListCommands(bool on)
{
    const std::pair<QAction*, QPushButton*> commands[] = {
        {FUi->actionAdd, FUi->AddButton},
        {FUi->actionInputFile, FUi->InputFileButton},
        {FUi->actionPaste, FUi->PasteButton},
        {FUi->actionModify, FUi->ModifyButton},
        {FUi->actionSortForward, FUi->SortForwardButton},
        {FUi->actionSortBackward, FUi->SortBackwardButton},
        {FUi->actionDelete, FUi->DeleteButton},
        {FUi->actionDeleteDuplicates, FUi->DeleteDuplicatesButton},
        {FUi->actionDeleteAll, FUi->DeleteAllButton},
        {FUi->actionReplace, FUi->ReplaceButton},
        {FUi->actionCheckLinks, FUi->LinkCheckButton},
        {FUi->actionReplaceWithMoved, FUi->ReplaceWithMovedButton},
        {FUi->actionUndo, nullptr},
        {FUi->actionRedo, nullptr},
    };
    for (const auto& [action, button] : commands) {
        action->setEnabled(on);
        if (button)
            button->setEnabled(on);
    }
}
