#pragma once

#include "music/QueueItem.h"

#include <QAbstractListModel>
#include <QList>

// The play queue, as the player keeps it and as the queue panel lists it. Every edit announces
// the rows it touches, so views keep their scroll position and delegates. Main thread only.
class QueueModel final : public QAbstractListModel
{
    Q_OBJECT

public:
    enum Roles {
        UidRole = Qt::UserRole + 1, // text, upper case without braces
        TrackIdRole,
        TitleRole,
        ArtistRole,
        DurationTextRole, // "m:ss", or "—" when unknown
    };

    using QAbstractListModel::QAbstractListModel;

    [[nodiscard]] int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    [[nodiscard]] QVariant data(const QModelIndex &index, int role) const override;
    [[nodiscard]] QHash<int, QByteArray> roleNames() const override;

    [[nodiscard]] const QList<QueueItem> &items() const { return m_items; }
    [[nodiscard]] int count() const { return int(m_items.size()); }
    [[nodiscard]] const QueueItem &at(int row) const { return m_items.at(row); }
    // The row of the item with `uid`, or -1.
    [[nodiscard]] int rowOf(const QUuid &uid) const;

    void replace(const QList<QueueItem> &items);
    void insert(int row, const QueueItem &item);
    void append(const QList<QueueItem> &items);
    void removeAt(int row);
    // Keeps the first `count` items.
    void truncate(int count);
    // The items at `rows` (each inside the queue, no repeats) land, in their order, before the
    // item that stood at `destination` (0…count); the other items keep their order.
    void move(QList<int> rows, int destination);
    // Same uid, new details.
    void setTrack(int row, const Track &track);

private:
    QList<QueueItem> m_items;
};
