// The desktop's side of the workspace services: the dialogs, and CP932
// clipboard text through the toolkit's clipboard.
#include <gtest/gtest.h>

#include "window/DesktopServices.h"
#include "window/FolderDialog.h"
#include "workspace/Cp932.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

TEST(DesktopServices, ClipboardTextGoesBothWaysAsCp932)
{
    TDesktopServices services(nullptr);
    const std::string text = ToCp932(QString::fromUtf8("日本語 http://x.example/ ｶﾅ\r\n2行目"));
    services.SetClipboardText(text);
    const std::unique_ptr<TClipboardCopy> copy = services.LookAtClipboard();
    ASSERT_TRUE(copy->HasText());
    EXPECT_EQ(copy->Text(), text);
}

TEST(DesktopServices, TheQuestionToEndWithoutSavingNamesItsButtonsAndDefaultsToNo)
{
    TDesktopServices services(nullptr);
    QStringList captions;
    bool noIsDefault = false;
    // Return on the box as it opens: the default answer is no.
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_TRUE(box);
        for (QAbstractButton* button : box->buttons())
            captions << button->text();
        noIsDefault = box->defaultButton() && box->defaultButton()->text() == QString::fromUtf8("いいえ");
        QTest::keyClick(box, Qt::Key_Return);
    });
    EXPECT_FALSE(services.ConfirmDefaultNo(QStringLiteral("?")));
    captions.sort();
    EXPECT_EQ(captions, (QStringList{QString::fromUtf8("いいえ"), QString::fromUtf8("はい")}));
    EXPECT_TRUE(noIsDefault);

    QTimer::singleShot(0, [] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_TRUE(box);
        for (QAbstractButton* button : box->buttons())
            if (button->text() == QString::fromUtf8("はい"))
                button->click();
    });
    EXPECT_TRUE(services.ConfirmDefaultNo(QStringLiteral("?")));
}

TEST(FolderDialog, ATypedNewFolderNameCanBeChosen)
{
    QTemporaryDir dir;
    TFolderDialog dialog(nullptr, QString::fromUtf8("ディレクトリの選択"));
    dialog.setDirectory(dir.path());
    dialog.show();
    auto* name = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    auto* buttons = dialog.findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"));
    ASSERT_TRUE(name && buttons);
    name->setText(QStringLiteral("新しいフォルダ"));
    QAbstractButton* choose = buttons->buttons().first();
    for (QAbstractButton* button : buttons->buttons())
        if (buttons->buttonRole(button) == QDialogButtonBox::AcceptRole)
            choose = button;
    ASSERT_TRUE(choose->isEnabled());
    choose->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.selectedFiles().value(0), dir.path() + QStringLiteral("/新しいフォルダ"));
}
