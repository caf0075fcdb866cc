#include "UrlListModel.h"

#include <algorithm>
#include <utility>

#include <QList>
#include <QMimeData>
#include <QSize>
#include <QUrl>

#include "BrowserTargets.h"
#include "Cp932.h"
#include "ListText.h"
#include "engine/UrlList.h"

namespace {

// Past this many separate runs a rewrite is told as one span: the views
// redraw only what is shown anyway.
constexpr std::size_t RewriteRunsNamed = 64;

}  // namespace

TUrlListModel::TUrlListModel(TUrlList& list, QObject* parent)
    : QAbstractListModel(parent), FList(list), FRows(static_cast<int>(list.Count()))
{ }

int TUrlListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : FRows;
}

QVariant TUrlListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() < 0 || index.row() >= FRows)
        return {};
    const auto row = static_cast<std::size_t>(index.row());
    switch (role) {
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole:
        return FromCp932(FList[row]);
    case Qt::SizeHintRole:
        return QSize(FExtent, RowHeight);
    case SelectedRole:
        return FList.Selected(row);
    default:
        return FAnnotations ? FAnnotations->Data(row, role) : QVariant();
    }
}

Qt::ItemFlags TUrlListModel::flags(const QModelIndex& index) const
{
    return QAbstractListModel::flags(index) | (index.isValid() ? Qt::ItemIsDragEnabled : Qt::NoItemFlags);
}

QStringList TUrlListModel::mimeTypes() const
{
    return {QStringLiteral("text/plain"), QStringLiteral("text/uri-list")};
}

QMimeData* TUrlListModel::mimeData(const QModelIndexList& indexes) const
{
    std::vector<std::size_t> rows;
    rows.reserve(static_cast<std::size_t>(indexes.size()));
    for (const QModelIndex& index : indexes)
        if (index.isValid() && index.row() < FRows)
            rows.push_back(static_cast<std::size_t>(index.row()));
    if (rows.empty())
        return nullptr;
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    std::string text;
    QList<QUrl> urls;
    for (const std::size_t row : rows) {
        if (!text.empty())
            text += LineEnd;
        text += FList[row];
        const std::string address = BrowserAddressOf(FList[row]);
        const QUrl url(FromCp932(address), QUrl::TolerantMode);
        if (!address.empty() && url.isValid())
            urls.push_back(url);
    }
    auto* data = new QMimeData;
    if (!urls.isEmpty())
        data->setUrls(urls);
    data->setText(FromCp932(text));
    return data;
}

void TUrlListModel::SetHorizontalExtent(int pixels)
{
    if (pixels == FExtent)
        return;
    emit layoutAboutToBeChanged();
    FExtent = pixels;
    emit layoutChanged();
}

void TUrlListModel::SetAnnotations(const TItemAnnotations* annotations)
{
    FAnnotations = annotations;
    if (FRows > 0)
        emit dataChanged(index(0), index(FRows - 1));
}

void TUrlListModel::AnnotationsChanged(int first, int last)
{
    if (first <= last && first >= 0 && last < FRows)
        emit dataChanged(index(first), index(last));
}

void TUrlListModel::Clear()
{
    Appended();
    if (FList.Empty())
        return;
    BeginRemove(0, FList.Count() - 1);
    FList.Clear();
    EndRemove();
}

void TUrlListModel::Appended()
{
    const int count = static_cast<int>(FList.Count());
    if (count <= FRows)
        return;
    beginInsertRows({}, FRows, count - 1);
    FRows = count;
    endInsertRows();
}

void TUrlListModel::BeginRemove(std::size_t first, std::size_t last)
{
    Appended();
    beginRemoveRows({}, static_cast<int>(first), static_cast<int>(last));
}

void TUrlListModel::EndRemove()
{
    FRows = static_cast<int>(FList.Count());
    endRemoveRows();
}

void TUrlListModel::BeginInsert(std::size_t first, std::size_t last)
{
    Appended();
    beginInsertRows({}, static_cast<int>(first), static_cast<int>(last));
}

void TUrlListModel::EndInsert()
{
    FRows = static_cast<int>(FList.Count());
    endInsertRows();
}

void TUrlListModel::BeginReorder()
{
    Appended();
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
}

void TUrlListModel::EndReorder(const std::vector<std::uint32_t>& order, bool inverse)
{
    const QModelIndexList persistent = persistentIndexList();
    if (!persistent.isEmpty()) {
        // Where each old row went: the order itself, or its inverse.
        std::vector<std::uint32_t> target(order.size());
        for (std::size_t i = 0; i < order.size(); ++i) {
            if (inverse)
                target[i] = order[i];
            else
                target[order[i]] = static_cast<std::uint32_t>(i);
        }
        QModelIndexList moved;
        moved.reserve(persistent.size());
        for (const QModelIndex& old : persistent)
            moved.append(index(static_cast<int>(target[static_cast<std::size_t>(old.row())])));
        changePersistentIndexList(persistent, moved);
    }
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

void TUrlListModel::BeginRewrite()
{
    Appended();
    FRewritten.clear();
}

void TUrlListModel::Rewritten(std::size_t row)
{
    const int at = static_cast<int>(row);
    if (!FRewritten.empty() && FRewritten.back().second + 1 == at)
        FRewritten.back().second = at;
    else
        FRewritten.emplace_back(at, at);
}

void TUrlListModel::EndRewrite()
{
    const auto runs = std::exchange(FRewritten, {});
    if (runs.empty())
        return;
    if (runs.size() <= RewriteRunsNamed) {
        for (const auto& [first, last] : runs)
            emit dataChanged(index(first), index(last), {Qt::DisplayRole, Qt::AccessibleTextRole});
        return;
    }
    int first = runs.front().first, last = runs.front().second;
    for (const auto& run : runs) {
        first = std::min(first, run.first);
        last = std::max(last, run.second);
    }
    emit dataChanged(index(first), index(last), {Qt::DisplayRole, Qt::AccessibleTextRole});
}

void TUrlListModel::BeginReset()
{
    beginResetModel();
}

void TUrlListModel::EndReset()
{
    FRows = static_cast<int>(FList.Count());
    endResetModel();
}

void TUrlListModel::SelectionChanged()
{
    Appended();
    emit SelectionAnnounced();
}
