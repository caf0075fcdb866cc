#include "MainWindow.h"
#include "ListLinkCheck.h"

#include <utility>

#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPointer>
#include <QScopedValueRollback>
#include <QStatusBar>
#include <QTabWidget>
#include <QTimer>
#include <QUrl>

#include "AnchorLayout.h"
#include "BusyCursor.h"
#include "DesktopServices.h"
#include "DigitSpinField.h"
#include "LinkMarks.h"
#include "PictureBox.h"
#include "ReadProgress.h"
#include "TrayResidence.h"
#include "UrlListView.h"
#include "WindowAccessibility.h"
#include "WindowArtwork.h"
#include "ui_MainWindow.h"
#include "workspace/Cp932.h"
#include "workspace/FreedMemory.h"
#include "workspace/UrlListModel.h"
#include "workspace/Workspace.h"

namespace {

constexpr int ListScrollWidth = 1000;
constexpr std::size_t BusyListCount = 100000;
const QPoint StartPosition(162, 105);

// Dropped local files in the desktop's order, as file-system paths.
std::vector<std::string> DroppedFiles(const QMimeData* data)
{
    std::vector<std::string> paths;
    if (!data || !data->hasUrls())
        return paths;
    for (const QUrl& url : data->urls())
        if (url.isLocalFile())
            paths.push_back(QFile::encodeName(url.toLocalFile()).toStdString());
    return paths;
}

std::string MemoBytes(const QPlainTextEdit* memo)
{
    return MemoBytesFromText(memo->toPlainText());
}

QString MemoText(const std::string& bytes)
{
    return MemoTextFromBytes(bytes);
}

void SetTextIfChanged(QLineEdit* edit, const QString& text)
{
    if (edit->text() != text)
        edit->setText(text);
}

}  // namespace

TMainWindow::TMainWindow(TWorkspaceServices* services, std::string programFolder, QWidget* parent)
    : QWidget(parent), FUi(std::make_unique<Ui::TMainWindow>())
{
    AnnounceMainWindowAsFrame();
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setWindowIcon(MainIcon());

    if (!services) {
        FOwnServices = std::make_unique<TDesktopServices>(this);
        services = FOwnServices.get();
    }
    if (programFolder.empty())
        programFolder = ProgramFolderOfExecutable();
    FWorkspace = std::make_unique<TWorkspace>(*services, std::move(programFolder));

    FUi->setupUi(this);
    FinishForm();
    InstallAnchorLayouts(this);
    Reading = new TReadProgress(FUi->StatusBar, FUi->Pages);
    FWorkspace->ReadFiles = [this](const std::vector<std::string>& paths, TWorkspace::TReadDone done) {
        Reading->Read(paths, FWorkspace->Options, FWorkspace->List, std::move(done));
    };
    connect(Reading, &TReadProgress::Started, this, [this] { EnableListCommands(false); });
    // First among Ended's receivers: the others find the reading over.
    connect(Reading, &TReadProgress::Ended, this, &TMainWindow::FinishReading);
    move(StartPosition);

    FTray = new TTrayResidence(*this, *FWorkspace);
    WatchClipboard();
    FollowWorkspace();
    BindEvents();
    LoadWorkspace();
}

TMainWindow::~TMainWindow()
{
    // Controls and components refer to the workspace and the services, which
    // are members: they go first. One child may take others with it.
    std::vector<QPointer<QObject>> children;
    for (QObject* child : findChildren<QObject*>(QString(), Qt::FindDirectChildrenOnly))
        children.emplace_back(child);
    for (const QPointer<QObject>& child : children)
        delete child.data();
}

void TMainWindow::BindEvents()
{
    BindOptionEdits();
    BindCommands();
    connect(FUi->UrlListBox, &TUrlListView::DoubleClicked, this,
            [this] { RunCommand([this] { FWorkspace->Exports.CopyFocusedUrl(); }); });

    connect(FUi->PrefixEdit, &QLineEdit::textChanged, this, &TMainWindow::ShowSampleName);
    connect(FUi->DigitCountSpin, &TDigitSpinField::TextChanged, this, &TMainWindow::TakeDigitCount);
    // toggled, not clicked: monitoring follows the box however it changes, by code too.
    connect(FUi->MonitorCheck, &QCheckBox::toggled, this, &TMainWindow::MonitoringToggled);
    connect(FUi->Pages, &QTabWidget::currentChanged, this, [this](int index) {
        const QWidget* page = FUi->Pages->widget(index);
        if (page == FUi->ToolsPage)
            ShowListCounts();
        else if (page == FUi->MemoPage)
            RevealMascot();
    });
    connect(FUi->Mascot, &TPictureBox::Clicked, this, &TMainWindow::ShowCredits);
    connect(FUi->Mascot, &TPictureBox::DoubleClicked, this, &TMainWindow::ShowDedication);
    connect(&FActivityAfterSave, &TUserActivityWatch::Activity, this, [this] { FSavedForEnd = false; });
    BindListActions();
    BindLinkCheck();
}

// ---- Start-up and shut-down ----

void TMainWindow::LoadWorkspace()
{
    AcceptFileDrops();
    // The loaded options reach the controls the way a user's edits would,
    // so a control's textChanged is emitted only where its text really changes.
    FWorkspace->Run([this] { FWorkspace->LoadWorkspace(); });
    MemosToControls();
}

void TMainWindow::FinishShowing()
{
    ResetListHorizontalExtent();
    ReturnFreedMemory();  // what reading the files and laying out the list needed on the way
    // After the window has appeared, so that the box has a window to belong to.
    QTimer::singleShot(0, this, &TMainWindow::ReportUnreadableFiles);
}

bool TMainWindow::SaveBeforeQuitting()
{
    MemosToWorkspace();
    bool mayClose = false;
    FWorkspace->Run([this, &mayClose] { mayClose = FWorkspace->Files.SaveBeforeQuitting(); });
    return mayClose;
}

void TMainWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!event->spontaneous())
        FinishShowing();
}

void TMainWindow::closeEvent(QCloseEvent* event)
{
    // 終了 from the tray while a command's dialog is open: the program ends
    // once that command has returned, not under its feet.
    if (FWorkspace->Running()) {
        event->ignore();
        connect(FWorkspace.get(), &TWorkspace::CommandEnded, this, &QWidget::close,
                static_cast<Qt::ConnectionType>(Qt::SingleShotConnection | Qt::UniqueConnection));
        return;
    }
    FLinkCheck->Stop();
    // A reading under way stops and ends as it would have, its URLs in the
    // list, before the list is saved.
    Reading->EndNow();
    if (!FSavedForEnd && !SaveBeforeQuitting()) {
        event->ignore();
        return;
    }
    event->accept();
    // Closing ends the program even from the tray menu, when no window is
    // shown whose closing would end the event loop by itself.
    QCoreApplication::quit();
}

void TMainWindow::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange)
        return;
    // Window managers that ignore the missing maximize button still may not
    // maximize this window.
    if (windowState() & Qt::WindowMaximized) {
        setWindowState(windowState() & ~Qt::WindowMaximized);
        return;
    }
    if (isMinimized())
        FTray->Minimized();
    else
        FTray->WindowShown();
}

// ---- Binding ----

void TMainWindow::RunCommand(const std::function<void()>& handler)
{
    {
        // Most handlers walk the whole list; on a long one that takes a moment.
        const TBusyCursor busy(FWorkspace->List.Count() >= BusyListCount);
        FWorkspace->Run(handler);
    }
    if (!FWorkspace->Running() && FWorkspace->List.Count() >= BusyListCount)
        ReturnFreedMemory();
}

void TMainWindow::BindOptionEdits()
{
    using TSwitch = bool TExtractOptions::*;
    const std::pair<QCheckBox*, TSwitch> switches[] = {
        {FUi->WwwRuleCheck, &TExtractOptions::WwwRule},
        {FUi->SchemeRuleCheck, &TExtractOptions::SchemeRule},
        {FUi->KanaConversionCheck, &TExtractOptions::KanaConversion},
        {FUi->RangeExpansionCheck, &TExtractOptions::RangeExpansion},
        {FUi->MonitorCheck, &TExtractOptions::ClipboardMonitoring},
        {FUi->LinkPageWithoutDialogCheck, &TExtractOptions::LinkPageWithoutDialog},
        {FUi->ParentPathRuleCheck, &TExtractOptions::ParentPathRule},
        {FUi->RootPathRuleCheck, &TExtractOptions::RootPathRule},
        {FUi->SlashDotRuleCheck, &TExtractOptions::SlashDotRule},
        {FUi->LinkTargetsCheck, &TExtractOptions::LinkTargets},
        {FUi->Utf8ListCheck, &TExtractOptions::Utf8List},
    };
    for (const auto& [box, field] : switches)
        connect(box, &QCheckBox::toggled, this, [this, f = field](bool on) { FWorkspace->Options.*f = on; });

    using TText = std::string TExtractOptions::*;
    const std::pair<QLineEdit*, TText> texts[] = {
        {FUi->PrefixEdit, &TExtractOptions::ShortcutPrefix}, {FUi->FindEdit, &TExtractOptions::ReplaceFrom},
        {FUi->ReplaceWithEdit, &TExtractOptions::ReplaceTo}, {FUi->SearchEdit, &TExtractOptions::SearchText},
        {FUi->MemoLineEdit, &TExtractOptions::MemoLine},
    };
    // The workspace's bytes shown in a line are not written back: a byte
    // the text conversion cannot show stays as it was until the user edits.
    for (const auto& [edit, field] : texts)
        connect(edit, &QLineEdit::textChanged, this, [this, f = field](const QString& text) {
            if (!FShowingWorkspace)
                FWorkspace->Options.*f = ToCp932(text);
        });
    connect(FUi->DigitCountSpin, &TDigitSpinField::TextChanged, this,
            [this] { FWorkspace->Options.ShortcutDigits = FUi->DigitCountSpin->Value(); });
    connect(FUi->UrlEntryEdit, &QLineEdit::textChanged, this, [this](const QString& text) {
        if (!FShowingWorkspace)
            FWorkspace->UrlEntry = ToCp932(text);
    });
}

void TMainWindow::FollowWorkspace()
{
    TWorkspace* workspace = FWorkspace.get();
    connect(workspace, &TWorkspace::StatusChanged, FStatusText, &QLabel::setText);
    connect(workspace, &TWorkspace::OptionsLoaded, this, [this] { OptionsToControls(FWorkspace->Options); });
    connect(workspace, &TWorkspace::UrlEntryChanged, this, [this] {
        // Only a handler's own change reaches the entry line: what the user
        // typed stays as typed, even characters that Shift_JIS cannot hold.
        const QScopedValueRollback showing(FShowingWorkspace, true);
        SetTextIfChanged(FUi->UrlEntryEdit, FromCp932(FWorkspace->UrlEntry));
    });
    connect(workspace, &TWorkspace::SelectedCountChanged, this, &TMainWindow::ShowSelectedCount);
    connect(workspace, &TWorkspace::ListScrollWidthReset, this, &TMainWindow::ResetListHorizontalExtent);
    connect(&workspace->ListModel, &TUrlListModel::SelectionAnnounced, FUi->UrlListBox,
            &TUrlListView::ShowList);
}

void TMainWindow::OptionsToControls(const TExtractOptions& o)
{
    const QScopedValueRollback showing(FShowingWorkspace, true);
    // In the order the settings are read at start.
    SetTextIfChanged(FUi->PrefixEdit, FromCp932(o.ShortcutPrefix));
    FUi->DigitCountSpin->SetValue(o.ShortcutDigits);
    FUi->WwwRuleCheck->setChecked(o.WwwRule);
    FUi->SchemeRuleCheck->setChecked(o.SchemeRule);
    FUi->KanaConversionCheck->setChecked(o.KanaConversion);
    FUi->RangeExpansionCheck->setChecked(o.RangeExpansion);
    FUi->MonitorCheck->setChecked(o.ClipboardMonitoring);
    FUi->LinkPageWithoutDialogCheck->setChecked(o.LinkPageWithoutDialog);
    FUi->ParentPathRuleCheck->setChecked(o.ParentPathRule);
    FUi->RootPathRuleCheck->setChecked(o.RootPathRule);
    FUi->SlashDotRuleCheck->setChecked(o.SlashDotRule);
    FUi->LinkTargetsCheck->setChecked(o.LinkTargets);
    FUi->Utf8ListCheck->setChecked(o.Utf8List);
    SetTextIfChanged(FUi->FindEdit, FromCp932(o.ReplaceFrom));
    SetTextIfChanged(FUi->ReplaceWithEdit, FromCp932(o.ReplaceTo));
    SetTextIfChanged(FUi->SearchEdit, FromCp932(o.SearchText));
    SetTextIfChanged(FUi->MemoLineEdit, FromCp932(o.MemoLine));
}

void TMainWindow::MemosToWorkspace()
{
    // A memo left as shown keeps the workspace's bytes, which may hold more
    // than the text conversion could show.
    for (auto [edit, memo] : {std::pair(FUi->MemoPad1Edit, &FWorkspace->MemoPad1),
                              std::pair(FUi->MemoPad2Edit, &FWorkspace->MemoPad2)})
        if (edit->toPlainText() != MemoText(*memo))
            *memo = MemoBytes(edit);
}

void TMainWindow::MemosToControls()
{
    FUi->MemoPad1Edit->setPlainText(MemoText(FWorkspace->MemoPad1));
    FUi->MemoPad2Edit->setPlainText(MemoText(FWorkspace->MemoPad2));
}

void TMainWindow::ShowSelectedCount()
{
    SetCaption(FUi->SelectedCountLabel,
               QStringLiteral("選択数 ：") + QString::number(FWorkspace->List.SelectedCount()));
}

void TMainWindow::ResetListHorizontalExtent()
{
    FUi->UrlListBox->Model()->SetHorizontalExtent(ListScrollWidth);
}

// ---- Dropped files ----

void TMainWindow::AcceptFileDrops()
{
    setAcceptDrops(true);
    // Controls that take text drops of their own would keep dropped files
    // from the window; files go to the window wherever they land.
    for (QWidget* child : findChildren<QWidget*>())
        if (child->acceptDrops())
            child->installEventFilter(this);
}

void TMainWindow::ReadDroppedFiles(const std::vector<std::string>& paths)
{
    RunCommand([this, &paths] { FWorkspace->ReadDroppedFiles(paths); });
}

void TMainWindow::FinishReading()
{
    EnableListCommands(true);
    RunCommand([this] { Reading->Finish(); });
}

// Takes a drag or drop that carries local files; anything else is left alone.
bool TMainWindow::TakeFileDrop(QDropEvent* event)
{
    const std::vector<std::string> paths = DroppedFiles(event->mimeData());
    if (paths.empty() || Reading->Reading())
        return false;
    // The list waits for the check, and for a command whose dialog is open.
    if (CheckingLinks() || FWorkspace->Running()) {
        event->ignore();
        return true;
    }
    event->acceptProposedAction();
    if (event->type() == QEvent::Drop)
        ReadDroppedFiles(paths);
    return true;
}

void TMainWindow::dragEnterEvent(QDragEnterEvent* event)
{
    TakeFileDrop(event);
}

void TMainWindow::dragMoveEvent(QDragMoveEvent* event)
{
    TakeFileDrop(event);
}

void TMainWindow::dropEvent(QDropEvent* event)
{
    TakeFileDrop(event);
}

bool TMainWindow::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if ((type == QEvent::DragEnter || type == QEvent::DragMove || type == QEvent::Drop)
        && (TakeFileDrop(static_cast<QDropEvent*>(event))
            || TakeListTextDrop(watched, static_cast<QDropEvent*>(event))))
        return true;
    return QWidget::eventFilter(watched, event);
}
