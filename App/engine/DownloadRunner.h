#pragma once

#include "core/YTDLPManager.h"
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
class QSocketNotifier;

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

    // `turnsChanged` is called when a run begins to wait for another's file, or a file some run
    // waited for is free: the places for downloads to run in may have changed.
    DownloadRunner(Settled settled, std::function<void()> turnsChanged);
    // Children still running are killed with their tasks; their runs no longer settle.
    ~DownloadRunner() override;

    // Starts a run of `task` once the caller (the queue's pump and whoever pumped) has returned.
    void launch(DownloadTask *task);
    // Whether a run of `task` has not settled yet.
    [[nodiscard]] bool isRunning(const DownloadTask *task) const { return m_runs.contains(task); }
    // The links of the runs that have not settled yet.
    [[nodiscard]] QSet<QString> linksInRun() const;
    // Whether the task's run is held at its gate: it waits for its turn or for a place, and takes
    // no place.
    [[nodiscard]] bool isWaiting(const DownloadTask *task) const;
    // Lets through, earliest launched first, up to `places` waiting runs whose file no other run
    // holds; returns how many went.
    int admitWaiting(int places);
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
    // downloading it, then waits at its run's gate (a named pipe) until we let it through. All of
    // an item's files (its streams, its parts, the final file in any container) share its name
    // without the extension, and that is what a run holds, from when it is let through for an item
    // until it names the next one or ends; so a run never waits while holding one, and no two
    // runs can wait for each other. A run waiting at its gate takes no place among the downloads
    // that run at once; it goes on when its file is free and a place is (see admitWaiting).
    struct Gate
    {
        quint64 runId = 0;
        int fd = -1;      // the gate: a line written to it lets yt-dlp through
        int knockFd = -1; // where yt-dlp names the item's file just before it waits
        QSocketNotifier *knock = nullptr;
        QByteArray knocked; // a name not yet whole
        QString path;
        QString key; // the item's file without extension and mark, once named
        bool open = false;
    };
    // The run's part of the command line; no gate when none could be made (the run never waits).
    YTDLPManager::RunFiles openGate(DownloadTask *task, quint64 runId);
    // A shell still waiting at the gate reads its end and exits.
    void closeGate(const DownloadTask *task);
    void knocked(DownloadTask *task);
    void claim(DownloadTask *task, const QString &file);
    [[nodiscard]] bool isHeld(const QString &key) const;
    static void letThrough(Gate &gate);
    // The mark of the task's own files (see YTDLPManager::downloadArguments).
    [[nodiscard]] static QString markOf(const DownloadTask &task);
    // The final file yt-dlp reported, under its own name: a file downloaded under the task's mark
    // gets it, unless a file of that name is there already, which then stands for it.
    [[nodiscard]] static QString publish(const DownloadTask &task, const QString &reported);
    void onLine(const QPointer<DownloadTask> &task, quint64 runId, const QString &logPath, const QString &line);
    // Writes the output lines collected so far.
    void flushLines();
    [[nodiscard]] bool isCurrentRun(const DownloadTask *task, quint64 runId) const;

    Settled m_settled;
    std::function<void()> m_turnsChanged;
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
