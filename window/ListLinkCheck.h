#pragma once
// The link check of the list: which URLs still work, shown on each item,
// the dead ones selected at the end, the moved ones rewritten on request.
// The list stays scrollable and selectable meanwhile; only the commands
// that would change it wait, between Started and Ended.
#include <cstddef>
#include <memory>
#include <vector>

#include <QObject>

class QProgressBar;
class QPushButton;
class QStatusBar;
class QTimer;
class QWidget;
class TLinkChecker;
class TLinkMarks;
struct TLinkResult;
class TUrlListView;
class TWorkspace;

class TListLinkCheck : public QObject {
    Q_OBJECT
public:
    // The outcomes are drawn on the view's rows; the bar and 中止 sit in the
    // status bar while a check runs.
    TListLinkCheck(TWorkspace& workspace, TUrlListView& view, QStatusBar& statusBar);
    ~TListLinkCheck() override;

    // The selected URLs, or every URL (from the context menu: the focused
    // one) when none is selected.
    void Check(bool chosenInMenu);
    // Stops a check at once, keeping the outcomes so far (中止).
    void Stop();
    bool Running() const;
    // Each URL found moved takes its new address, as one undoable step.
    void ReplaceWithMoved();
    TLinkChecker* Checker() const { return FChecker; }
    const TLinkMarks& Marks() const { return *FMarks; }

signals:
    void Started();
    void Ended();

private:
    void CreateProgress(QStatusBar& statusBar);
    void Decided(int index, const TLinkResult& result);
    void FlushOutcomes();
    void Finished(bool completed);
    // The outcomes move with their items when the list changes.
    void KeepMarksOnTheirItems();
    void MoveMarks();

    TWorkspace& FWorkspace;
    TUrlListView& FView;
    std::unique_ptr<TLinkMarks> FMarks;
    TLinkChecker* FChecker = nullptr;
    QWidget* FLinkProgressRow = nullptr;  // the check's bar and 中止, in the status bar
    QProgressBar* FLinkProgressBar = nullptr;
    QPushButton* FLinkAbortButton = nullptr;
    // Outcomes and the progress reach the list, the bar and a screen
    // reader in batches, not one change per address.
    QTimer* FLinkFlush = nullptr;
    int FLinkChangedFirst = -1, FLinkChangedLast = -1;  // rows marked since the last batch
    int FLinkDecided = 0;
    std::vector<std::size_t> FCheckedRows;  // the check's inputs, as rows of the list
    std::vector<int> FOutcomeCounts;
    // How the list changed since the marks last followed it.
    bool FItemsMoved = false, FItemsRewritten = false;
};
