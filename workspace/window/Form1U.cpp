#include "Form1U.h"

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
#include <QUrl>

#include "Cp932.h"
#include "DesktopServices.h"
#include "DigitSpinField.h"
#include "Form1Artwork.h"
#include "Form1Builder.h"
#include "Form1Description.h"
#include "PageControl.h"
#include "PictureBox.h"
#include "UrlListModel.h"
#include "UrlListView.h"
#include "Workspace.h"

namespace {

constexpr int ListScrollWidth = 1000;
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

// Memo text in the workspace is CP932 with CR LF line breaks.
std::string MemoBytes(const QPlainTextEdit* memo)
{
    QString text = memo->toPlainText();
    text.replace(u'\n', QStringLiteral("\r\n"));
    return ToCp932(text);
}

QString MemoText(const std::string& bytes)
{
    QString text = FromCp932(bytes);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return text;
}

void SetTextIfChanged(QLineEdit* edit, const QString& text)
{
    if (edit->text() != text)
        edit->setText(text);
}

}  // namespace

TForm1::TForm1(TWorkspaceServices* services, std::string programFolder, QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Linkrake Professional"));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setWindowIcon(MainIcon());

    if (!services) {
        FOwnServices = std::make_unique<TDesktopServices>(this, [this] { ResetListHorizontalExtent(); });
        services = FOwnServices.get();
    }
    if (programFolder.empty())
        programFolder = ProgramFolderOfExecutable();
    FWorkspace = std::make_unique<TWorkspace>(*services, std::move(programFolder));

    FBuilder = std::make_unique<TForm1Builder>(this, FWorkspace->List);
    FBuilder->Build(Form1Controls());
    FindControls();
    Image1->SetTransparentPicture(MascotPicture());
    setMinimumSize(Form1ClientSize);
    resize(Form1ClientSize);
    move(StartPosition);

    CreateComponents();
    BindEvents();
    FormCreate();
}

TForm1::~TForm1()
{
    // Controls and components refer to the workspace and the services, which
    // are members: they go first. One child may take others with it.
    std::vector<QPointer<QObject>> children;
    for (QObject* child : findChildren<QObject*>(QString(), Qt::FindDirectChildrenOnly))
        children.emplace_back(child);
    for (const QPointer<QObject>& child : children)
        delete child.data();
}

void TForm1::FindControls()
{
    const TForm1Builder& b = *FBuilder;
    PageControl1 = b.Get<TPageControl>("PageControl1");
    TabSheet1 = b.Find(QStringLiteral("TabSheet1"));
    TabSheet2 = b.Find(QStringLiteral("TabSheet2"));
    TabSheet3 = b.Find(QStringLiteral("TabSheet3"));
    TabSheet4 = b.Find(QStringLiteral("TabSheet4"));
    StatusBar1 = b.Get<QStatusBar>("StatusBar1");
    StatusText = StatusBar1->findChild<QLabel*>(QStringLiteral("StatusText"));
    Panel1 = b.Get<QFrame>("Panel1");
    Panel2 = b.Get<QFrame>("Panel2");
    Panel3 = b.Get<QFrame>("Panel3");
    QGroupBox** groups[] = {&GroupBox1, &GroupBox2, &GroupBox3, &GroupBox4,
                            &GroupBox5, &GroupBox6, &GroupBox7};
    for (int i = 0; i < 7; ++i)
        *groups[i] = qobject_cast<QGroupBox*>(b.Find(QStringLiteral("GroupBox%1").arg(i + 1)));
    QLineEdit** edits[] = {&Edit1, &Edit2, &Edit3, &Edit4, &Edit5, &Edit6};
    for (int i = 0; i < 6; ++i)
        *edits[i] = qobject_cast<QLineEdit*>(b.Find(QStringLiteral("Edit%1").arg(i + 1)));
    SpinEdit1 = b.Get<TDigitSpinField>("SpinEdit1");
    QPushButton** buttons[] = {&Button1,  &Button2,  &Button3,  &Button4,  &Button5,  &Button6,
                               &Button7,  &Button8,  &Button9,  &Button10, &Button11, &Button12,
                               &Button13, &Button14, &Button15, &Button16, &Button17, &Button18};
    for (int i = 0; i < 18; ++i)
        *buttons[i] = qobject_cast<QPushButton*>(b.Find(QStringLiteral("Button%1").arg(i + 1)));
    QCheckBox** checks[] = {&CheckBox1, &CheckBox2, &CheckBox3, &CheckBox4, &CheckBox5,
                            &CheckBox6, &CheckBox7, &CheckBox8, &CheckBox9};
    for (int i = 0; i < 9; ++i)
        *checks[i] = qobject_cast<QCheckBox*>(b.Find(QStringLiteral("CheckBox%1").arg(i + 1)));
    const std::pair<QLabel**, const char*> labels[] = {
        {&Label1, "Label1"},   {&Label2, "Label2"},   {&Label3, "Label3"},  {&Label4, "Label4"},
        {&Label5, "Label5"},   {&Label6, "Label6"},   {&Label7, "Label7"},  {&Label9, "Label9"},
        {&Label10, "Label10"}, {&Label11, "Label11"}, {&Label12, "Label12"}};
    for (const auto& [label, name] : labels)
        *label = b.Get<QLabel>(name);
    ListBox1 = b.Get<TUrlListView>("ListBox1");
    ListBox2 = b.Get<QListWidget>("ListBox2");
    Memo1 = b.Get<QPlainTextEdit>("Memo1");
    Memo2 = b.Get<QPlainTextEdit>("Memo2");
    Image1 = b.Get<TPictureBox>("Image1");
}

void TForm1::BindEvents()
{
    using THandler = void (TWorkspace::*)();
    const std::pair<QPushButton*, THandler> buttons[] = {
        {Button3, &TWorkspace::Button3Click},   {Button1, &TWorkspace::Button1Click},
        {Button2, &TWorkspace::Button2Click},   {Button12, &TWorkspace::Button12Click},
        {Button9, &TWorkspace::Button9Click},   {Button13, &TWorkspace::Button13Click},
        {Button14, &TWorkspace::Button14Click}, {Button4, &TWorkspace::Button4Click},
        {Button11, &TWorkspace::Button11Click}, {Button5, &TWorkspace::Button5Click},
        {Button6, &TWorkspace::Button6Click},   {Button7, &TWorkspace::Button7Click},
        {Button10, &TWorkspace::Button10Click}, {Button8, &TWorkspace::Button8Click},
        {Button15, &TWorkspace::Button15Click}, {Button16, &TWorkspace::Button16Click},
        {Button17, &TWorkspace::Button17Click}, {Button18, &TWorkspace::Button18Click},
    };
    for (const auto& [button, handler] : buttons)
        connect(button, &QPushButton::clicked, this,
                [this, h = handler] { RunWorkspaceHandler([this, h] { (FWorkspace.get()->*h)(); }); });
    connect(ListBox1, &TUrlListView::DoubleClicked, this,
            [this] { RunWorkspaceHandler([this] { FWorkspace->ListBox1DblClick(); }); });

    connect(Edit1, &QLineEdit::textChanged, this, &TForm1::Edit1Change);
    connect(SpinEdit1, &TDigitSpinField::TextChanged, this, &TForm1::SpinEdit1Change);
    // The box's click event is raised by every change of state, by code too.
    connect(CheckBox4, &QCheckBox::toggled, this, &TForm1::CheckBox4Click);
    connect(PageControl1, &TPageControl::PageShown, this, [this](QWidget* page) {
        if (page == TabSheet4)
            TabSheet4Show();
        else if (page == TabSheet3)
            TabSheet3Show();
    });
    connect(Image1, &TPictureBox::Clicked, this, &TForm1::Image1Click);
    connect(Image1, &TPictureBox::DoubleClicked, this, &TForm1::Image1DblClick);
}

// ---- Start-up and shut-down ----

void TForm1::FormCreate()
{
    AcceptFileDrops();
    FWorkspace->Run([this] { FWorkspace->FormCreate(); });
    // The loaded values reach the controls the way a user's edits would, so
    // each control's change event runs only where its text really changes.
    OptionsToControls(FWorkspace->Options);
    MemosToControls();
    WorkspaceToControls();
}

void TForm1::FormShow()
{
    ResetListHorizontalExtent();
}

bool TForm1::FormClose()
{
    ControlsToWorkspace();
    MemosToWorkspace();
    bool mayClose = false;
    FWorkspace->Run([this, &mayClose] { mayClose = FWorkspace->FormClose(); });
    // Only a window that stays open is shown again: reloading a long list
    // into a closing one would only delay the end.
    if (!mayClose)
        WorkspaceToControls();
    return mayClose;
}

void TForm1::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TForm1::closeEvent(QCloseEvent* event)
{
    if (!FormClose()) {
        event->ignore();
        return;
    }
    event->accept();
    // Closing ends the program even from the tray menu, when no window is
    // shown whose closing would end the event loop by itself.
    QCoreApplication::quit();
}

void TForm1::changeEvent(QEvent* event)
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

void TForm1::RunWorkspaceHandler(const std::function<void()>& handler)
{
    // A handler nested in another one's dialog finds the workspace already
    // holding the controls' state, and the outer handler's changes that the
    // controls do not show yet must not be overwritten by them.
    if (FHandlerDepth == 0)
        ControlsToWorkspace();
    ++FHandlerDepth;
    FWorkspace->Run(handler);
    --FHandlerDepth;
    WorkspaceToControls();
}

TExtractOptions TForm1::OptionsFromControls() const
{
    TExtractOptions o;
    o.PREFIX = ToCp932(Edit1->text());
    o.NUMBER = SpinEdit1->Value();
    o.WWW = CheckBox1->isChecked();
    o.ALL = CheckBox3->isChecked();
    o.NTT = CheckBox2->isChecked();
    o.EXTRACTION = CheckBox5->isChecked();
    o.CB = CheckBox4->isChecked();
    o.LINK = CheckBox6->isChecked();
    o.RULE1 = CheckBox7->isChecked();
    o.RULE2 = CheckBox8->isChecked();
    o.RULE3 = CheckBox9->isChecked();
    o.BEFORE = ToCp932(Edit3->text());
    o.AFTER = ToCp932(Edit5->text());
    o.SEARCH = ToCp932(Edit6->text());
    o.MEMO = ToCp932(Edit2->text());
    return o;
}

void TForm1::OptionsToControls(const TExtractOptions& o)
{
    // In the order the settings are read at start.
    SetTextIfChanged(Edit1, FromCp932(o.PREFIX));
    SpinEdit1->SetValue(o.NUMBER);
    CheckBox1->setChecked(o.WWW);
    CheckBox3->setChecked(o.ALL);
    CheckBox2->setChecked(o.NTT);
    CheckBox5->setChecked(o.EXTRACTION);
    CheckBox4->setChecked(o.CB);
    CheckBox6->setChecked(o.LINK);
    CheckBox7->setChecked(o.RULE1);
    CheckBox8->setChecked(o.RULE2);
    CheckBox9->setChecked(o.RULE3);
    SetTextIfChanged(Edit3, FromCp932(o.BEFORE));
    SetTextIfChanged(Edit5, FromCp932(o.AFTER));
    SetTextIfChanged(Edit6, FromCp932(o.SEARCH));
    SetTextIfChanged(Edit2, FromCp932(o.MEMO));
}

void TForm1::ControlsToWorkspace()
{
    FWorkspace->Options = OptionsFromControls();
    FWorkspace->UrlEntry = ToCp932(Edit4->text());
    FUrlEntrySent = FWorkspace->UrlEntry;
    ListBox1->StoreSelection(FWorkspace->List);
}

void TForm1::WorkspaceToControls()
{
    StatusText->setText(FWorkspace->StatusLine);
    // Only a handler's own change reaches the entry line: what the user typed
    // stays as typed, even characters that Shift_JIS cannot hold.
    if (FWorkspace->UrlEntry != FUrlEntrySent)
        SetTextIfChanged(Edit4, FromCp932(FWorkspace->UrlEntry));
    if (FWorkspace->SelectedCountLabel != FShownCountLabel)
        ShowSelectedCount(FWorkspace->SelectedCountLabel);
    ListBox1->LoadFromList(FWorkspace->List);
}

void TForm1::MemosToWorkspace()
{
    FWorkspace->Memo1 = MemoBytes(Memo1);
    FWorkspace->Memo2 = MemoBytes(Memo2);
}

void TForm1::MemosToControls()
{
    Memo1->setPlainText(MemoText(FWorkspace->Memo1));
    Memo2->setPlainText(MemoText(FWorkspace->Memo2));
}

void TForm1::ShowSelectedCount(const QString& caption)
{
    FShownCountLabel = caption;
    FWorkspace->SelectedCountLabel = caption;
    SetCaption(Label10, caption);
}

void TForm1::ResetListHorizontalExtent()
{
    ListBox1->Model()->SetHorizontalExtent(ListScrollWidth);
}

// ---- Dropped files ----

void TForm1::AcceptFileDrops()
{
    setAcceptDrops(true);
    // Controls that take text drops of their own would keep dropped files
    // from the window; files go to the window wherever they land.
    for (QWidget* child : findChildren<QWidget*>())
        if (child->acceptDrops())
            child->installEventFilter(this);
}

void TForm1::WMDropFiles(const std::vector<std::string>& paths)
{
    RunWorkspaceHandler([this, &paths] { FWorkspace->WMDropFiles(paths); });
}

// Takes a drag or drop that carries local files; anything else is left alone.
bool TForm1::TakeFileDrop(QDropEvent* event)
{
    const std::vector<std::string> paths = DroppedFiles(event->mimeData());
    if (paths.empty())
        return false;
    event->acceptProposedAction();
    if (event->type() == QEvent::Drop)
        WMDropFiles(paths);
    return true;
}

void TForm1::dragEnterEvent(QDragEnterEvent* event)
{
    TakeFileDrop(event);
}

void TForm1::dragMoveEvent(QDragMoveEvent* event)
{
    TakeFileDrop(event);
}

void TForm1::dropEvent(QDropEvent* event)
{
    TakeFileDrop(event);
}

bool TForm1::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if ((type == QEvent::DragEnter || type == QEvent::DragMove || type == QEvent::Drop)
        && TakeFileDrop(static_cast<QDropEvent*>(event)))
        return true;
    return QWidget::eventFilter(watched, event);
}
