#include "PopupMenu.h"

#include "platform/Platform.h"

#include <QMenu>
#include <QWidget>

TPopupMenu::TPopupMenu(QObject* owner) : TComponent(owner), menu_(new QMenu(qobject_cast<QWidget*>(owner)))
{ }

TPopupMenu::~TPopupMenu()
{
    // The menu may already be gone with a widget owner's other children.
    delete menu_.data();
}

void TPopupMenu::Popup(int x, int y)
{
    CurrentPlatform().PopupMenu(menu_, QPoint(x, y));
}
