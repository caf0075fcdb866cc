#pragma once
// The list's context menu; its entries run what the buttons run.
#include <QMenu>

class TUrlListContextMenu : public QMenu {
    Q_OBJECT
public:
    explicit TUrlListContextMenu(QWidget* parent);

    QAction* UndoItem;
    QAction* OpenItem;
    QAction* CopyItem;
    QAction* ModifyItem;
    QAction* DeleteItem;
};
