// The desktop's side of the workspace services: filters in the file
// dialog's form, and CP932 clipboard text through the toolkit's clipboard.
#include <gtest/gtest.h>

#include "Cp932.h"
#include "DesktopServices.h"
#include "FolderDialog.h"

#include <QAbstractButton>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QTemporaryDir>

TEST(DesktopServices, FiltersBecomeTheDialogsLabelPatternPairs)
{
    EXPECT_EQ(QtFileFilter(QString::fromUtf8("ﾃｷｽﾄﾌｧｲﾙ(*.txt)|*.txt|すべてのﾌｧｲﾙ(*.*)|*.*")),
              QString::fromUtf8("ﾃｷｽﾄﾌｧｲﾙ(*.txt);;すべてのﾌｧｲﾙ(*.*)"));
    EXPECT_EQ(QtFileFilter(QStringLiteral("Text|*.txt")), QStringLiteral("Text (*.txt)"));
    EXPECT_EQ(QtFileFilter(QString()), QString());
}

TEST(DesktopServices, ClipboardTextGoesBothWaysAsCp932)
{
    TDesktopServices services(nullptr);
    const std::string text = ToCp932(QString::fromUtf8("日本語 http://x.example/ ｶﾅ\r\n2行目"));
    services.SetClipboardText(text);
    ASSERT_TRUE(services.ClipboardHasText());
    EXPECT_EQ(services.ClipboardText(), text);
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
