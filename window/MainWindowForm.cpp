// What the form file cannot hold: the fonts, the status line's text, the
// memo line's flat look, the mini-help's lines, the inner editor's
// accessible name and the page metrics.
#include <QLabel>
#include <QLineEdit>
#include <QStatusBar>

#include "DigitSpinField.h"
#include "MainWindow.h"
#include "MiniHelp.h"
#include "PageMetrics.h"
#include "PictureBox.h"
#include "UrlListView.h"
#include "WindowArtwork.h"
#include "WindowFonts.h"
#include "ui_MainWindow.h"
#include "workspace/Workspace.h"

void TMainWindow::FinishForm()
{
    const TFormFonts fonts = MainWindowFonts();
    setFont(fonts.Proportional);
    // Fixed pitch, so that the two counts' colons stand one under the other.
    FUi->TotalCountLabel->setFont(fonts.Fixed);
    FUi->SelectedCountLabel->setFont(fonts.Fixed);

    FixPageMetrics(FUi->Pages);

    FStatusText = new QLabel(FUi->StatusBar);
    FStatusText->setObjectName(QStringLiteral("StatusText"));
    FStatusText->setTextInteractionFlags(Qt::NoTextInteraction);
    FStatusText->setTextFormat(Qt::PlainText);
    // A long message is cut at the window's edge, never widening it.
    FStatusText->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    FUi->StatusBar->addWidget(FStatusText, 1);

    QPalette flat = FUi->MemoLineEdit->palette();
    flat.setColor(QPalette::Base, flat.color(QPalette::Light));
    FUi->MemoLineEdit->setPalette(flat);

    FUi->DigitCountSpin->Editor()->setAccessibleName(FUi->DigitCountSpin->accessibleName());
    FUi->MiniHelpList->addItems(MiniHelpLines());
    FUi->UrlListBox->SetList(FWorkspace->List, FWorkspace->ListModel);
    FUi->Mascot->setVisible(false);
    FUi->Mascot->SetTransparentPicture(MascotPicture());
}
