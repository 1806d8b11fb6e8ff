#include "engine/DownloadManager.h"

#include "core/LogManager.h"
#include "core/NotificationManager.h"
#include "core/SettingsStore.h"
#include "engine/DownloadTask.h"
#include "engine/HistoryStore.h"

#include <QPointer>
#include <QSet>

#include <algorithm>

namespace {

// The status word with a capital first letter: "Completed", "Failed", "Cancelled".
QString stageFor(TaskStatus status)
{
    QString word = TaskStatuses::rawValue(status);
    if (!word.isEmpty())
        word[0] = word[0].toUpper();
    return word;
}

} // namespace

DownloadManager::DownloadManager(HistoryStore *history, Restore restore, QObject *parent)
    : QAbstractListModel(parent)
    , m_history(history)
    , m_file([this] { return records(); })
    , m_runner([this](DownloadTask *task, const DownloadRunner::Outcome &outcome) { settled(task, outcome); },
               [this] { pump(); })
{
    // A task in the list keeps its log when its history entry goes: its row still shows the log.
    m_history->queuedIds = [self = QPointer<DownloadManager>(this)] { return self ? self->taskIds() : QSet<QUuid>(); };
    if (restore == Restore::Now)
        this->restore(QueueFile::read());
}

DownloadManager::~DownloadManager()
{
    m_file.close();
    // Children still running are killed with their tasks; their runs must not settle any more.
    m_terminating = true;
}

QSet<QUuid> DownloadManager::taskIds() const
{
    QSet<QUuid> ids;
    ids.reserve(m_tasks.size());
    for (const DownloadTask *task : m_tasks)
        ids.insert(task->id());
    return ids;
}

int DownloadManager::activeCount() const
{
    return int(std::count_if(m_tasks.cbegin(), m_tasks.cend(),
                             [](const DownloadTask *task) { return TaskStatuses::isActive(task->status()); }));
}

int DownloadManager::pendingCount() const
{
    return int(std::count_if(m_tasks.cbegin(), m_tasks.cend(),
                             [](const DownloadTask *task) { return !TaskStatuses::isFinished(task->status()); }));
}

// ---- The list ----

void DownloadManager::adopt(DownloadTask *task)
{
    connect(task, &DownloadTask::statusChanged, this, &DownloadManager::countsChanged);
}

void DownloadManager::release(const QList<DownloadTask *> &gone)
{
    QList<QUuid> idle;
    for (DownloadTask *task : gone) {
        disconnect(task, nullptr, this, nullptr);
        // A running task keeps its object and its log until its child has exited and the run
        // has settled.
        if (!m_runner.isRunning(task)) {
            idle.append(task->id());
            task->deleteLater();
        }
    }
    forgetLogs(idle);
}

void DownloadManager::forgetLogs(const QList<QUuid> &ids)
{
    if (ids.isEmpty())
        return;
    QSet<QUuid> inHistory;
    for (const HistoryItem &item : m_history->items())
        inHistory.insert(item.id);
    for (const QUuid &id : ids) {
        if (!inHistory.contains(id))
            LogManager::remove(id);
    }
}

void DownloadManager::restore(const QList<TaskRecord> &stored)
{
    // After a quit has begun nothing joins the list: it could only be saved partly.
    if (m_restored || m_terminating)
        return;
    m_restored = true;
    QList<DownloadTask *> restored;
    restored.reserve(stored.size());
    for (const TaskRecord &record : stored) {
        auto *task = new DownloadTask(record, this);
        adopt(task);
        // Still shown as running: the application ended without preparing for it.
        if (TaskStatuses::isActive(task->status())) {
            task->setStatus(TaskStatus::Queued);
            task->setStage(QStringLiteral("Resuming after restart"));
            LogManager::append(QStringLiteral("Recovered after restart; will resume."),
                               LogManager::taskLogPath(task->id()));
        }
        restored.append(task);
    }
    if (!restored.isEmpty()) {
        // Tasks queued since start came after the stored ones.
        beginInsertRows({}, 0, int(restored.size()) - 1);
        m_tasks = restored + m_tasks;
        endInsertRows();
        Q_EMIT countsChanged();
    }
    // The file lacks what was queued meanwhile.
    if (m_tasks.size() > restored.size())
        scheduleSave();
    pump();
}

void DownloadManager::start()
{
    m_started = true;
    pump();
}

DownloadTask *DownloadManager::enqueue(const DownloadOptions &options)
{
    return enqueueAll({options}).constFirst();
}

QList<DownloadTask *> DownloadManager::enqueueAll(const QList<DownloadOptions> &requests)
{
    QList<DownloadTask *> added;
    if (requests.isEmpty())
        return added;
    added.reserve(requests.size());
    QList<std::pair<QUuid, QString>> lines;
    lines.reserve(requests.size());
    for (const DownloadOptions &options : requests) {
        auto *task = new DownloadTask(options, this);
        adopt(task);
        added.append(task);
        lines.append(
            {task->id(), QStringLiteral("Queued: ") + options.url + QStringLiteral(" preset=") + options.presetName});
    }
    LogManager::appendToTasks(lines);
    const int first = int(m_tasks.size());
    beginInsertRows({}, first, first + int(added.size()) - 1);
    m_tasks.append(added);
    endInsertRows();
    Q_EMIT countsChanged();
    scheduleSave();
    pump();
    return added;
}

// ---- Controls ----

void DownloadManager::pause(DownloadTask *task)
{
    if (task->status() == TaskStatus::Queued) {
        task->setStatus(TaskStatus::Paused);
        scheduleSave();
    } else if (TaskStatuses::isActive(task->status())) {
        task->pauseRequested = true;
        m_runner.stop(task);
        task->setStage(QStringLiteral("Pausing\u2026"));
    }
}

void DownloadManager::resume(DownloadTask *task)
{
    if (task->status() != TaskStatus::Paused)
        return;
    task->setStatus(TaskStatus::Queued);
    task->setStage(QStringLiteral("Waiting"));
    scheduleSave();
    pump();
}

void DownloadManager::cancelNow(DownloadTask *task)
{
    task->setStatus(TaskStatus::Cancelled);
    task->setFinishedAt(QDateTime::currentDateTimeUtc());
    m_history->record(*task);
}

void DownloadManager::cancel(DownloadTask *task)
{
    const TaskStatus status = task->status();
    if (status == TaskStatus::Queued || status == TaskStatus::Paused) {
        cancelNow(task);
        scheduleSave();
    } else if (TaskStatuses::isActive(status)) {
        task->cancelRequested = true;
        m_runner.stop(task);
    }
}

void DownloadManager::retry(DownloadTask *task)
{
    if (task->status() != TaskStatus::Failed && task->status() != TaskStatus::Cancelled)
        return;
    task->resetRuntime();
    task->setError(std::nullopt);
    task->setStatus(TaskStatus::Queued);
    task->setProgress(0);
    task->setOutputFiles({});
    task->setFinalSize(std::nullopt);
    task->setStage(QStringLiteral("Waiting"));
    scheduleSave();
    pump();
}

void DownloadManager::remove(DownloadTask *task)
{
    if (TaskStatuses::isActive(task->status())) {
        task->removeRequested = true;
        task->cancelRequested = true;
        m_runner.stop(task);
    }
    const QUuid id = task->id();
    QList<DownloadTask *> removed;
    for (qsizetype row = m_tasks.size() - 1; row >= 0; --row) {
        if (m_tasks[row]->id() != id)
            continue;
        beginRemoveRows({}, int(row), int(row));
        removed.append(m_tasks.takeAt(row));
        endRemoveRows();
    }
    release(removed);
    Q_EMIT countsChanged();
    scheduleSave();
}

void DownloadManager::swapWithNext(int index)
{
    beginMoveRows({}, index, index, {}, index + 2);
    m_tasks.swapItemsAt(index, index + 1);
    endMoveRows();
    scheduleSave();
}

void DownloadManager::moveUp(DownloadTask *task)
{
    const int index = int(m_tasks.indexOf(task));
    if (index > 0)
        swapWithNext(index - 1);
}

void DownloadManager::moveDown(DownloadTask *task)
{
    const int index = int(m_tasks.indexOf(task));
    if (index >= 0 && index < m_tasks.size() - 1)
        swapWithNext(index);
}

void DownloadManager::move(const QList<int> &fromOffsets, int toOffset)
{
    const int count = int(m_tasks.size());
    QList<bool> moving(count, false);
    for (const int offset : fromOffsets) {
        if (offset >= 0 && offset < count)
            moving[offset] = true;
    }
    const int destination = std::clamp(toOffset, 0, count);

    // The moved tasks keep their order and land before the task that stood at the destination.
    QList<DownloadTask *> moved;
    QList<DownloadTask *> order;
    int insertAt = 0;
    for (int row = 0; row < count; ++row) {
        if (moving[row]) {
            moved.append(m_tasks[row]);
        } else {
            order.append(m_tasks[row]);
            if (row < destination)
                ++insertAt;
        }
    }
    for (qsizetype i = 0; i < moved.size(); ++i)
        order.insert(insertAt + i, moved[i]);

    if (order != m_tasks) {
        Q_EMIT layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
        const QModelIndexList before = persistentIndexList();
        QModelIndexList after;
        for (const QModelIndex &index : before)
            after.append(this->index(int(order.indexOf(m_tasks[index.row()]))));
        m_tasks = order;
        changePersistentIndexList(before, after);
        Q_EMIT layoutChanged({}, QAbstractItemModel::VerticalSortHint);
    }
    scheduleSave();
    pump();
}

void DownloadManager::pauseAll()
{
    const QList<DownloadTask *> tasks = m_tasks;
    for (DownloadTask *task : tasks)
        pause(task);
}

void DownloadManager::resumeAll()
{
    const QList<DownloadTask *> tasks = m_tasks;
    for (DownloadTask *task : tasks)
        resume(task);
}

void DownloadManager::clearFinished()
{
    // Rows go in runs from the end, so every notification names rows as they stand.
    QList<DownloadTask *> cleared;
    qsizetype row = m_tasks.size();
    while (row > 0) {
        if (!TaskStatuses::isFinished(m_tasks[row - 1]->status())) {
            --row;
            continue;
        }
        const qsizetype last = row - 1;
        qsizetype first = last;
        while (first > 0 && TaskStatuses::isFinished(m_tasks[first - 1]->status()))
            --first;
        beginRemoveRows({}, int(first), int(last));
        cleared.append(m_tasks.mid(first, last - first + 1));
        m_tasks.remove(first, last - first + 1);
        endRemoveRows();
        row = first;
    }
    release(cleared);
    Q_EMIT countsChanged();
    scheduleSave();
}

// ---- Starting tasks ----

void DownloadManager::pump()
{
    if (!m_started || !m_restored || m_terminating)
        return;
    const qint64 limit = std::max<qint64>(1, SettingsStore::integer(QStringLiteral("maxConcurrent")));
    // Runs waiting for another's file take no place; the earliest of them go on first.
    qint64 running = std::count_if(m_tasks.cbegin(), m_tasks.cend(), [this](const DownloadTask *task) {
        return TaskStatuses::isActive(task->status()) && !m_runner.isWaiting(task);
    });
    running += m_runner.admitWaiting(int(std::max<qint64>(0, limit - running)));
    // Two children fetching one link would write the same files: a task waits while its link is
    // in a run, even one of a task removed from the list whose child has not ended yet.
    QSet<QString> busyLinks = m_runner.linksInRun();
    const QList<DownloadTask *> tasks = m_tasks;
    for (DownloadTask *task : tasks) {
        if (task->status() != TaskStatus::Queued || running >= limit || busyLinks.contains(task->options().url))
            continue;
        ++running;
        busyLinks.insert(task->options().url);
        launch(task);
    }
}

void DownloadManager::launch(DownloadTask *task)
{
    task->resetRuntime();
    task->setStatus(TaskStatus::Downloading);
    task->setStage(QStringLiteral("Starting\u2026"));
    task->setError(std::nullopt);
    scheduleSave();

    // The run begins once the caller (the pump and whoever pumped) has returned.
    m_runner.launch(task);
}

// ---- The end of a run ----

void DownloadManager::settled(DownloadTask *task, const DownloadRunner::Outcome &outcome)
{
    if (!m_tasks.contains(task)) { // removed while it ran
        task->deleteLater();
        forgetLogs({task->id()});
    }
    switch (outcome.kind) {
    case DownloadRunner::Outcome::Kind::Removed: pump(); break;
    case DownloadRunner::Outcome::Kind::Paused: settlePaused(task); break;
    case DownloadRunner::Outcome::Kind::Finished: finish(task, outcome.status, outcome.error); break;
    }
}

void DownloadManager::settlePaused(DownloadTask *task)
{
    task->setStatus(TaskStatus::Paused);
    task->setStage(QStringLiteral("Paused"));
    task->setSpeed(std::nullopt);
    task->setEta(std::nullopt);
    scheduleSave();
    pump();
}

void DownloadManager::finish(DownloadTask *task, TaskStatus status, const std::optional<QString> &error)
{
    task->setStatus(status);
    task->setError(error);
    task->setFinishedAt(QDateTime::currentDateTimeUtc());
    task->setSpeed(std::nullopt);
    task->setEta(std::nullopt);
    task->setStage(stageFor(status));
    m_history->record(*task);
    scheduleSave();
    if (onFinished)
        onFinished(task);
    if (status == TaskStatus::Completed)
        NotificationManager::notify(QStringLiteral("Download complete"), task->displayTitle());
    else if (status == TaskStatus::Failed)
        NotificationManager::notify(QStringLiteral("Download failed"), error.value_or(task->displayTitle()));
    pump();
}

// ---- Persistence and quitting ----

void DownloadManager::scheduleSave()
{
    if (m_restored)
        m_file.scheduleSave();
}

void DownloadManager::saveQueue()
{
    if (m_restored)
        m_file.save();
}

QList<TaskRecord> DownloadManager::records() const
{
    QList<TaskRecord> records;
    records.reserve(m_tasks.size());
    for (const DownloadTask *task : m_tasks)
        records.append(task->record());
    return records;
}

void DownloadManager::prepareForTermination()
{
    if (m_terminating)
        return;
    for (DownloadTask *task : std::as_const(m_tasks)) {
        if (!TaskStatuses::isActive(task->status()))
            continue;
        // What the user already asked for holds across the restart.
        if (task->pauseRequested) {
            task->setStatus(TaskStatus::Paused);
            task->setStage(QStringLiteral("Paused"));
        } else if (task->cancelRequested) {
            cancelNow(task);
        } else {
            task->setStatus(TaskStatus::Queued);
        }
    }
    saveQueue();
    m_file.close();
    m_terminating = true;
    m_runner.prepareForTermination();
}

// ---- The model ----

int DownloadManager::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_tasks.size());
}

QVariant DownloadManager::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid) || role != TaskRole)
        return {};
    return QVariant::fromValue<QObject *>(m_tasks[index.row()]);
}

QHash<int, QByteArray> DownloadManager::roleNames() const
{
    return {{TaskRole, "task"}};
}
