// The list's keys, its context menu, opening items in the browser and URLs
// dragged out of the list or dropped onto it.
#include <QDropEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>

#include "BrowserOpener.h"
#include "MainWindow.h"
#include "UrlDrag.h"
#include "UrlListContextMenu.h"
#include "UrlListView.h"
#include "Workspace.h"

void TMainWindow::BindListActions()
{
    // Enter in the entry line and the list's keys press the buttons, so that
    // each runs exactly what its button runs.
    connect(UrlEntryEdit, &QLineEdit::returnPressed, AddButton, &QPushButton::click);
    connect(UrlListBox, &TUrlListView::DeletePressed, DeleteButton, &QPushButton::click);
    connect(UrlListBox, &TUrlListView::CopyPressed, CopyButton, &QPushButton::click);
    const auto undo = [this] { RunWorkspaceHandler([this] { FWorkspace->Undo(); }); };
    connect(UrlListBox, &TUrlListView::UndoPressed, this, undo);
    connect(UrlListBox, &TUrlListView::RedoPressed, this,
            [this] { RunWorkspaceHandler([this] { FWorkspace->Redo(); }); });

    auto* menu = new TUrlListContextMenu(this);
    connect(menu->UndoItem, &QAction::triggered, this, undo);
    connect(menu->OpenItem, &QAction::triggered, this, &TMainWindow::OpenSelectedInBrowser);
    connect(menu->CopyItem, &QAction::triggered, CopyButton, &QPushButton::click);
    connect(menu->ModifyItem, &QAction::triggered, ModifyButton, &QPushButton::click);
    connect(menu->DeleteItem, &QAction::triggered, DeleteButton, &QPushButton::click);
    connect(UrlListBox, &TUrlListView::ContextMenuWanted, this, [this, menu](const QPoint& position) {
        menu->UndoItem->setEnabled(FWorkspace->History.CanUndo());
        menu->popup(position);
    });

    // The list's flags already hold the view's selection.
    UrlListBox->DragData = [this] { return UrlDragData(FWorkspace->List); };
}

void TMainWindow::OpenSelectedInBrowser()
{
    RunWorkspaceHandler([this] { OpenChosenItemsInBrowser(*FWorkspace, this); });
}

// Text or links dropped onto the list are pasted; the list's own items
// dragged anywhere in this window are not taken at all.
bool TMainWindow::TakeListTextDrop(QObject* watched, QDropEvent* event)
{
    QObject* source = event->source();
    if (source && (source == UrlListBox || source == UrlListBox->viewport())) {
        event->ignore();
        return true;
    }
    if (watched != UrlListBox && watched != UrlListBox->viewport())
        return false;
    const std::optional<std::string> text = DroppedText(event->mimeData());
    if (!text) {
        event->ignore();
        return true;
    }
    event->acceptProposedAction();
    if (event->type() == QEvent::Drop)
        RunWorkspaceHandler([this, &text] { FWorkspace->PasteDroppedText(*text); });
    return true;
}
