#pragma once
// The folder chooser of the shortcut export: browse to a folder, create one
// with the dialog's own button, or type the name of a folder that does not
// exist yet (the caller then offers to create it).
#include <QFileDialog>

class TFolderDialog : public QFileDialog {
public:
    TFolderDialog(QWidget* parent, const QString& title);

    void accept() override;

private:
    void AllowNewFolderNames();
};
