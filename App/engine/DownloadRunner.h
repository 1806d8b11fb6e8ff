#pragma once

#include "engine/TaskStatus.h"

#include <QCoroTask>
#include <QHash>
#include <QObject>
#include <QPointer>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <functional>
#include <optional>

class DownloadTask;

// The runs of downloads: for each task it is given, the checks before a download can start, the
// yt-dlp child with the task's command line, the task log, the output lines folded into the task,
// the turns of runs that would write one file, the stop of the child on the user's request, and
// the outcome once the child has exited. What
// the outcome means for the queue (history, queue file, the next task) is the owner's business.
// Main thread only.
class DownloadRunner final : public QObject
{
public:
    // How a run ended.
    struct Outcome
    {
        enum class Kind {
            // The task was removed from the queue meanwhile.
            Removed,
            // The user paused it.
            Paused,
            // Completed, failed or cancelled, with the error to show.
            Finished,
        };
        Kind kind = Kind::Finished;
        TaskStatus status = TaskStatus::Completed;
        std::optional<QString> error;
    };
    // Called once with every run that ends, after its child (if any) is gone.
    using Settled = std::function<void(DownloadTask *task, const Outcome &outcome)>;

    explicit DownloadRunner(Settled settled);
    // Children still running are killed with their tasks; their runs no longer settle.
    ~DownloadRunner() override;

    // Starts a run of `task` once the caller (the queue's pump and whoever pumped) has returned.
    void launch(DownloadTask *task);
    // Whether a run of `task` has not settled yet.
    [[nodiscard]] bool isRunning(const DownloadTask *task) const { return m_runs.contains(task); }
    // The links of the runs that have not settled yet.
    [[nodiscard]] QSet<QString> linksInRun() const;
    // Interrupts the task's child, and terminates and then kills it when it ignores that.
    void stop(DownloadTask *task);
    // At quit: the children are interrupted and, 400 ms later, terminated. From here on no run
    // settles.
    void prepareForTermination();

    // The message of the first check that keeps the task from starting, or nullopt.
    [[nodiscard]] std::optional<QString> preflight(const DownloadTask &task) const;
    // Free bytes in a folder, nullopt when unknown. Replaceable so tests can stage a full disk.
    using FreeSpaceProbe = std::function<std::optional<qint64>(const QString &folder)>;
    void setFreeSpaceProbe(FreeSpaceProbe probe);

    // The command line as the task log shows it: arguments joined by blanks, one holding a blank
    // wrapped in single quotes, and passwords (of a proxy or a site login) masked.
    [[nodiscard]] static QString commandLineText(const QStringList &arguments);

private:
    QCoro::Task<> run(QPointer<DownloadTask> task, quint64 runId);
    // Ends a run whose child never started because the user paused, cancelled or removed the
    // task in the meantime; false when nothing was asked.
    bool settleEarlyRequest(DownloadTask *task);
    // Ends a run whose child exited with `status`.
    void settle(DownloadTask *task, int status);
    void end(DownloadTask *task, const Outcome &outcome);

    // Two runs that would write one file take turns: yt-dlp names the file of each item before
    // downloading it, then waits at its run's gate (a named pipe) until we let it through. A run
    // holds the file of the item it was let through for until it names the next one or ends, so
    // a run never waits while holding a file, and no two runs can wait for each other.
    struct Gate
    {
        quint64 runId = 0;
        int fd = -1;
        QString path;
        QString file; // the file of the current item, once named
        bool open = false;
    };
    // The gate's path for yt-dlp, or empty when none could be made (the run then never waits).
    QString openGate(const DownloadTask *task, quint64 runId);
    // A shell still waiting at the gate reads its end and exits; a file it held goes to the next.
    void closeGate(const DownloadTask *task);
    void claim(DownloadTask *task, const QString &file);
    // Lets the earliest-launched run waiting for `file` through, when there is one.
    void admitNext(const QString &file);
    static void letThrough(Gate &gate);
    void onLine(const QPointer<DownloadTask> &task, quint64 runId, const QString &logPath, const QString &line);
    // Writes the output lines collected so far.
    void flushLines();
    [[nodiscard]] bool isCurrentRun(const DownloadTask *task, quint64 runId) const;

    Settled m_settled;
    bool m_terminating = false;
    // The run each task is in, so output or an exit of an earlier run never touches it.
    QHash<const DownloadTask *, quint64> m_runs;
    quint64 m_lastRunId = 0;
    // Output lines of the children not yet written, by task log: a chatty child prints hundreds
    // of lines a second, and one write per line would cost more than everything else we do.
    QHash<QString, QStringList> m_pendingLines;
    FreeSpaceProbe m_freeSpace;
    QTemporaryDir m_gateFolder;
    QHash<const DownloadTask *, Gate> m_gates;
};
