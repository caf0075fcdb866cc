#pragma once
// Qt's own texts (file dialogs, stock buttons, the edit lines' menus) in
// Japanese, whatever the user's locale: the whole window is Japanese.
class QCoreApplication;

// False when the desktop has no Japanese translation of Qt installed.
bool InstallQtJapanese(QCoreApplication& application);
