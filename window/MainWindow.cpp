#include "MainWindow.h"

#include <utility>

#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>
#include <QUrl>

#include "BusyCursor.h"
#include "Cp932.h"
#include "DesktopServices.h"
#include "DigitSpinField.h"
#include "FreedMemory.h"
#include "PageControl.h"
#include "PictureBox.h"
#include "ReadProgress.h"
#include "UrlListModel.h"
#include "UrlListView.h"
#include "WindowAccessibility.h"
#include "WindowArtwork.h"
#include "WindowBuilder.h"
#include "WindowDescription.h"
#include "Workspace.h"

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
    : QWidget(parent)
{
    AnnounceMainWindowAsFrame();
    setObjectName(QStringLiteral("MainWindow"));
    setWindowTitle(QStringLiteral("Linkrake Professional"));
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

    FBuilder = std::make_unique<TWindowBuilder>(this, FWorkspace->List);
    FBuilder->Build(MainWindowControls());
    FindControls();
    Reading = new TReadProgress(StatusBar, Pages);
    FWorkspace->ReadFiles = [this](const std::vector<std::string>& paths) {
        return Reading->Read(paths, FWorkspace->Options, FWorkspace->List);
    };
    connect(Reading, &TReadProgress::Finished, this, &TMainWindow::ReadFinished);
    Mascot->SetTransparentPicture(MascotPicture());
    setMinimumSize(MainWindowClientSize);
    resize(MainWindowClientSize);
    move(StartPosition);

    CreateComponents();
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

void TMainWindow::FindControls()
{
    const TWindowBuilder& b = *FBuilder;
    Pages = b.Get<TPageControl>("Pages");
    MainPage = b.Find(QStringLiteral("MainPage"));
    SettingsPage = b.Find(QStringLiteral("SettingsPage"));
    MemoPage = b.Find(QStringLiteral("MemoPage"));
    ToolsPage = b.Find(QStringLiteral("ToolsPage"));
    StatusBar = b.Get<QStatusBar>("StatusBar");
    StatusText = StatusBar->findChild<QLabel*>(QStringLiteral("StatusText"));
    ExportRow = b.Get<QFrame>("ExportRow");
    CommandColumn = b.Get<QFrame>("CommandColumn");
    EntryRow = b.Get<QFrame>("EntryRow");
    ShortcutGroup = b.Get<QGroupBox>("ShortcutGroup");
    OptionsGroup = b.Get<QGroupBox>("OptionsGroup");
    MiniHelpGroup = b.Get<QGroupBox>("MiniHelpGroup");
    ReplaceGroup = b.Get<QGroupBox>("ReplaceGroup");
    RulesGroup = b.Get<QGroupBox>("RulesGroup");
    SelectionGroup = b.Get<QGroupBox>("SelectionGroup");
    SearchGroup = b.Get<QGroupBox>("SearchGroup");
    PrefixEdit = b.Get<QLineEdit>("PrefixEdit");
    MemoLineEdit = b.Get<QLineEdit>("MemoLineEdit");
    FindEdit = b.Get<QLineEdit>("FindEdit");
    UrlEntryEdit = b.Get<QLineEdit>("UrlEntryEdit");
    ReplaceWithEdit = b.Get<QLineEdit>("ReplaceWithEdit");
    SearchEdit = b.Get<QLineEdit>("SearchEdit");
    DigitCountSpin = b.Get<TDigitSpinField>("DigitCountSpin");
    FileInputButton = b.Get<QPushButton>("FileInputButton");
    PasteButton = b.Get<QPushButton>("PasteButton");
    AddButton = b.Get<QPushButton>("AddButton");
    DeleteButton = b.Get<QPushButton>("DeleteButton");
    DeleteAllButton = b.Get<QPushButton>("DeleteAllButton");
    ShortcutsButton = b.Get<QPushButton>("ShortcutsButton");
    UrlListFileButton = b.Get<QPushButton>("UrlListFileButton");
    CopyAllButton = b.Get<QPushButton>("CopyAllButton");
    ModifyButton = b.Get<QPushButton>("ModifyButton");
    LinkPageButton = b.Get<QPushButton>("LinkPageButton");
    DedupeButton = b.Get<QPushButton>("DedupeButton");
    CopyButton = b.Get<QPushButton>("CopyButton");
    ForwardSortButton = b.Get<QPushButton>("ForwardSortButton");
    BackwardSortButton = b.Get<QPushButton>("BackwardSortButton");
    ReplaceButton = b.Get<QPushButton>("ReplaceButton");
    SearchButton = b.Get<QPushButton>("SearchButton");
    ClearSelectionButton = b.Get<QPushButton>("ClearSelectionButton");
    InvertSelectionButton = b.Get<QPushButton>("InvertSelectionButton");
    WwwRuleCheck = b.Get<QCheckBox>("WwwRuleCheck");
    KanaConversionCheck = b.Get<QCheckBox>("KanaConversionCheck");
    SchemeRuleCheck = b.Get<QCheckBox>("SchemeRuleCheck");
    MonitorCheck = b.Get<QCheckBox>("MonitorCheck");
    RangeExpansionCheck = b.Get<QCheckBox>("RangeExpansionCheck");
    LinkPageWithoutDialogCheck = b.Get<QCheckBox>("LinkPageWithoutDialogCheck");
    ParentPathRuleCheck = b.Get<QCheckBox>("ParentPathRuleCheck");
    RootPathRuleCheck = b.Get<QCheckBox>("RootPathRuleCheck");
    SlashDotRuleCheck = b.Get<QCheckBox>("SlashDotRuleCheck");
    const std::pair<QLabel**, const char*> labels[] = {{&PrefixLabel, "PrefixLabel"},
                                                       {&DigitCountLabel, "DigitCountLabel"},
                                                       {&SampleNameLabel, "SampleNameLabel"},
                                                       {&SampleLabel, "SampleLabel"},
                                                       {&MemoPageLabel, "MemoPageLabel"},
                                                       {&TotalCountLabel, "TotalCountLabel"},
                                                       {&FindLabel, "FindLabel"},
                                                       {&ReplaceWithLabel, "ReplaceWithLabel"},
                                                       {&SelectedCountLabel, "SelectedCountLabel"},
                                                       {&VersionLabel, "VersionLabel"},
                                                       {&SearchLabel, "SearchLabel"}};
    for (const auto& [label, name] : labels)
        *label = b.Get<QLabel>(name);
    UrlListBox = b.Get<TUrlListView>("UrlListBox");
    MiniHelpList = b.Get<QListWidget>("MiniHelpList");
    MemoPad1Edit = b.Get<QPlainTextEdit>("MemoPad1Edit");
    MemoPad2Edit = b.Get<QPlainTextEdit>("MemoPad2Edit");
    Mascot = b.Get<TPictureBox>("Mascot");
}

void TMainWindow::BindEvents()
{
    using THandler = void (TWorkspace::*)();
    const std::pair<QPushButton*, THandler> buttons[] = {
        {AddButton, &TWorkspace::AddEnteredUrl},
        {FileInputButton, &TWorkspace::InputTextFile},
        {PasteButton, &TWorkspace::PasteClipboard},
        {CopyButton, &TWorkspace::CopySelected},
        {ModifyButton, &TWorkspace::ModifySelected},
        {ForwardSortButton, &TWorkspace::SortForward},
        {BackwardSortButton, &TWorkspace::SortBackward},
        {DeleteButton, &TWorkspace::DeleteSelected},
        {DedupeButton, &TWorkspace::DeleteDuplicates},
        {DeleteAllButton, &TWorkspace::DeleteAll},
        {ShortcutsButton, &TWorkspace::CreateShortcuts},
        {UrlListFileButton, &TWorkspace::CreateUrlListFile},
        {LinkPageButton, &TWorkspace::CreateLinkPage},
        {CopyAllButton, &TWorkspace::CopyWholeList},
        {ReplaceButton, &TWorkspace::ReplaceInUrls},
        {SearchButton, &TWorkspace::SearchAndSelect},
        {ClearSelectionButton, &TWorkspace::ClearSelection},
        {InvertSelectionButton, &TWorkspace::InvertSelection},
    };
    for (const auto& [button, handler] : buttons)
        connect(button, &QPushButton::clicked, this,
                [this, h = handler] { RunWorkspaceHandler([this, h] { (FWorkspace.get()->*h)(); }); });
    connect(UrlListBox, &TUrlListView::DoubleClicked, this,
            [this] { RunWorkspaceHandler([this] { FWorkspace->CopyFocusedUrl(); }); });

    connect(PrefixEdit, &QLineEdit::textChanged, this, &TMainWindow::PrefixChanged);
    connect(DigitCountSpin, &TDigitSpinField::TextChanged, this, &TMainWindow::DigitCountChanged);
    // The box's click event is raised by every change of state, by code too.
    connect(MonitorCheck, &QCheckBox::toggled, this, &TMainWindow::MonitoringToggled);
    connect(Pages, &TPageControl::PageShown, this, [this](QWidget* page) {
        if (page == ToolsPage)
            ToolsPageShown();
        else if (page == MemoPage)
            MemoPageShown();
    });
    connect(Mascot, &TPictureBox::Clicked, this, &TMainWindow::ShowCredits);
    connect(Mascot, &TPictureBox::DoubleClicked, this, &TMainWindow::ShowDedication);
    BindListActions();
}

// ---- Start-up and shut-down ----

void TMainWindow::LoadWorkspace()
{
    AcceptFileDrops();
    FWorkspace->Run([this] { FWorkspace->LoadWorkspace(); });
    // The loaded values reach the controls the way a user's edits would, so
    // each control's change event runs only where its text really changes.
    OptionsToControls(FWorkspace->Options);
    MemosToControls();
    WorkspaceToControls();
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
    ControlsToWorkspace();
    MemosToWorkspace();
    bool mayClose = false;
    FWorkspace->Run([this, &mayClose] { mayClose = FWorkspace->SaveBeforeQuitting(); });
    // Only a window that stays open is shown again: reloading a long list
    // into a closing one would only delay the end.
    if (!mayClose)
        WorkspaceToControls();
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
    if (Reading->Reading()) {
        // The reading stops first; the window closes once its handler ended.
        Reading->Abort();
        FCloseAfterRead = true;
        event->ignore();
        return;
    }
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
    if (!isMinimized())
        FKeepInTaskbar = false;
    else if (!FKeepInTaskbar)
        AppMinimize();
}

// ---- Binding ----

void TMainWindow::RunWorkspaceHandler(const std::function<void()>& handler)
{
    // A handler nested in another one's dialog finds the workspace already
    // holding the controls' state, and the outer handler's changes that the
    // controls do not show yet must not be overwritten by them.
    if (FHandlerDepth == 0)
        ControlsToWorkspace();
    ++FHandlerDepth;
    {
        // Most handlers walk the whole list; on a long one that takes a moment.
        const TBusyCursor busy(FWorkspace->List.Count() >= BusyListCount);
        FWorkspace->Run(handler);
    }
    --FHandlerDepth;
    WorkspaceToControls();
    if (FHandlerDepth == 0 && FWorkspace->List.Count() >= BusyListCount)
        ReturnFreedMemory();
}

TExtractOptions TMainWindow::OptionsFromControls() const
{
    TExtractOptions o;
    o.ShortcutPrefix = ToCp932(PrefixEdit->text());
    o.ShortcutDigits = DigitCountSpin->Value();
    o.WwwRule = WwwRuleCheck->isChecked();
    o.SchemeRule = SchemeRuleCheck->isChecked();
    o.KanaConversion = KanaConversionCheck->isChecked();
    o.RangeExpansion = RangeExpansionCheck->isChecked();
    o.ClipboardMonitoring = MonitorCheck->isChecked();
    o.LinkPageWithoutDialog = LinkPageWithoutDialogCheck->isChecked();
    o.ParentPathRule = ParentPathRuleCheck->isChecked();
    o.RootPathRule = RootPathRuleCheck->isChecked();
    o.SlashDotRule = SlashDotRuleCheck->isChecked();
    o.ReplaceFrom = ToCp932(FindEdit->text());
    o.ReplaceTo = ToCp932(ReplaceWithEdit->text());
    o.SearchText = ToCp932(SearchEdit->text());
    o.MemoLine = ToCp932(MemoLineEdit->text());
    return o;
}

void TMainWindow::OptionsToControls(const TExtractOptions& o)
{
    // In the order the settings are read at start.
    SetTextIfChanged(PrefixEdit, FromCp932(o.ShortcutPrefix));
    DigitCountSpin->SetValue(o.ShortcutDigits);
    WwwRuleCheck->setChecked(o.WwwRule);
    SchemeRuleCheck->setChecked(o.SchemeRule);
    KanaConversionCheck->setChecked(o.KanaConversion);
    RangeExpansionCheck->setChecked(o.RangeExpansion);
    MonitorCheck->setChecked(o.ClipboardMonitoring);
    LinkPageWithoutDialogCheck->setChecked(o.LinkPageWithoutDialog);
    ParentPathRuleCheck->setChecked(o.ParentPathRule);
    RootPathRuleCheck->setChecked(o.RootPathRule);
    SlashDotRuleCheck->setChecked(o.SlashDotRule);
    SetTextIfChanged(FindEdit, FromCp932(o.ReplaceFrom));
    SetTextIfChanged(ReplaceWithEdit, FromCp932(o.ReplaceTo));
    SetTextIfChanged(SearchEdit, FromCp932(o.SearchText));
    SetTextIfChanged(MemoLineEdit, FromCp932(o.MemoLine));
}

void TMainWindow::ControlsToWorkspace()
{
    FWorkspace->Options = OptionsFromControls();
    FWorkspace->UrlEntry = ToCp932(UrlEntryEdit->text());
    FUrlEntrySent = FWorkspace->UrlEntry;
}

void TMainWindow::WorkspaceToControls()
{
    StatusText->setText(FWorkspace->StatusLine);
    // Only a handler's own change reaches the entry line: what the user typed
    // stays as typed, even characters that Shift_JIS cannot hold.
    if (FWorkspace->UrlEntry != FUrlEntrySent)
        SetTextIfChanged(UrlEntryEdit, FromCp932(FWorkspace->UrlEntry));
    UrlListBox->ShowList();
    if (std::exchange(FWorkspace->Display.SelectedCount, false))
        ShowSelectedCount();
    if (std::exchange(FWorkspace->Display.ListScrollWidth, false))
        ResetListHorizontalExtent();
}

void TMainWindow::MemosToWorkspace()
{
    // A memo left as shown keeps the workspace's bytes, which may hold more
    // than the text conversion could show.
    for (auto [edit, memo] :
         {std::pair(MemoPad1Edit, &FWorkspace->MemoPad1), std::pair(MemoPad2Edit, &FWorkspace->MemoPad2)})
        if (edit->toPlainText() != MemoText(*memo))
            *memo = MemoBytes(edit);
}

void TMainWindow::MemosToControls()
{
    MemoPad1Edit->setPlainText(MemoText(FWorkspace->MemoPad1));
    MemoPad2Edit->setPlainText(MemoText(FWorkspace->MemoPad2));
}

void TMainWindow::ShowSelectedCount()
{
    SetCaption(SelectedCountLabel,
               QStringLiteral("選択数 ：") + QString::number(FWorkspace->List.SelectedCount()));
}

void TMainWindow::ResetListHorizontalExtent()
{
    UrlListBox->Model()->SetHorizontalExtent(ListScrollWidth);
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
    RunWorkspaceHandler([this, &paths] { FWorkspace->ReadDroppedFiles(paths); });
}

void TMainWindow::ReadFinished()
{
    if (std::exchange(FClipboardChangedDuringRead, false))
        ClipboardChanged();
    if (std::exchange(FCloseAfterRead, false))
        close();
}

// Takes a drag or drop that carries local files; anything else is left alone.
bool TMainWindow::TakeFileDrop(QDropEvent* event)
{
    const std::vector<std::string> paths = DroppedFiles(event->mimeData());
    if (paths.empty() || Reading->Reading())
        return false;
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
