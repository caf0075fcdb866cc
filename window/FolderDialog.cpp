#include "FolderDialog.h"

#include <QDialogButtonBox>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>

TFolderDialog::TFolderDialog(QWidget* parent, const QString& title) : QFileDialog(parent, title)
{
    setFileMode(QFileDialog::Directory);
    setOption(QFileDialog::ShowDirsOnly);
    setOption(QFileDialog::DontUseNativeDialog);
    AllowNewFolderNames();
}

// The stock dialog only lets existing folders be chosen: its choose button
// goes grey for any other typed name. Typed names are let through here.
void TFolderDialog::AllowNewFolderNames()
{
    auto* name = findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    auto* buttons = findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"));
    if (!name || !buttons)
        return;
    connect(name, &QLineEdit::textChanged, this, [buttons](const QString& text) {
        if (text.trimmed().isEmpty())
            return;
        for (QAbstractButton* button : buttons->buttons())
            if (buttons->buttonRole(button) == QDialogButtonBox::AcceptRole)
                button->setEnabled(true);
    });
}

void TFolderDialog::accept()
{
    const QStringList chosen = selectedFiles();
    if (!chosen.isEmpty() && !QFileInfo::exists(chosen.first())) {
        QDialog::accept();
        return;
    }
    QFileDialog::accept();
}
