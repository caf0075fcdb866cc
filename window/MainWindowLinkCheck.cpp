// The link check in the window: which URLs still work, shown on each item,
// the dead ones selected at the end, the moved ones rewritten on request.
// The list stays scrollable and selectable meanwhile; only the commands
// that would change it wait.
#include <algorithm>

#include <QAction>
#include <QHBoxLayout>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>

#include "Cp932.h"
#include "LinkChecker.h"
#include "LinkMarks.h"
#include "MainWindow.h"
#include "UrlListModel.h"
#include "UrlListView.h"
#include "Workspace.h"
#include "ui_MainWindow.h"

namespace {
constexpr int FlushMilliseconds = 100;
}  // namespace

void TMainWindow::BindLinkCheck()
{
    FLinkMarks = std::make_unique<TLinkMarks>(FWorkspace->List);
    FLinkChecker = new TLinkChecker(this);
    connect(FLinkChecker, &TLinkChecker::Decided, this, &TMainWindow::LinkDecided);
    connect(FLinkChecker, &TLinkChecker::Finished, this, &TMainWindow::LinkCheckFinished);
    connect(FUi->actionCheckLinks, &QAction::triggered, this, [this] { CheckLinks(FLinkCheckFromMenu); });
    connect(FUi->actionReplaceWithMoved, &QAction::triggered, this, &TMainWindow::ReplaceWithMoved);
    connect(FUi->LinkCheckButton, &QPushButton::clicked, FUi->actionCheckLinks, &QAction::trigger);
    connect(FUi->ReplaceWithMovedButton, &QPushButton::clicked, FUi->actionReplaceWithMoved,
            &QAction::trigger);

    TUrlListView* view = FUi->UrlListBox;
    view->setItemDelegate(new TLinkMarkDelegate(*FLinkMarks, FWorkspace->List, view));
    view->Model()->SetAnnotations(FLinkMarks.get());
    KeepMarksOnTheirItems();
    CreateLinkProgress();
}

void TMainWindow::KeepMarksOnTheirItems()
{
    // Marks follow once, when the command ends: a removal of many runs is
    // many signals, and each following walks the whole list.
    connect(FWorkspace.get(), &TWorkspace::CommandEnded, this, &TMainWindow::MoveMarks);
    const auto changed = [this](bool moved) {
        if (FLinkMarks->Empty())
            return;
        const bool pending = FItemsMoved || FItemsRewritten;
        (moved ? FItemsMoved : FItemsRewritten) = true;
        if (!pending && !FWorkspace->Running())
            QTimer::singleShot(0, this, &TMainWindow::MoveMarks);
    };
    const TUrlListModel* model = &FWorkspace->ListModel;
    for (auto signal : {&QAbstractItemModel::rowsInserted, &QAbstractItemModel::rowsRemoved})
        connect(model, signal, this, [changed] { changed(true); });
    connect(model, &QAbstractItemModel::layoutChanged, this, [changed] { changed(true); });
    connect(model, &QAbstractItemModel::modelReset, this, [changed] { changed(true); });
    connect(model, &QAbstractItemModel::dataChanged, this,
            [changed](const QModelIndex&, const QModelIndex&, const QList<int>& roles) {
                if (roles.contains(Qt::DisplayRole))  // not a change of the marks themselves
                    changed(false);
            });
}

// Items that moved take their outcomes along by text; where texts were only
// rewritten in place, a rewritten row loses its outcome and a duplicate
// elsewhere does not gain one.
void TMainWindow::MoveMarks()
{
    if (!FItemsMoved && !FItemsRewritten)
        return;
    FLinkMarks->Follow(FWorkspace->List, !FItemsMoved);
    FItemsMoved = FItemsRewritten = false;
}

void TMainWindow::CreateLinkProgress()
{
    FLinkProgressRow = new QWidget(FUi->StatusBar);
    FLinkProgressBar = new QProgressBar(FLinkProgressRow);
    FLinkAbortButton = new QPushButton(QStringLiteral("中止"), FLinkProgressRow);
    FLinkProgressRow->setObjectName(QStringLiteral("LinkCheckProgressRow"));
    FLinkProgressBar->setObjectName(QStringLiteral("LinkCheckProgressBar"));
    FLinkAbortButton->setObjectName(QStringLiteral("LinkCheckAbortButton"));
    FLinkProgressBar->setTextVisible(false);
    FLinkProgressBar->setMaximumHeight(14);
    auto* layout = new QHBoxLayout(FLinkProgressRow);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(FLinkProgressBar);
    layout->addWidget(FLinkAbortButton);
    FUi->StatusBar->addPermanentWidget(FLinkProgressRow);
    FLinkProgressRow->hide();
    connect(FLinkAbortButton, &QPushButton::clicked, this, &TMainWindow::StopLinkCheck);
    connect(FLinkChecker, &TLinkChecker::Progress, this, [this](int decided) { FLinkDecided = decided; });
    FLinkFlush = new QTimer(this);
    connect(FLinkFlush, &QTimer::timeout, this, &TMainWindow::FlushLinkOutcomes);
}

bool TMainWindow::CheckingLinks() const
{
    return FLinkChecker && FLinkChecker->Running();
}

void TMainWindow::CheckLinks(bool chosenInMenu)
{
    if (CheckingLinks())
        return;
    const TUrlList& list = FWorkspace->List;
    std::vector<std::size_t> rows;
    for (std::size_t i = 0; i < list.Count(); ++i)
        if (list.Selected(i))
            rows.push_back(i);
    const int focused = list.Focused();
    if (rows.empty() && chosenInMenu && focused >= 0 && static_cast<std::size_t>(focused) < list.Count())
        rows.push_back(static_cast<std::size_t>(focused));
    else if (rows.empty() && !chosenInMenu)
        for (std::size_t i = 0; i < list.Count(); ++i)
            rows.push_back(i);
    if (rows.empty()) {
        FWorkspace->SetStatus(QStringLiteral("エラー＞確認するURLがありません。"));
        return;
    }
    QStringList urls;
    urls.reserve(static_cast<qsizetype>(rows.size()));
    for (std::size_t row : rows)
        urls << FromCp932(list[row]);
    FCheckedRows = std::move(rows);
    FOutcomeCounts.assign(5, 0);
    FWorkspace->SetStatus(QStringLiteral("報告＞リンクを確認しています。しばらくお待ち下さい。"));
    EnableListCommands(false);
    FLinkProgressBar->setRange(0, static_cast<int>(urls.size()));
    FLinkProgressBar->setValue(0);
    FLinkProgressRow->show();
    FLinkDecided = 0;
    FLinkChangedFirst = FLinkChangedLast = -1;
    FLinkFlush->start(FlushMilliseconds);
    FLinkChecker->Start(urls);
}

void TMainWindow::LinkDecided(int index, const TLinkResult& result)
{
    const std::size_t row = FCheckedRows[static_cast<std::size_t>(index)];
    FLinkMarks->Set(row, FWorkspace->List[row], result);
    ++FOutcomeCounts[static_cast<std::size_t>(result.Outcome)];
    const int at = static_cast<int>(row);
    FLinkChangedFirst = FLinkChangedFirst < 0 ? at : std::min(FLinkChangedFirst, at);
    FLinkChangedLast = std::max(FLinkChangedLast, at);
}

void TMainWindow::FlushLinkOutcomes()
{
    if (FLinkChangedFirst >= 0)
        FUi->UrlListBox->Model()->AnnotationsChanged(FLinkChangedFirst, FLinkChangedLast);
    FLinkChangedFirst = FLinkChangedLast = -1;
    FLinkProgressBar->setValue(FLinkDecided);
}

void TMainWindow::StopLinkCheck()
{
    if (CheckingLinks())
        FLinkChecker->Abort();
}

void TMainWindow::LinkCheckFinished(bool completed)
{
    FLinkFlush->stop();
    FlushLinkOutcomes();
    FLinkProgressRow->hide();
    EnableListCommands(true);
    if (completed) {
        // Exactly the dead ones, so that 削除 removes them.
        std::vector<std::size_t> dead;
        for (std::size_t row : FCheckedRows) {
            const TLinkResult* result = FLinkMarks->At(FWorkspace->List, row);
            if (result && result->Outcome == TLinkOutcome::Dead)
                dead.push_back(row);
        }
        FWorkspace->SelectOnly(dead);
        const auto count = [this](TLinkOutcome outcome) {
            return FOutcomeCounts[static_cast<std::size_t>(outcome)];
        };
        FWorkspace->SetStatus(
            QStringLiteral("報告＞リンク確認完了：正常 %1件、移転 %2件、リンク切れ %3件、確認できず "
                           "%4件、対象外 %5件。")
                .arg(count(TLinkOutcome::Ok))
                .arg(count(TLinkOutcome::Moved))
                .arg(count(TLinkOutcome::Dead))
                .arg(count(TLinkOutcome::Unverified))
                .arg(count(TLinkOutcome::Skipped)));
    } else {
        FWorkspace->SetStatus(QStringLiteral("報告＞リンク確認を中止しました。"));
    }
    FCheckedRows.clear();
    FUi->UrlListBox->viewport()->update();
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

void TMainWindow::ReplaceWithMoved()
{
    RunCommand([this] {
        TUrlList& list = FWorkspace->List;
        std::vector<std::pair<std::size_t, std::string>> targets;
        if (!FLinkMarks->Empty())
            for (std::size_t row = 0; row < list.Count(); ++row)
                if (const TLinkResult* result = FLinkMarks->At(list, row);
                    result && result->Outcome == TLinkOutcome::Moved)
                    targets.emplace_back(row, ToCp932(result->Target.toString()));
        if (targets.empty()) {
            FWorkspace->SetStatus(QStringLiteral("エラー＞置き換える移転先がありません。"));
            return;
        }
        {
            TUndoRecording undo(FWorkspace->History, list);
            for (auto& [row, text] : targets)
                undo->Rewrite(list, row, std::move(text));
        }
        FWorkspace->SetStatus(QStringLiteral("報告＞移転先に置き換えました。(%1件)").arg(targets.size()));
    });
}
