#pragma once

#include "engine/DownloadRunner.h"
#include "engine/QueueFile.h"
#include "engine/TaskRecord.h"
#include "engine/TaskStatus.h"

#include <QAbstractListModel>
#include <QHash>
#include <QList>
#include <QSet>
#include <QString>
#include <QUuid>

#include <functional>
#include <optional>

class DownloadTask;
class HistoryStore;
struct DownloadOptions;

// The download queue: the ordered list of download tasks, started in list order up to the
// "maxConcurrent" limit, the user's controls on single tasks and on the whole list, and what the
// end of a run means for the queue (history, notification, the next task). Also the list model
// of the queue screen. Main thread only.
//
// The list is kept in the queue file whenever it or a task's stored state changes; the runs
// themselves are the runner's.
class DownloadManager final : public QAbstractListModel
{
    Q_OBJECT
    Q_PROPERTY(int activeCount READ activeCount NOTIFY countsChanged)
    Q_PROPERTY(int pendingCount READ pendingCount NOTIFY countsChanged)

public:
    enum Roles { TaskRole = Qt::UserRole + 1 };

    // Whether the queue file is read by the constructor or handed to restore() later.
    enum class Restore { Now, Later };

    // Restores "queue.json" (now, or from restore()); nothing starts before start().
    explicit DownloadManager(HistoryStore *history, Restore restore = Restore::Now, QObject *parent = nullptr);
    ~DownloadManager() override;

    [[nodiscard]] const QList<DownloadTask *> &tasks() const { return m_tasks; }
    [[nodiscard]] QSet<QUuid> taskIds() const;
    // Tasks in which yt-dlp runs (downloading or processing).
    [[nodiscard]] int activeCount() const;
    // Tasks not finished: queued, running or paused.
    [[nodiscard]] int pendingCount() const;

    // Called with every task that ends completed, failed or cancelled by its run, after the
    // history and the queue have been updated.
    std::function<void(DownloadTask *)> onFinished;

    // Lets queued tasks start; called once the tools are ready. Never undone.
    void start();
    // The stored tasks, read elsewhere (QueueFile::read()), go in front of any queued since start.
    // Until then nothing starts and nothing is saved: the file holds tasks the list does not yet.
    void restore(const QList<TaskRecord> &stored);
    [[nodiscard]] bool isRestored() const { return m_restored; }
    DownloadTask *enqueue(const DownloadOptions &options);
    // Queues the requests in their order as one change of the list (one row insertion, one count
    // update, one save, one pump), so a drop of hundreds of links costs the window a single update.
    QList<DownloadTask *> enqueueAll(const QList<DownloadOptions> &requests);

    Q_INVOKABLE void pause(DownloadTask *task);
    Q_INVOKABLE void resume(DownloadTask *task);
    Q_INVOKABLE void cancel(DownloadTask *task);
    Q_INVOKABLE void retry(DownloadTask *task);
    Q_INVOKABLE void remove(DownloadTask *task);
    Q_INVOKABLE void moveUp(DownloadTask *task);
    Q_INVOKABLE void moveDown(DownloadTask *task);
    // A drag in the list: the tasks at `fromOffsets` land, in their order, before the task that
    // was at `toOffset` (the end of the list when it equals the count).
    Q_INVOKABLE void move(const QList<int> &fromOffsets, int toOffset);
    Q_INVOKABLE void pauseAll();
    Q_INVOKABLE void resumeAll();
    Q_INVOKABLE void clearFinished();

    // Writes "queue.json" now.
    void saveQueue();
    // At quit: running tasks are saved as queued (or as paused or cancelled when the user already
    // asked for that), their children are interrupted and, 400 ms later, terminated. From here on
    // nothing settles, saves or starts.
    void prepareForTermination();

    [[nodiscard]] DownloadRunner &runner() { return m_runner; }

    [[nodiscard]] int rowCount(const QModelIndex &parent = {}) const override;
    [[nodiscard]] QVariant data(const QModelIndex &index, int role) const override;
    [[nodiscard]] QHash<int, QByteArray> roleNames() const override;

Q_SIGNALS:
    // activeCount or pendingCount may have changed: the list or a task's status changed.
    void countsChanged();

private:
    void pump();
    void launch(DownloadTask *task);
    void settled(DownloadTask *task, const DownloadRunner::Outcome &outcome);
    void finish(DownloadTask *task, TaskStatus status, const std::optional<QString> &error);
    void settlePaused(DownloadTask *task);

    // Starts following a task of the list (created with this queue as its parent).
    void adopt(DownloadTask *task);
    // Takes tasks that left the list; each lives on until its run, if any, has settled.
    void release(const QList<DownloadTask *> &gone);
    // Deletes the task logs no history entry refers to: nothing else would ever show them.
    void forgetLogs(const QList<QUuid> &ids);
    void cancelNow(DownloadTask *task);
    void swapWithNext(int index);
    void scheduleSave();
    // The stored form of every task, in list order.
    [[nodiscard]] QList<TaskRecord> records() const;

    QList<DownloadTask *> m_tasks;
    HistoryStore *m_history;
    bool m_started = false;
    bool m_restored = false;
    bool m_terminating = false;
    QueueFile m_file;
    DownloadRunner m_runner;
};
