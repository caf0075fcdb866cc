#pragma once
// The main window: the controls of the four pages, the status line and the
// non-visual components over the workspace. Controls write the workspace's
// options as they are edited; the workspace's signals and its list model
// bring its changes back.
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include <QString>
#include <QWidget>

#include "UserActivityWatch.h"

class QAction;
class QLabel;

class TClipboardWatcher;
class TListLinkCheck;
class TReadProgress;
class TTrayResidence;
class TWorkspace;
class TWorkspaceServices;
struct TExtractOptions;

namespace Ui {
class TMainWindow;
}  // namespace Ui

class TMainWindow : public QWidget {
    Q_OBJECT
public:
    // services: dialogs, clipboard and error report (nullptr: this desktop's).
    // programFolder: where the workspace files live, with a trailing "/"
    // (empty: the executable's folder).
    explicit TMainWindow(TWorkspaceServices* services = nullptr, std::string programFolder = {},
                         QWidget* parent = nullptr);
    ~TMainWindow() override;

    TWorkspace& Workspace() { return *FWorkspace; }
    // Files read into the list, with progress when long.
    TReadProgress* Reading;

    // ---- Window handlers ----
    void LoadWorkspace();
    void FinishShowing();
    // True when the window may close.
    bool SaveBeforeQuitting();
    // The end that nobody can be asked about (a signal, the session's end):
    // saves what can be saved once, tells standard error about the rest and
    // returns the exit status, 1 when a file was left unsaved. Any later
    // close neither saves nor asks.
    int SaveWithoutAsking();
    int EndStatus() const { return FEndStatus; }
    // The shortcut file name the prefix and digit count give.
    void ShowSampleName();
    // An emptied digit count becomes 1; any other draws the sample.
    void TakeDigitCount();
    // On the extended operations page: the number of items and of selected ones.
    void ShowListCounts();
    // On the memo page: the picture for the right code, at a drawn height.
    void RevealMascot();
    void ShowCredits();
    void ShowDedication();
    void MonitoringToggled();
    // Files dropped on the window, in the desktop's order.
    void ReadDroppedFiles(const std::vector<std::string>& paths);

    // ---- Clipboard monitoring and the notification area ----
    void ClipboardChanged();
    TTrayResidence& Tray() { return *FTray; }

    // ---- Link check ----
    bool CheckingLinks() const;
    TListLinkCheck& LinkCheck() { return *FLinkCheck; }

    // Runs a workspace handler as a command, with a busy cursor on a long list.
    void RunCommand(const std::function<void()>& handler);
    void ResetListHorizontalExtent();

    // The texts the memo page's picture reveals.
    static QString CreditsLine();
    static QString DedicationLine();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The non-visual components: a window is never built without them.
    TClipboardWatcher* FClipboardWatcher = nullptr;
    TTrayResidence* FTray = nullptr;

    void FinishForm();
    void BindOptionEdits();
    void FollowWorkspace();
    void OptionsToControls(const TExtractOptions& options);
    void BindEvents();
    void BindCommands();
    void BindListActions();
    void OpenSelectedInBrowser();
    bool TakeListTextDrop(QObject* watched, QDropEvent* event);
    void WatchClipboard();
    void AcceptFileDrops();
    bool TakeFileDrop(QDropEvent* event);
    void MemosToWorkspace();
    void ReportUnreadableFiles();
    void MemosToControls();
    void ShowSelectedCount();
    // A long reading has ended: the workspace takes up its end.
    void FinishReading();
    void BindLinkCheck();
    void EnableListCommands(bool on);
    static void SetCaption(QLabel* label, const QString& caption);

    std::unique_ptr<TWorkspaceServices> FOwnServices;
    std::unique_ptr<TWorkspace> FWorkspace;
    std::unique_ptr<Ui::TMainWindow> FUi;  // the controls and actions of MainWindow.ui
    QLabel* FStatusText = nullptr;         // the status line's text inside the status bar
    bool FShowingWorkspace = false;        // controls are being set from the workspace
    std::minstd_rand FPictureDraws;        // unseeded: the same draws every run
    bool FSavedForEnd = false;             // SaveWithoutAsking has run, and the user has done nothing since
    TUserActivityWatch FActivityAfterSave;
    int FEndStatus = 0;
    bool FUnreadableReported = false;

    TListLinkCheck* FLinkCheck = nullptr;
    bool FLinkCheckFromMenu = false;  // the check was started from the list's menu
};
