#include "HistoryStore.h"

#include "core/AppPaths.h"
#include "core/Json.h"
#include "core/LogManager.h"
#include "core/StringPool.h"
#include "engine/DownloadTask.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>

namespace {

std::optional<QList<HistoryItem>> decode(const QByteArray &data)
{
    const std::optional<QJsonArray> array = Json::parseArray(data);
    if (!array)
        return std::nullopt;
    QList<HistoryItem> items;
    items.reserve(array->size());
    StringPool pool;
    for (const QJsonValue &value : *array) {
        if (!value.isObject())
            return std::nullopt;
        std::optional<HistoryItem> item = HistoryItem::fromJson(value.toObject());
        if (!item)
            return std::nullopt;
        item->shareTexts(pool);
        items.append(std::move(*item));
    }
    return items;
}

} // namespace

HistoryStore::HistoryStore(QObject *parent)
    : QAbstractListModel(parent)
{}

QString HistoryStore::filePath()
{
    return AppPaths::support() + QStringLiteral("/history.json");
}

QList<HistoryItem> HistoryStore::read()
{
    const QString path = filePath();
    Json::removeStaleTemporaries(path);
    std::optional<QList<HistoryItem>> items;
    QFile file(path);
    if (file.open(QIODevice::ReadOnly))
        items = decode(file.readAll());
    file.close();
    if (!items) {
        if (QFile::exists(path)) {
            LogManager::appLog(QStringLiteral("history.json could not be read; moved aside to history.json.bad"));
            Json::moveAside(path);
        }
        items.emplace();
    }
    return std::move(*items);
}

void HistoryStore::load()
{
    adopt(read());
}

void HistoryStore::adopt(QList<HistoryItem> stored)
{
    const bool recorded = !m_items.isEmpty();
    QSet<QUuid> recordedIds;
    for (const HistoryItem &item : std::as_const(m_items))
        recordedIds.insert(item.id);
    stored.removeIf([&recordedIds](const HistoryItem &item) { return recordedIds.contains(item.id); });
    // Texts decoded on a reader thread sit between the freed pieces of its parsed file, each
    // keeping a page of that thread's memory resident: copied here together, those pages go back.
    StringPool fresh(StringPool::Storage::Fresh);
    for (HistoryItem &item : stored)
        item.shareTexts(fresh);
    beginResetModel();
    // Appending would copy into a list grown for twice as many entries.
    if (m_items.isEmpty())
        m_items = std::move(stored);
    else
        m_items.append(std::move(stored));
    endResetModel();
    m_loading = false;
    Q_EMIT itemsChanged();
    if (recorded)
        save();
}

void HistoryStore::record(const DownloadTask &task)
{
    removeRowsWhere({task.id()});
    beginInsertRows({}, 0, 0);
    m_items.prepend(HistoryItem::from(task));
    endInsertRows();
    Q_EMIT itemsChanged();
    save();
}

void HistoryStore::remove(const QSet<QUuid> &ids)
{
    removeRowsWhere(ids);
    removeLogs(ids.values());
    Q_EMIT itemsChanged();
    save();
}

void HistoryStore::clear()
{
    QList<QUuid> ids;
    ids.reserve(m_items.size());
    for (const HistoryItem &item : std::as_const(m_items))
        ids.append(item.id);
    removeLogs(ids);
    beginResetModel();
    m_items.clear();
    endResetModel();
    Q_EMIT itemsChanged();
    save();
}

void HistoryStore::removeRowsWhere(const QSet<QUuid> &ids)
{
    for (qsizetype row = m_items.size() - 1; row >= 0; --row) {
        if (!ids.contains(m_items[row].id))
            continue;
        beginRemoveRows({}, int(row), int(row));
        m_items.removeAt(row);
        endRemoveRows();
    }
}

void HistoryStore::removeLogs(const QList<QUuid> &ids) const
{
    const QSet<QUuid> queued = queuedIds ? queuedIds() : QSet<QUuid>();
    for (const QUuid &id : ids) {
        if (!queued.contains(id))
            LogManager::remove(id);
    }
}

void HistoryStore::save() const
{
    if (m_loading)
        return;
    QJsonArray array;
    for (const HistoryItem &item : m_items)
        array.append(item.toJson());
    // A failed write leaves the list in memory as it is; the next save writes it whole.
    Json::writeFile(filePath(), QJsonDocument(array).toJson(QJsonDocument::Compact));
}

int HistoryStore::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_items.size());
}

QVariant HistoryStore::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const HistoryItem &item = m_items[index.row()];
    const auto optional = [](const auto &value) { return value ? QVariant::fromValue(*value) : QVariant(); };
    switch (role) {
    case Qt::DisplayRole:
    case TitleRole: return item.title;
    case IdRole: return Json::uuidText(item.id);
    case ThumbnailRole: return optional(item.thumbnail);
    case DateRole: return item.date;
    case StatusRole: return TaskStatuses::rawValue(item.status);
    case FilePathRole: return optional(item.filePath);
    case FolderRole: return item.folder;
    case SourceURLRole: return item.sourceURL;
    case SizeRole: return optional(item.size);
    case ErrorRole: return optional(item.error);
    default: return {};
    }
}

QHash<int, QByteArray> HistoryStore::roleNames() const
{
    return {
        {IdRole, "id"},         {TitleRole, "title"},       {ThumbnailRole, "thumbnail"}, {DateRole, "date"},
        {StatusRole, "status"}, {FilePathRole, "filePath"}, {FolderRole, "folder"},       {SourceURLRole, "sourceURL"},
        {SizeRole, "size"},     {ErrorRole, "error"},
    };
}
