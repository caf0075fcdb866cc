#include "UrlListModel.h"

#include <QSize>

#include "Cp932.h"
#include "UrlList.h"

TUrlListModel::TUrlListModel(const TUrlList& list, QObject* parent)
    : QAbstractListModel(parent), FList(list), FRows(static_cast<int>(list.Count()))
{ }

int TUrlListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : FRows;
}

QVariant TUrlListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() < 0 || index.row() >= FRows
        || static_cast<std::size_t>(index.row()) >= FList.Count())
        return {};
    switch (role) {
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole:
        return FromCp932(FList[static_cast<std::size_t>(index.row())]);
    case Qt::SizeHintRole:
        return QSize(FExtent, RowHeight);
    default:
        return RowExtras ? RowExtras(index.row(), role) : QVariant();
    }
}

void TUrlListModel::Reload()
{
    beginResetModel();
    FRows = static_cast<int>(FList.Count());
    endResetModel();
}

bool TUrlListModel::CountChanged() const
{
    return static_cast<std::size_t>(FRows) != FList.Count();
}

void TUrlListModel::ItemsChanged()
{
    if (FRows > 0)
        emit dataChanged(index(0), index(FRows - 1), {Qt::DisplayRole});
}

void TUrlListModel::SetHorizontalExtent(int pixels)
{
    if (pixels == FExtent)
        return;
    emit layoutAboutToBeChanged();
    FExtent = pixels;
    emit layoutChanged();
}
