#include "UrlListModel.h"

#include <QSize>

#include "Cp932.h"
#include "UrlList.h"

TUrlListModel::TUrlListModel(const TUrlList& list, QObject* parent) : QAbstractListModel(parent), FList(list)
{ }

int TUrlListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(FList.Count());
}

QVariant TUrlListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() < 0 || static_cast<std::size_t>(index.row()) >= FList.Count())
        return {};
    switch (role) {
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole:
        return FromCp932(FList[static_cast<std::size_t>(index.row())]);
    case Qt::SizeHintRole:
        return QSize(FExtent, RowHeight);
    default:
        return {};
    }
}

void TUrlListModel::Reload()
{
    beginResetModel();
    endResetModel();
}

void TUrlListModel::SetHorizontalExtent(int pixels)
{
    if (pixels == FExtent)
        return;
    emit layoutAboutToBeChanged();
    FExtent = pixels;
    emit layoutChanged();
}
