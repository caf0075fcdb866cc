#include "UrlListAccessible.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QHash>
#include <QPointer>

#include "UrlListView.h"
#include "engine/UrlList.h"
#include "workspace/UrlListModel.h"

namespace {

const QString ToggleActionName = QAccessibleActionInterface::toggleAction();

class TRowInterface : public QAccessibleInterface,
                      public QAccessibleTableCellInterface,
                      public QAccessibleActionInterface {
public:
    TRowInterface(TUrlListView* view, int row) : FView(view), FRow(row) { }

    int Row() const { return FRow; }
    void MoveTo(int row) { FRow = row; }

    bool isValid() const override
    {
        return FView && FView->Model() && FRow >= 0 && FRow < FView->Model()->rowCount();
    }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return FView ? FView->window()->windowHandle() : nullptr; }
    QAccessibleInterface* parent() const override { return QAccessible::queryAccessibleInterface(FView); }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessible::Role role() const override { return QAccessible::ListItem; }

    QString text(QAccessible::Text kind) const override
    {
        if (!isValid())
            return {};
        const QModelIndex index = Index();
        if (kind == QAccessible::Name) {
            const QString name = index.data(Qt::AccessibleTextRole).toString();
            return name.isEmpty() ? index.data(Qt::DisplayRole).toString() : name;
        }
        if (kind == QAccessible::Description)
            return index.data(Qt::AccessibleDescriptionRole).toString();
        return {};
    }
    void setText(QAccessible::Text, const QString&) override { }

    QRect rect() const override
    {
        if (!isValid())
            return {};
        QRect shown = FView->visualRect(Index());
        if (!shown.isNull())
            shown.translate(FView->viewport()->mapToGlobal(QPoint(0, 0)));
        return shown;
    }

    QAccessible::State state() const override
    {
        QAccessible::State state;
        if (!isValid())
            return state;
        const QRect whole(FView->mapToGlobal(QPoint(0, 0)), FView->size());
        if (!whole.intersects(rect()))
            state.invisible = true;
        state.selected = isSelected();
        state.focused = FView->currentIndex().row() == FRow;
        state.selectable = true;
        state.focusable = true;
        state.extSelectable = true;
        return state;
    }

    void* interface_cast(QAccessible::InterfaceType type) override
    {
        if (type == QAccessible::TableCellInterface)
            return static_cast<QAccessibleTableCellInterface*>(this);
        if (type == QAccessible::ActionInterface)
            return static_cast<QAccessibleActionInterface*>(this);
        return nullptr;
    }

    bool isSelected() const override
    {
        return isValid() && FView->ShownSelected(static_cast<std::size_t>(FRow));
    }
    QList<QAccessibleInterface*> columnHeaderCells() const override { return {}; }
    QList<QAccessibleInterface*> rowHeaderCells() const override { return {}; }
    int columnIndex() const override { return 0; }
    int rowIndex() const override { return FRow; }
    int columnExtent() const override { return 1; }
    int rowExtent() const override { return 1; }
    QAccessibleInterface* table() const override { return parent(); }

    QStringList actionNames() const override { return {ToggleActionName}; }
    void doAction(const QString& name) override
    {
        if (name == ToggleActionName && isValid())
            FView->selectionModel()->select(Index(), isSelected() ? QItemSelectionModel::Deselect
                                                                  : QItemSelectionModel::Select);
    }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

private:
    QModelIndex Index() const { return FView->Model()->index(FRow); }

    QPointer<TUrlListView> FView;
    int FRow;
};

class TListInterface : public QAccessibleWidget, public QAccessibleTableInterface {
public:
    explicit TListInterface(TUrlListView* view) : QAccessibleWidget(view, QAccessible::List) { }
    ~TListInterface() override { Forget(); }

    QAccessible::State state() const override
    {
        QAccessible::State state;
        const QWidget* view = widget();
        state.invisible = !view->testAttribute(Qt::WA_WState_Visible);
        state.focusable = view->focusPolicy() != Qt::NoFocus;
        state.focused = view->hasFocus();
        state.disabled = !view->isEnabled();
        return state;
    }
    QString text(QAccessible::Text kind) const override
    {
        return kind == QAccessible::Description ? widget()->accessibleDescription()
                                                : widget()->accessibleName();
    }

    int childCount() const override { return rowCount(); }
    QAccessibleInterface* child(int row) const override
    {
        if (row < 0 || row >= rowCount())
            return nullptr;
        const auto known = FRows.constFind(row);
        if (known != FRows.constEnd())
            return QAccessible::accessibleInterface(*known);
        auto* made = new TRowInterface(View(), row);
        FRows.insert(row, QAccessible::registerAccessibleInterface(made));
        return made;
    }
    int indexOfChild(const QAccessibleInterface* child) const override
    {
        if (!child || child->role() != QAccessible::ListItem || child->parent() != this)
            return -1;
        const int row = static_cast<const TRowInterface*>(child)->Row();
        return row < rowCount() ? row : -1;
    }
    QAccessibleInterface* childAt(int x, int y) const override
    {
        const QPoint at = View()->viewport()->mapFromGlobal(QPoint(x, y));
        const QModelIndex index = View()->indexAt(at);
        return index.isValid() ? child(index.row()) : nullptr;
    }

    void* interface_cast(QAccessible::InterfaceType type) override
    {
        // Only the table: the list offers no actions of its own, as before.
        return type == QAccessible::TableInterface ? static_cast<QAccessibleTableInterface*>(this) : nullptr;
    }

    QAccessibleInterface* caption() const override { return nullptr; }
    QAccessibleInterface* summary() const override { return nullptr; }
    QAccessibleInterface* cellAt(int row, int column) const override
    {
        return column == 0 ? child(row) : nullptr;
    }
    int selectedCellCount() const override { return static_cast<int>(View()->SelectedCount()); }
    QList<QAccessibleInterface*> selectedCells() const override
    {
        QList<QAccessibleInterface*> cells;
        for (const int row : selectedRows())
            cells.append(child(row));
        return cells;
    }
    QString columnDescription(int) const override { return {}; }
    QString rowDescription(int) const override { return {}; }
    int selectedColumnCount() const override { return 0; }
    int selectedRowCount() const override { return selectedCellCount(); }
    int columnCount() const override { return View()->Model() ? 1 : 0; }
    int rowCount() const override { return View()->Model() ? View()->Model()->rowCount() : 0; }
    QList<int> selectedColumns() const override { return {}; }
    QList<int> selectedRows() const override
    {
        QList<int> rows;
        const int count = rowCount();
        for (int row = 0; row < count; ++row)
            if (View()->ShownSelected(static_cast<std::size_t>(row)))
                rows.append(row);
        return rows;
    }
    bool isColumnSelected(int) const override { return false; }
    bool isRowSelected(int row) const override
    {
        return row >= 0 && row < rowCount() && View()->ShownSelected(static_cast<std::size_t>(row));
    }
    bool selectRow(int row) override { return Select(row, QItemSelectionModel::Select); }
    bool selectColumn(int) override { return false; }
    bool unselectRow(int row) override { return Select(row, QItemSelectionModel::Deselect); }
    bool unselectColumn(int) override { return false; }

    // The rows handed out keep their items: they move with an insertion or
    // a removal before them and go with their own removal; a new order or
    // a new list leaves none of them where it was.
    void modelChange(QAccessibleTableModelChangeEvent* event) override
    {
        using TChange = QAccessibleTableModelChangeEvent;
        const int first = event->firstRow(), last = event->lastRow();
        switch (event->modelChangeType()) {
        case TChange::ModelReset:
            Forget();
            break;
        case TChange::RowsInserted:
            Renumber([&](int row) { return row >= first ? row + (last - first + 1) : row; });
            break;
        case TChange::RowsRemoved:
            Renumber([&](int row) { return row < first ? row : row > last ? row - (last - first + 1) : -1; });
            break;
        default:
            break;
        }
    }

private:
    TUrlListView* View() const { return static_cast<TUrlListView*>(widget()); }

    bool Select(int row, QItemSelectionModel::SelectionFlag how)
    {
        if (row < 0 || row >= rowCount())
            return false;
        View()->selectionModel()->select(View()->Model()->index(row), how);
        return true;
    }
    void Forget()
    {
        for (const QAccessible::Id id : std::as_const(FRows))
            QAccessible::deleteAccessibleInterface(id);
        FRows.clear();
    }
    template <class F> void Renumber(F moved)
    {
        QHash<int, QAccessible::Id> kept;
        for (auto known = FRows.cbegin(); known != FRows.cend(); ++known) {
            const int row = moved(known.key());
            if (row < 0) {
                QAccessible::deleteAccessibleInterface(known.value());
                continue;
            }
            static_cast<TRowInterface*>(QAccessible::accessibleInterface(known.value()))->MoveTo(row);
            kept.insert(row, known.value());
        }
        FRows = std::move(kept);
    }

    mutable QHash<int, QAccessible::Id> FRows;  // row interfaces handed out, by row
};

QAccessibleInterface* UrlListInterface(const QString& className, QObject* object)
{
    if (className == QLatin1String("TUrlListView") && object->isWidgetType())
        return new TListInterface(static_cast<TUrlListView*>(object));
    return nullptr;
}

}  // namespace

void AnnounceUrlListRows()
{
    static const bool installed = [] {
        QAccessible::installFactory(UrlListInterface);
        return true;
    }();
    (void)installed;
}
