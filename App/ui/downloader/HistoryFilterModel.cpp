#include "HistoryFilterModel.h"

#include "engine/HistoryStore.h"
#include "ui/downloader/HistoryRowPresentation.h"

HistoryFilterModel::HistoryFilterModel(HistoryStore *store, QObject *parent)
    : QSortFilterProxyModel(parent)
    , m_store(store)
{
    setSourceModel(store);
}

void HistoryFilterModel::setSearch(const QString &search)
{
    if (search == m_search)
        return;
    m_search = search;
    invalidateFilter();
}

void HistoryFilterModel::setSelection(const QSet<QUuid> &selection)
{
    const QSet<QUuid> before = std::exchange(m_selection, selection);
    for (int row = 0; row < rowCount(); ++row) {
        const QUuid id = idAt(row);
        if (before.contains(id) != m_selection.contains(id))
            Q_EMIT dataChanged(index(row, 0), index(row, 0), {SelectedRole});
    }
}

QUuid HistoryFilterModel::idAt(int row) const
{
    const QModelIndex source = mapToSource(index(row, 0));
    return source.isValid() ? m_store->items()[source.row()].id : QUuid();
}

bool HistoryFilterModel::filterAcceptsRow(int sourceRow, const QModelIndex &) const
{
    if (m_search.isEmpty())
        return true;
    const HistoryItem &item = m_store->items()[sourceRow];
    return item.title.contains(m_search, Qt::CaseInsensitive) || item.sourceURL.contains(m_search, Qt::CaseInsensitive);
}

QVariant HistoryFilterModel::data(const QModelIndex &index, int role) const
{
    if (role < StatusTextRole)
        return QSortFilterProxyModel::data(index, role);
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const HistoryItem &item = m_store->items()[mapToSource(index).row()];
    switch (role) {
    case ButtonsRole:
        // Read when the view builds the row: the one moment the file is looked for.
        return UiAction::toVariantList(
            HistoryRowPresentation::buttonsOf(item, HistoryRowPresentation::fileExists(item)));
    case SelectedRole: return m_selection.contains(item.id);
    default: break;
    }
    const HistoryRowPresentation row = HistoryRowPresentation::of(item);
    switch (role) {
    case StatusTextRole: return row.status.text;
    case StatusIconRole: return row.status.icon;
    case StatusColorRole: return row.status.color;
    case DateTextRole: return row.dateText;
    case SizeTextRole: return row.sizeText;
    case DetailRole: return row.detail;
    case DetailColorRole: return row.detailColor;
    case LoadableThumbnailRole: return row.thumbnail;
    default: return {};
    }
}

QHash<int, QByteArray> HistoryFilterModel::roleNames() const
{
    QHash<int, QByteArray> names = QSortFilterProxyModel::roleNames();
    names.insert({
        {StatusTextRole, "statusText"},
        {StatusIconRole, "statusIcon"},
        {StatusColorRole, "statusColor"},
        {DateTextRole, "dateText"},
        {SizeTextRole, "sizeText"},
        {DetailRole, "detail"},
        {DetailColorRole, "detailColor"},
        {LoadableThumbnailRole, "loadableThumbnail"},
        {ButtonsRole, "buttons"},
        {SelectedRole, "selected"},
    });
    return names;
}
