#include "UrlListContextMenu.h"

namespace {

QAction* AddItem(QMenu* menu, const QString& caption, const char* name)
{
    QAction* item = menu->addAction(caption);
    item->setObjectName(QString::fromLatin1(name));
    return item;
}

}  // namespace

TUrlListContextMenu::TUrlListContextMenu(QWidget* parent) : QMenu(parent)
{
    setObjectName(QStringLiteral("UrlListMenu"));
    UndoItem = AddItem(this, QStringLiteral("元に戻す"), "UndoItem");
    addSeparator();
    OpenItem = AddItem(this, QStringLiteral("ブラウザで開く"), "OpenItem");
    CopyItem = AddItem(this, QStringLiteral("コピー"), "CopyItem");
    ModifyItem = AddItem(this, QStringLiteral("修正"), "ModifyItem");
    DeleteItem = AddItem(this, QStringLiteral("削除"), "DeleteItem");
}
