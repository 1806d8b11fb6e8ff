#pragma once

#include "engine/HistoryItem.h"

#include <QAbstractListModel>
#include <QList>
#include <QSet>
#include <QUuid>

class DownloadTask;

// The download history, newest first, kept in "history.json" in the support folder. Every
// change is saved at once, so the file mirrors the list. Also the list model of the history
// screen. Main thread only.
class HistoryStore final : public QAbstractListModel
{
    Q_OBJECT
    Q_PROPERTY(int count READ count NOTIFY itemsChanged)

public:
    enum Roles {
        IdRole = Qt::UserRole + 1,
        TitleRole,
        ThumbnailRole,
        DateRole,
        StatusRole, // the raw value, such as "completed"
        FilePathRole,
        FolderRole,
        SourceURLRole,
        SizeRole, // bytes; undefined when unknown
        ErrorRole,
    };

    explicit HistoryStore(QObject *parent = nullptr);

    // Reads "history.json". A file that is missing gives an empty history; one that cannot be
    // read or decoded (even a single bad entry) also does, after it has been moved aside to
    // "history.json.bad" so the user's entries survive the next save.
    void load();

    [[nodiscard]] const QList<HistoryItem> &items() const { return m_items; }
    [[nodiscard]] int count() const { return int(m_items.size()); }

    // Puts the task's entry at the front, replacing an earlier entry of the same task, and saves.
    void record(const DownloadTask &task);
    // Deletes the given entries and the task logs of every given id, known or not, and saves.
    void remove(const QSet<QUuid> &ids);
    // Deletes every entry and its task log, and saves.
    void clear();

    [[nodiscard]] int rowCount(const QModelIndex &parent = {}) const override;
    [[nodiscard]] QVariant data(const QModelIndex &index, int role) const override;
    [[nodiscard]] QHash<int, QByteArray> roleNames() const override;

    [[nodiscard]] static QString filePath();

Q_SIGNALS:
    void itemsChanged();

private:
    void removeRowsWhere(const QSet<QUuid> &ids);
    void save() const;

    QList<HistoryItem> m_items;
};
