#pragma once

#include "engine/HistoryItem.h"

#include <QAbstractListModel>
#include <QList>
#include <QSet>
#include <QUuid>

#include <functional>

class DownloadTask;

// The download history, newest first, kept in "history.json" in the support folder. Every
// change is saved at once, so the file mirrors the list; while the file is being read elsewhere,
// nothing is saved, so it never loses entries the list does not hold yet. Also the list model of
// the history screen. Main thread only, read() excepted.
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

    // The entries of "history.json", on any thread. A file that is missing gives none; one that
    // cannot be read or decoded (even a single bad entry) also does, after it has been moved aside
    // to "history.json.bad" so the user's entries survive the next save. Equal texts share storage.
    [[nodiscard]] static QList<HistoryItem> read();
    // Reads "history.json" here and now.
    void load();
    // The file is being read for adopt(): saves wait until then.
    void beginLoading() { m_loading = true; }
    [[nodiscard]] bool isLoading() const { return m_loading; }
    // Takes the stored entries, behind those recorded since start; saves when there were such.
    void adopt(QList<HistoryItem> stored);

    [[nodiscard]] const QList<HistoryItem> &items() const { return m_items; }
    [[nodiscard]] int count() const { return int(m_items.size()); }

    // Puts the task's entry at the front, replacing an earlier entry of the same task, and saves.
    void record(const DownloadTask &task);
    // Deletes the given entries and the task logs of every given id, known or not, and saves.
    void remove(const QSet<QUuid> &ids);
    // Deletes every entry and its task log, and saves.
    void clear();
    // The ids of the tasks in the download queue, set by the queue: their logs stay when their
    // entries go (a cancelled task that was retried), since the queue's rows still show them.
    std::function<QSet<QUuid>()> queuedIds;

    [[nodiscard]] int rowCount(const QModelIndex &parent = {}) const override;
    [[nodiscard]] QVariant data(const QModelIndex &index, int role) const override;
    [[nodiscard]] QHash<int, QByteArray> roleNames() const override;

    [[nodiscard]] static QString filePath();

Q_SIGNALS:
    void itemsChanged();

private:
    void removeRowsWhere(const QSet<QUuid> &ids);
    void removeLogs(const QList<QUuid> &ids) const;
    void save() const;

    QList<HistoryItem> m_items;
    bool m_loading = false;
};
