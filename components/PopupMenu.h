#pragma once
// A menu that its owner fills and that is shown at a screen position.

#include "ComponentFramework.h"

#include <QPointer>

#include <QMenu>

class TPopupMenu : public TComponent {
public:
    explicit TPopupMenu(QObject* owner);
    ~TPopupMenu() override;

    QMenu* Menu() const { return menu_; }
    void Popup(int x, int y);

private:
    QPointer<QMenu> menu_;
};
