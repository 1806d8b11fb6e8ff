#pragma once

#include "music/QueueItem.h"

#include <QAbstractListModel>

class PlayerManager;

// The songs after the current one, as rows of a list: the player's queue from the current index
// plus one, at most `limit` of them (none: all). Each change of the queue or of the index is
// passed on as the rows it inserts, removes or moves, matched by queue uid, never as a reset:
// hover, a drag under way and the scroll position survive an advance or a refill.
class UpcomingModel final : public QAbstractListModel
{
    Q_OBJECT

public:
    enum Roles {
        UidRole = Qt::UserRole + 1, // text, upper case without braces
        TitleRole,
        ArtistRole,
        DurationTextRole, // "m:ss", or empty when unknown
        ArtworkRole,      // candidate links of the small picture
    };

    explicit UpcomingModel(PlayerManager &player, int limit = -1, QObject *parent = nullptr);

    [[nodiscard]] int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    [[nodiscard]] QVariant data(const QModelIndex &index, int role) const override;
    [[nodiscard]] QHash<int, QByteArray> roleNames() const override;

    // The uid of `row`, empty outside the list.
    Q_INVOKABLE QString uidAt(int row) const;

    // Row actions name their queue item by uid and find it in the queue as it is when they run:
    // the rows may have moved since the gesture began.
    // Starts the item from its beginning, as a skip of the song it interrupts (the current item
    // included).
    Q_INVOKABLE void play(const QString &uid);
    // The current item is never removed.
    Q_INVOKABLE void remove(const QString &uid);
    // Moves the upcoming item `uid` before the upcoming item `beforeUid` (empty, or no longer
    // upcoming: to the end). An item that is no longer upcoming stays where it is.
    Q_INVOKABLE void moveBefore(const QString &uid, const QString &beforeUid);

    [[nodiscard]] static QString uidText(const QUuid &uid);

private:
    void sync();
    // The queue position of the item with `uid`, or -1.
    [[nodiscard]] int positionOf(const QString &uid) const;

    PlayerManager &m_player;
    int m_limit;
    QList<QueueItem> m_items;
};
