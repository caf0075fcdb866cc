// The non-visual components and the handlers of clipboard monitoring and
// tray residency that they raise.
#include "Form1U.h"

#include <QAction>
#include <QCheckBox>
#include <QMenu>

#include "Form1Artwork.h"
#include "Workspace.h"

#ifdef LINKRAKE_HAVE_COMPONENTS
#include "PopupMenu.h"
#include "QvClipDetector.h"
#include "TrayIcon.h"
#endif

void TForm1::CreateComponents()
{
#ifdef LINKRAKE_HAVE_COMPONENTS
    PopupMenu1 = new TPopupMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    QMenu* menu = PopupMenu1->Menu();
    N1 = menu->addAction(QStringLiteral("復帰"));
    N2 = menu->addAction(QStringLiteral("監視中断"));
    N3 = menu->addSeparator();
    Exit1 = menu->addAction(QStringLiteral("終了"));
    N1->setObjectName(QStringLiteral("N1"));
    N2->setObjectName(QStringLiteral("N2"));
    N3->setObjectName(QStringLiteral("N3"));
    Exit1->setObjectName(QStringLiteral("Exit1"));
    connect(N1, &QAction::triggered, this, &TForm1::N1Click);
    connect(N2, &QAction::triggered, this, &TForm1::N2Click);
    connect(Exit1, &QAction::triggered, this, &TForm1::Exit1Click);

    // Built as from a window description: the stored properties are read
    // between the loading steps, and a visible icon is added once at the end.
    TrayIcon1 = new TTrayIcon(this);
    TrayIcon1->setObjectName(QStringLiteral("TrayIcon1"));
    TrayIcon1->BeginLoading();
    TrayIcon1->SetIcon(TrayIconImage());
    TrayIcon1->SetRBPopupMenu(PopupMenu1);
    TrayIcon1->SetTipHelp("Linkrake");
    TrayIcon1->OnDblClick = [this](QObject*) { TrayIcon1DblClick(); };
    TrayIcon1->EndLoading();

    QvClipDetector1 = new TQvClipDetector(this);
    QvClipDetector1->setObjectName(QStringLiteral("QvClipDetector1"));
    QvClipDetector1->SetOnClipChange([this](QObject*) { QvClipDetector1ClipChange(); });
#endif
}

void TForm1::CheckBox4Click()
{
    Workspace().ClipIgnore = !CheckBox4->isChecked();
}

// Clipboard monitoring and tray residency are filled in on top of these.
void TForm1::QvClipDetector1ClipChange()
{
}

void TForm1::AppMinimize()
{
}

void TForm1::RestoreFromTray()
{
}

void TForm1::TrayIcon1DblClick()
{
    RestoreFromTray();
}

void TForm1::N1Click()
{
    RestoreFromTray();
}

void TForm1::N2Click()
{
}

void TForm1::Exit1Click()
{
    close();
}
