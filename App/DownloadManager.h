#pragma once

#include "engine/TaskRecord.h"
#include "engine/TaskStatus.h"

#include <QAbstractListModel>
#include <QCoroTask>
#include <QHash>
#include <QList>
#include <QPointer>
#include <QString>
#include <QThreadPool>

#include <functional>
#include <optional>

class DownloadTask;
class HistoryStore;
struct DownloadOptions;

// The download queue: the ordered list of download tasks, started in list order up to the
// "maxConcurrent" limit, the user's controls on single tasks and on the whole list, the queue
// file "queue.json" that lets the queue survive a restart, and the run of one yt-dlp download.
// Also the list model of the queue screen. Main thread only.
//
// The queue file is rewritten whole whenever the list or a task's stored state changes. Changes
// made while handling one event are written together when control returns to the event loop,
// so a burst of changes (a thousand links queued at once) costs one write; that write encodes
// and stores a copy of the records on a thread of its own, so a long queue never stalls the
// window. saveQueue() and quitting write at once, after any write still on its way.
class DownloadManager final : public QAbstractListModel
{
    Q_OBJECT
    Q_PROPERTY(int activeCount READ activeCount NOTIFY countsChanged)
    Q_PROPERTY(int pendingCount READ pendingCount NOTIFY countsChanged)

public:
    enum Roles { TaskRole = Qt::UserRole + 1 };

    // Restores "queue.json"; nothing starts before start().
    explicit DownloadManager(HistoryStore *history, QObject *parent = nullptr);
    ~DownloadManager() override;

    [[nodiscard]] const QList<DownloadTask *> &tasks() const { return m_tasks; }
    // Tasks in which yt-dlp runs (downloading or processing).
    [[nodiscard]] int activeCount() const;
    // Tasks not finished: queued, running or paused.
    [[nodiscard]] int pendingCount() const;

    // Called with every task that ends completed, failed or cancelled by its run, after the
    // history and the queue have been updated.
    std::function<void(DownloadTask *)> onFinished;

    // Lets queued tasks start; called once the tools are ready. Never undone.
    void start();
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

    // The message of the first check that keeps the task from starting, or nullopt.
    [[nodiscard]] std::optional<QString> preflight(const DownloadTask &task) const;
    // Free bytes in a folder, nullopt when unknown. Replaceable so tests can stage a full disk.
    using FreeSpaceProbe = std::function<std::optional<qint64>(const QString &folder)>;
    void setFreeSpaceProbe(FreeSpaceProbe probe);

    // The command line as the task log shows it: arguments joined by blanks, one holding a blank
    // wrapped in single quotes, and passwords (of a proxy or a site login) masked.
    [[nodiscard]] static QString commandLineText(const QStringList &arguments);

    [[nodiscard]] int rowCount(const QModelIndex &parent = {}) const override;
    [[nodiscard]] QVariant data(const QModelIndex &index, int role) const override;
    [[nodiscard]] QHash<int, QByteArray> roleNames() const override;

    [[nodiscard]] static QString queueFilePath();

Q_SIGNALS:
    // activeCount or pendingCount may have changed: the list or a task's status changed.
    void countsChanged();

private:
    void loadQueue();
    void pump();
    void launch(DownloadTask *task);
    QCoro::Task<> run(QPointer<DownloadTask> task, quint64 runId);
    // Ends a run whose child never started because the user paused, cancelled or removed the
    // task in the meantime; false when nothing was asked.
    bool settleEarlyRequest(DownloadTask *task);
    void settle(DownloadTask *task, int status);
    void finish(DownloadTask *task, TaskStatus status, const std::optional<QString> &error);
    void settlePaused(DownloadTask *task);
    void stopProcess(DownloadTask *task);
    void onLine(const QPointer<DownloadTask> &task, quint64 runId, const QString &logPath, const QString &line,
                bool fromStderr);
    // Writes the output lines collected so far.
    void flushLines();
    [[nodiscard]] bool isCurrentRun(const DownloadTask *task, quint64 runId) const;
    void endRun(DownloadTask *task);

    // Starts following a task of the list (created with this queue as its parent).
    void adopt(DownloadTask *task);
    // Takes a task that left the list; it lives on until its run, if any, has settled.
    void release(DownloadTask *task);
    void cancelNow(DownloadTask *task);
    void swapWithNext(int index);
    void scheduleSave();
    // Hands the queue as it is now to m_writer; when that write is done, a save asked for
    // meanwhile starts the next.
    void startWrite();
    // The stored form of every task, in list order.
    [[nodiscard]] QList<TaskRecord> records() const;
    // Writes now, once the writes handed to m_writer are done.
    void writeQueueFile();

    QList<DownloadTask *> m_tasks;
    HistoryStore *m_history;
    bool m_started = false;
    bool m_terminating = false;
    bool m_savePending = false;
    // A write is with m_writer: saves asked for meanwhile wait for it and become one, so a burst
    // of changes never piles up writes of stale copies behind it.
    bool m_writing = false;
    // The run each task is in, so output or an exit of an earlier run never touches it.
    QHash<const DownloadTask *, quint64> m_runs;
    quint64 m_lastRunId = 0;
    // Output lines of the children not yet written, by task log: a chatty child prints hundreds
    // of lines a second, and one write per line would cost more than everything else we do.
    QHash<QString, QStringList> m_pendingLines;
    FreeSpaceProbe m_freeSpace;
    // One thread, so queue files are written in the order they were handed over.
    QThreadPool m_writer;
};
