#include "QueueModel.h"

#include "core/TextHelpers.h"

#include <algorithm>

int QueueModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : count();
}

QVariant QueueModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const QueueItem &item = m_items.at(index.row());
    switch (role) {
    case UidRole: return item.uid().toString(QUuid::WithoutBraces).toUpper();
    case TrackIdRole: return item.track.id;
    case Qt::DisplayRole:
    case TitleRole: return item.track.title;
    case ArtistRole: return item.track.artist;
    case DurationTextRole: return formatDuration(item.track.duration);
    default: return {};
    }
}

QHash<int, QByteArray> QueueModel::roleNames() const
{
    return {{UidRole, "uid"},
            {TrackIdRole, "trackId"},
            {TitleRole, "title"},
            {ArtistRole, "artist"},
            {DurationTextRole, "durationText"}};
}

int QueueModel::rowOf(const QUuid &uid) const
{
    const auto found =
        std::find_if(m_items.begin(), m_items.end(), [&uid](const QueueItem &item) { return item.uid() == uid; });
    return found == m_items.end() ? -1 : int(found - m_items.begin());
}

void QueueModel::replace(const QList<QueueItem> &items)
{
    truncate(0);
    append(items);
}

void QueueModel::insert(int row, const QueueItem &item)
{
    beginInsertRows(QModelIndex(), row, row);
    m_items.insert(row, item);
    endInsertRows();
}

void QueueModel::append(const QList<QueueItem> &items)
{
    if (items.isEmpty())
        return;
    beginInsertRows(QModelIndex(), count(), count() + int(items.size()) - 1);
    m_items.append(items);
    endInsertRows();
}

void QueueModel::removeAt(int row)
{
    beginRemoveRows(QModelIndex(), row, row);
    m_items.removeAt(row);
    endRemoveRows();
}

void QueueModel::truncate(int keep)
{
    if (keep >= count())
        return;
    beginRemoveRows(QModelIndex(), keep, count() - 1);
    m_items.remove(keep, count() - keep);
    endRemoveRows();
}

void QueueModel::move(QList<int> rows, int destination)
{
    std::sort(rows.begin(), rows.end());
    QList<QueueItem> moving;
    for (int row : std::as_const(rows))
        moving.append(m_items.at(row));
    const int target = destination - int(std::count_if(rows.begin(), rows.end(),
                                                       [destination](int row) { return row < destination; }));
    // Taken out from the bottom up so the rows still to go keep their numbers, then put back as
    // one block.
    for (auto row = rows.rbegin(); row != rows.rend(); ++row)
        removeAt(*row);
    beginInsertRows(QModelIndex(), target, target + int(moving.size()) - 1);
    for (int i = 0; i < moving.size(); ++i)
        m_items.insert(target + i, moving.at(i));
    endInsertRows();
}

void QueueModel::setTrack(int row, const Track &track)
{
    m_items[row].track = track;
    const QModelIndex changed = index(row);
    Q_EMIT dataChanged(changed, changed, {TrackIdRole, TitleRole, ArtistRole, DurationTextRole, Qt::DisplayRole});
}
