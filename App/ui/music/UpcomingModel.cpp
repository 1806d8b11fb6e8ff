#include "UpcomingModel.h"

#include "core/TextHelpers.h"
#include "player/PlayerManager.h"

#include <QUrl>

UpcomingModel::UpcomingModel(PlayerManager &player, int limit, QObject *parent)
    : QAbstractListModel(parent)
    , m_player(player)
    , m_limit(limit)
{
    QueueModel *queue = m_player.queueModel();
    connect(queue, &QAbstractItemModel::rowsInserted, this, &UpcomingModel::sync);
    connect(queue, &QAbstractItemModel::rowsRemoved, this, &UpcomingModel::sync);
    connect(queue, &QAbstractItemModel::rowsMoved, this, &UpcomingModel::sync);
    connect(queue, &QAbstractItemModel::dataChanged, this, &UpcomingModel::sync);
    connect(queue, &QAbstractItemModel::modelReset, this, &UpcomingModel::sync);
    connect(&m_player, &PlayerManager::indexChanged, this, &UpcomingModel::sync);
    sync();
}

int UpcomingModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_items.size());
}

QVariant UpcomingModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const QueueItem &item = m_items.at(index.row());
    switch (role) {
    case UidRole: return uidText(item.uid());
    case Qt::DisplayRole:
    case TitleRole: return item.track.title;
    case ArtistRole: return item.track.artist;
    case DurationTextRole: return item.track.duration ? formatClock(*item.track.duration) : QString();
    case ArtworkRole: return QVariant::fromValue(item.track.artwork(false));
    default: return {};
    }
}

QHash<int, QByteArray> UpcomingModel::roleNames() const
{
    return {{UidRole, "uid"},
            {TitleRole, "title"},
            {ArtistRole, "artist"},
            {DurationTextRole, "durationText"},
            {ArtworkRole, "artwork"}};
}

QString UpcomingModel::uidAt(int row) const
{
    return row >= 0 && row < m_items.size() ? uidText(m_items.at(row).uid()) : QString();
}

int UpcomingModel::positionOf(const QString &uid) const
{
    const QUuid wanted = QUuid::fromString(uid);
    return wanted.isNull() ? -1 : m_player.queueModel()->rowOf(wanted);
}

void UpcomingModel::play(const QString &uid)
{
    const int position = positionOf(uid);
    if (position >= 0)
        m_player.playIndex(position, true);
}

void UpcomingModel::remove(const QString &uid)
{
    const int position = positionOf(uid);
    if (position >= 0)
        m_player.removeFromQueue(m_player.queue().at(position));
}

void UpcomingModel::moveBefore(const QString &uid, const QString &beforeUid)
{
    if (!m_player.index())
        return;
    const int base = *m_player.index() + 1;
    const int from = positionOf(uid);
    if (from < base)
        return;
    int to = positionOf(beforeUid);
    if (to < base)
        to = int(m_player.queue().size());
    m_player.moveQueue({from}, to);
}

QString UpcomingModel::uidText(const QUuid &uid)
{
    return uid.toString(QUuid::WithoutBraces).toUpper();
}

// Turns the rows shown into the rows wanted, one signal per step: rows gone are removed, then
// each wanted row is either in place, moved up from further down, or inserted.
void UpcomingModel::sync()
{
    QList<QueueItem> wanted = m_player.upcoming();
    if (m_limit >= 0 && wanted.size() > m_limit)
        wanted.remove(m_limit, wanted.size() - m_limit);

    const auto rowIn = [](const QList<QueueItem> &items, const QUuid &uid, qsizetype from = 0) {
        for (qsizetype row = from; row < items.size(); ++row) {
            if (items.at(row).uid() == uid)
                return int(row);
        }
        return -1;
    };
    for (int row = int(m_items.size()) - 1; row >= 0; --row) {
        if (rowIn(wanted, m_items.at(row).uid()) < 0) {
            beginRemoveRows(QModelIndex(), row, row);
            m_items.removeAt(row);
            endRemoveRows();
        }
    }
    for (int row = 0; row < wanted.size(); ++row) {
        const QueueItem &item = wanted.at(row);
        const int found = rowIn(m_items, item.uid(), row);
        if (found < 0) {
            beginInsertRows(QModelIndex(), row, row);
            m_items.insert(row, item);
            endInsertRows();
            continue;
        }
        if (found != row) {
            beginMoveRows(QModelIndex(), found, found, QModelIndex(), row);
            m_items.move(found, row);
            endMoveRows();
        }
        if (!(m_items.at(row) == item)) {
            m_items[row] = item;
            Q_EMIT dataChanged(index(row), index(row));
        }
    }
}
