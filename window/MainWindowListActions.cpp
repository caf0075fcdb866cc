// The window's commands as actions: the buttons, the list's context menu
// and the list's keys trigger them, so each runs exactly one handler. Also
// opening items in the browser and URLs dragged out of the list or dropped
// onto it.
#include <QAction>
#include <QDropEvent>
#include <QKeySequence>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QTimer>

#include "BrowserOpener.h"
#include "CopiedPage.h"
#include "MainWindow.h"
#include "ReadProgress.h"
#include "UrlDrag.h"
#include "UrlListView.h"
#include "ui_MainWindow.h"
#include "workspace/Workspace.h"

void TMainWindow::BindCommands()
{
    using THandler = void (TWorkspace::*)();
    const std::pair<QAction*, THandler> commands[] = {
        {FUi->actionAdd, &TWorkspace::AddEnteredUrl},
        {FUi->actionInputFile, &TWorkspace::InputTextFile},
        {FUi->actionPaste, &TWorkspace::PasteClipboard},
        {FUi->actionModify, &TWorkspace::ModifySelected},
        {FUi->actionSortForward, &TWorkspace::SortForward},
        {FUi->actionSortBackward, &TWorkspace::SortBackward},
        {FUi->actionDelete, &TWorkspace::DeleteSelected},
        {FUi->actionDeleteDuplicates, &TWorkspace::DeleteDuplicates},
        {FUi->actionDeleteAll, &TWorkspace::DeleteAll},
        {FUi->actionReplace, &TWorkspace::ReplaceInUrls},
        {FUi->actionSearch, &TWorkspace::SearchAndSelect},
        {FUi->actionClearSelection, &TWorkspace::ClearSelection},
        {FUi->actionInvertSelection, &TWorkspace::InvertSelection},
        {FUi->actionUndo, &TWorkspace::Undo},
        {FUi->actionRedo, &TWorkspace::Redo},
        {FUi->actionStripTracking, &TWorkspace::StripTracking},
    };
    // Each action runs one handler of the workspace or of its exports.
    const auto bind = [this](QAction* action, auto& target, auto handler) {
        connect(action, &QAction::triggered, this,
                [this, &target, handler] { RunCommand([&target, handler] { (target.*handler)(); }); });
    };
    for (const auto& [action, handler] : commands)
        bind(action, *FWorkspace, handler);
    using TExport = void (TListExports::*)();
    const std::pair<QAction*, TExport> exports[] = {
        {FUi->actionCopy, &TListExports::CopySelected},
        {FUi->actionCreateShortcuts, &TListExports::CreateShortcuts},
        {FUi->actionCreateUrlList, &TListExports::CreateUrlListFile},
        {FUi->actionCreateLinkPage, &TListExports::CreateLinkPage},
        {FUi->actionCopyWholeList, &TListExports::CopyWholeList},
        {FUi->actionBookmarks, &TListExports::CreateBookmarks},
    };
    for (const auto& [action, handler] : exports)
        bind(action, FWorkspace->Exports, handler);
    connect(FUi->actionOpenInBrowser, &QAction::triggered, this, &TMainWindow::OpenSelectedInBrowser);
    connect(FUi->actionSelectAll, &QAction::triggered, FUi->UrlListBox, &QListView::selectAll);

    const std::pair<QPushButton*, QAction*> buttons[] = {
        {FUi->AddButton, FUi->actionAdd},
        {FUi->InputFileButton, FUi->actionInputFile},
        {FUi->PasteButton, FUi->actionPaste},
        {FUi->CopyButton, FUi->actionCopy},
        {FUi->ModifyButton, FUi->actionModify},
        {FUi->SortForwardButton, FUi->actionSortForward},
        {FUi->SortBackwardButton, FUi->actionSortBackward},
        {FUi->DeleteButton, FUi->actionDelete},
        {FUi->DeleteDuplicatesButton, FUi->actionDeleteDuplicates},
        {FUi->DeleteAllButton, FUi->actionDeleteAll},
        {FUi->CreateShortcutsButton, FUi->actionCreateShortcuts},
        {FUi->CreateUrlListButton, FUi->actionCreateUrlList},
        {FUi->CreateLinkPageButton, FUi->actionCreateLinkPage},
        {FUi->CopyWholeListButton, FUi->actionCopyWholeList},
        {FUi->ReplaceButton, FUi->actionReplace},
        {FUi->SearchButton, FUi->actionSearch},
        {FUi->ClearSelectionButton, FUi->actionClearSelection},
        {FUi->InvertSelectionButton, FUi->actionInvertSelection},
        {FUi->BookmarksButton, FUi->actionBookmarks},
        {FUi->StripTrackingButton, FUi->actionStripTracking},
    };
    for (const auto& [button, action] : buttons)
        connect(button, &QPushButton::clicked, action, &QAction::trigger);
    connect(FUi->UrlEntryEdit, &QLineEdit::returnPressed, FUi->actionAdd, &QAction::trigger);
}

void TMainWindow::BindListActions()
{
    // The list's keys work only while the list has the focus. Undo, redo and
    // delete are named explicitly: the desktop's standard sequences for them
    // would add keys (Ctrl+D deletes on X11).
    const std::pair<QAction*, QList<QKeySequence>> keys[] = {
        {FUi->actionUndo, {QKeySequence(Qt::CTRL | Qt::Key_Z)}},
        {FUi->actionRedo,
         {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)}},
        {FUi->actionDelete, {QKeySequence(Qt::Key_Delete)}},
        {FUi->actionSelectAll, {QKeySequence(Qt::CTRL | Qt::Key_A)}},
        {FUi->actionCopy, QKeySequence::keyBindings(QKeySequence::Copy)},
    };
    for (const auto& [action, sequences] : keys) {
        action->setShortcuts(sequences);
        action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        action->setShortcutVisibleInContextMenu(false);
        FUi->UrlListBox->addAction(action);
    }

    auto* menu = new QMenu(this);
    menu->setObjectName(QStringLiteral("UrlListMenu"));
    menu->addAction(FUi->actionUndo);
    menu->addSeparator();
    menu->addActions({FUi->actionOpenInBrowser, FUi->actionCopy, FUi->actionModify});
    // The menu's entry takes what the menu's other entries take: the
    // selection, or the item under the pointer, never the whole list.
    auto* stripChosen = menu->addAction(FUi->actionStripTracking->text());
    stripChosen->setObjectName(QStringLiteral("actionStripTrackingChosen"));
    connect(stripChosen, &QAction::triggered, this,
            [this] { RunCommand([this] { FWorkspace->StripTrackingFromChosen(); }); });
    menu->addAction(FUi->actionDelete);
    menu->addSeparator();
    menu->addAction(FUi->actionCheckLinks);
    // Greyed in the menu when there is nothing to undo; the key stays live
    // and says so in the status line. A check under way greys it anyway.
    // A check started from the menu takes the items the menu's other
    // commands take; the action fires after the menu has hidden.
    connect(menu, &QMenu::aboutToShow, this, [this] {
        FUi->actionUndo->setEnabled(FWorkspace->History.CanUndo() && !CheckingLinks());
        FLinkCheckFromMenu = true;
    });
    connect(menu, &QMenu::aboutToHide, this, [this] {
        FUi->actionUndo->setEnabled(!CheckingLinks());
        QTimer::singleShot(0, this, [this] { FLinkCheckFromMenu = false; });
    });
    connect(FUi->UrlListBox, &TUrlListView::ContextMenuWanted, menu,
            [menu](const QPoint& position) { menu->popup(position); });
}

void TMainWindow::OpenSelectedInBrowser()
{
    RunCommand([this] { OpenChosenItemsInBrowser(*FWorkspace, this); });
}

// Text or links dropped onto the list are pasted; the list's own items
// dragged anywhere in this window are not taken at all.
bool TMainWindow::TakeListTextDrop(QObject* watched, QDropEvent* event)
{
    QObject* source = event->source();
    if (source && (source == FUi->UrlListBox || source == FUi->UrlListBox->viewport())) {
        event->ignore();
        return true;
    }
    if (watched != FUi->UrlListBox && watched != FUi->UrlListBox->viewport())
        return false;
    if (CheckingLinks() || Reading->Reading() || FWorkspace->Running()) {
        event->ignore();
        return true;
    }
    const std::optional<std::string> text = DroppedText(event->mimeData());
    const QMimeData* dropped = event->mimeData();
    const std::optional<TCopiedPage> page =
        text || !dropped ? std::nullopt : CopiedPageOf(*dropped, dropped->formats());
    if (!text && !page) {
        event->ignore();
        return true;
    }
    event->acceptProposedAction();
    if (event->type() == QEvent::Drop)
        RunCommand([this, &text, dropped] {
            FWorkspace->PasteDroppedText(text.value_or(std::string()),
                                         dropped ? CopiedPageOf(*dropped, dropped->formats()) : std::nullopt);
        });
    return true;
}
