// The window's own display handlers: the shortcut name sample, the count
// labels and the memo page's hidden picture.
#include "MainWindow.h"

#include <QLabel>
#include <QLineEdit>

#include "AnchorLayout.h"
#include "DigitSpinField.h"
#include "PictureBox.h"
#include "UrlListView.h"
#include "engine/Engine.h"
#include "ui_MainWindow.h"
#include "workspace/Workspace.h"

namespace {

QString SampleName(const QString& prefix, int digits)
{
    return prefix + QString::fromStdString(ZeroPad(1, digits)) + QStringLiteral(".url");
}

}  // namespace

void TMainWindow::SetCaption(QLabel* label, const QString& caption)
{
    label->setText(caption);
    label->resize(label->sizeHint().width(), label->height());  // a label's width follows its text
}

void TMainWindow::ShowSampleName()
{
    SetCaption(FUi->SampleNameLabel, SampleName(FUi->PrefixEdit->text(), FUi->DigitCountSpin->Value()));
}

void TMainWindow::TakeDigitCount()
{
    // An emptied field becomes 1, whose own TextChanged draws the sample.
    if (FUi->DigitCountSpin->Text().isEmpty()) {
        FUi->DigitCountSpin->SetValue(TDigitSpinField::MinValue);
        return;
    }
    ShowSampleName();
}

void TMainWindow::ShowListCounts()
{
    SetCaption(FUi->TotalCountLabel, QStringLiteral("全URL数：") + QString::number(Workspace().List.Count()));
    ShowSelectedCount();
}

void TMainWindow::RevealMascot()
{
    FUi->Mascot->setVisible(FUi->MemoLineEdit->text() == QStringLiteral("RR7"));

    static constexpr int Tops[] = {50, 120, 200};
    std::uniform_int_distribution<int> draw(1, 14);
    const int drawn = draw(FPictureDraws);
    if (drawn <= 3) {
        QRect place = FUi->Mascot->geometry();
        place.moveTop(Tops[drawn - 1]);
        qobject_cast<TAnchorLayout*>(FUi->MemoPage->layout())->MoveTo(FUi->Mascot, place);
    }
}

QString TMainWindow::CreditsLine()
{
    return QStringLiteral("企画・制作：くまでの助　　協力：はっぱ太郎");
}

QString TMainWindow::DedicationLine()
{
    return QStringLiteral("このソフトをラケ丸を愛するすべてのファンに捧げます…");
}

void TMainWindow::ShowCredits()
{
    SetCaption(FUi->MemoPageLabel, CreditsLine());
}

void TMainWindow::ShowDedication()
{
    SetCaption(FUi->VersionLabel, DedicationLine());
}
