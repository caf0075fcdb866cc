// The window's own display handlers: the shortcut name sample, the count
// labels and the memo page's hidden picture.
#include "Form1U.h"

#include <QLabel>
#include <QLineEdit>

#include "AnchorLayout.h"
#include "DigitSpinField.h"
#include "Engine.h"
#include "Form1Builder.h"
#include "PictureBox.h"
#include "UrlListView.h"
#include "Workspace.h"

namespace {

QString SampleName(const QString& prefix, int digits)
{
    return prefix + QString::fromStdString(ZeroPad(1, digits)) + QStringLiteral(".url");
}

}  // namespace

void TForm1::SetCaption(QLabel* label, const QString& caption)
{
    label->setText(caption);
    label->resize(label->sizeHint().width(), label->height());  // a label's width follows its text
}

void TForm1::Edit1Change()
{
    SetCaption(Label3, SampleName(Edit1->text(), SpinEdit1->Value()));
}

void TForm1::SpinEdit1Change()
{
    // An emptied field becomes 1, whose own change event draws the sample.
    if (SpinEdit1->Text().isEmpty()) {
        SpinEdit1->SetValue(TDigitSpinField::MinValue);
        return;
    }
    SetCaption(Label3, SampleName(Edit1->text(), SpinEdit1->Value()));
}

void TForm1::TabSheet4Show()
{
    SetCaption(Label6, QStringLiteral("全URL数：") + QString::number(Workspace().List.Count()));
    ListBox1->StoreSelection(Workspace().List);
    ShowSelectedCount(QStringLiteral("選択数 ：") + QString::number(Workspace().List.SelectedCount()));
}

void TForm1::TabSheet3Show()
{
    Image1->setVisible(Edit2->text() == QStringLiteral("RR7"));

    static constexpr int Tops[] = {50, 120, 200};
    std::uniform_int_distribution<int> draw(1, 14);
    const int drawn = draw(FPictureDraws);
    if (drawn <= 3) {
        QRect place = Image1->geometry();
        place.moveTop(Tops[drawn - 1]);
        Builder().LayoutOf(TabSheet3)->MoveTo(Image1, place);
    }
}

QString TForm1::CreditsLine()
{
    return QStringLiteral("企画・制作：くまでの助　　協力：はっぱ太郎");
}

QString TForm1::DedicationLine()
{
    return QStringLiteral("このソフトをラケ丸を愛するすべてのファンに捧げます…");
}

void TForm1::Image1Click()
{
    SetCaption(Label5, CreditsLine());
}

void TForm1::Image1DblClick()
{
    SetCaption(Label11, DedicationLine());
}
