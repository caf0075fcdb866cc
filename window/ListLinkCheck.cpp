#include "ListLinkCheck.h"

#include <algorithm>

#include <QHBoxLayout>
#include <QProgressBar>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>

#include "LinkMarks.h"
#include "UrlListView.h"
#include "linkcheck/LinkChecker.h"
#include "workspace/Cp932.h"
#include "workspace/UrlListModel.h"
#include "workspace/Workspace.h"

namespace {
constexpr int FlushMilliseconds = 100;
}  // namespace

TListLinkCheck::TListLinkCheck(TWorkspace& workspace, TUrlListView& view, QStatusBar& statusBar)
    : QObject(&view), FWorkspace(workspace), FView(view), FMarks(std::make_unique<TLinkMarks>(workspace.List))
{
    FChecker = new TLinkChecker(this);
    connect(FChecker, &TLinkChecker::Decided, this, &TListLinkCheck::Decided);
    connect(FChecker, &TLinkChecker::Finished, this, &TListLinkCheck::Finished);
    view.setItemDelegate(new TLinkMarkDelegate(*FMarks, workspace.List, &view));
    view.Model()->SetAnnotations(FMarks.get());
    KeepMarksOnTheirItems();
    CreateProgress(statusBar);
}

TListLinkCheck::~TListLinkCheck() = default;

void TListLinkCheck::KeepMarksOnTheirItems()
{
    // Marks follow once, when the command ends: a removal of many runs is
    // many signals, and each following walks the whole list.
    connect(&FWorkspace, &TWorkspace::CommandEnded, this, &TListLinkCheck::MoveMarks);
    const auto changed = [this](bool moved) {
        if (FMarks->Empty())
            return;
        const bool pending = FItemsMoved || FItemsRewritten;
        (moved ? FItemsMoved : FItemsRewritten) = true;
        if (!pending && !FWorkspace.Running())
            QTimer::singleShot(0, this, &TListLinkCheck::MoveMarks);
    };
    const TUrlListModel* model = &FWorkspace.ListModel;
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
void TListLinkCheck::MoveMarks()
{
    if (!FItemsMoved && !FItemsRewritten)
        return;
    FMarks->Follow(FWorkspace.List, !FItemsMoved);
    FItemsMoved = FItemsRewritten = false;
}

void TListLinkCheck::CreateProgress(QStatusBar& statusBar)
{
    FLinkProgressRow = new QWidget(&statusBar);
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
    statusBar.addPermanentWidget(FLinkProgressRow);
    FLinkProgressRow->hide();
    connect(FLinkAbortButton, &QPushButton::clicked, this, &TListLinkCheck::Stop);
    connect(FChecker, &TLinkChecker::Progress, this, [this](int decided) { FLinkDecided = decided; });
    FLinkFlush = new QTimer(this);
    connect(FLinkFlush, &QTimer::timeout, this, &TListLinkCheck::FlushOutcomes);
}

bool TListLinkCheck::Running() const
{
    return FChecker->Running();
}

void TListLinkCheck::Check(bool chosenInMenu)
{
    if (Running())
        return;
    const TUrlList& list = FWorkspace.List;
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
        FWorkspace.SetStatus(QStringLiteral("エラー＞確認するURLがありません。"));
        return;
    }
    QStringList urls;
    urls.reserve(static_cast<qsizetype>(rows.size()));
    for (std::size_t row : rows)
        urls << FromCp932(list[row]);
    FCheckedRows = std::move(rows);
    FOutcomeCounts.assign(5, 0);
    FWorkspace.SetStatus(QStringLiteral("報告＞リンクを確認しています。しばらくお待ち下さい。"));
    emit Started();
    FLinkProgressBar->setRange(0, static_cast<int>(urls.size()));
    FLinkProgressBar->setValue(0);
    FLinkProgressRow->show();
    FLinkDecided = 0;
    FLinkChangedFirst = FLinkChangedLast = -1;
    FLinkFlush->start(FlushMilliseconds);
    FChecker->Start(urls);
}

void TListLinkCheck::Decided(int index, const TLinkResult& result)
{
    const std::size_t row = FCheckedRows[static_cast<std::size_t>(index)];
    FMarks->Set(row, FWorkspace.List[row], result);
    ++FOutcomeCounts[static_cast<std::size_t>(result.Outcome)];
    const int at = static_cast<int>(row);
    FLinkChangedFirst = FLinkChangedFirst < 0 ? at : std::min(FLinkChangedFirst, at);
    FLinkChangedLast = std::max(FLinkChangedLast, at);
}

void TListLinkCheck::FlushOutcomes()
{
    if (FLinkChangedFirst >= 0)
        FView.Model()->AnnotationsChanged(FLinkChangedFirst, FLinkChangedLast);
    FLinkChangedFirst = FLinkChangedLast = -1;
    FLinkProgressBar->setValue(FLinkDecided);
}

void TListLinkCheck::Stop()
{
    if (Running())
        FChecker->Abort();
}

void TListLinkCheck::Finished(bool completed)
{
    FLinkFlush->stop();
    FlushOutcomes();
    FLinkProgressRow->hide();
    emit Ended();
    if (completed) {
        // Exactly the dead ones, so that 削除 removes them.
        std::vector<std::size_t> dead;
        for (std::size_t row : FCheckedRows) {
            const TLinkResult* result = FMarks->At(FWorkspace.List, row);
            if (result && result->Outcome == TLinkOutcome::Dead)
                dead.push_back(row);
        }
        FWorkspace.SelectOnly(dead);
        const auto count = [this](TLinkOutcome outcome) {
            return FOutcomeCounts[static_cast<std::size_t>(outcome)];
        };
        FWorkspace.SetStatus(
            QStringLiteral("報告＞リンク確認完了：正常 %1件、移転 %2件、リンク切れ %3件、確認できず "
                           "%4件、対象外 %5件。")
                .arg(count(TLinkOutcome::Ok))
                .arg(count(TLinkOutcome::Moved))
                .arg(count(TLinkOutcome::Dead))
                .arg(count(TLinkOutcome::Unverified))
                .arg(count(TLinkOutcome::Skipped)));
    } else {
        FWorkspace.SetStatus(QStringLiteral("報告＞リンク確認を中止しました。"));
    }
    FCheckedRows.clear();
    FView.viewport()->update();
}

void TListLinkCheck::ReplaceWithMoved()
{
    TUrlList& list = FWorkspace.List;
    std::vector<std::pair<std::size_t, std::string>> targets;
    if (!FMarks->Empty())
        for (std::size_t row = 0; row < list.Count(); ++row)
            if (const TLinkResult* result = FMarks->At(list, row);
                result && result->Outcome == TLinkOutcome::Moved)
                targets.emplace_back(row, ToCp932(result->Target.toString()));
    if (targets.empty()) {
        FWorkspace.SetStatus(QStringLiteral("エラー＞置き換える移転先がありません。"));
        return;
    }
    {
        TUndoRecording undo(FWorkspace.History, list);
        for (auto& [row, text] : targets)
            undo->Rewrite(list, row, std::move(text));
    }
    FWorkspace.SetStatus(QStringLiteral("報告＞移転先に置き換えました。(%1件)").arg(targets.size()));
}
