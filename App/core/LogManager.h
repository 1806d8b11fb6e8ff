#pragma once

#include <QFuture>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QUuid>

#include <utility>

// Plain-text logs: "app.log" and one log per download task, in the "Logs" folder.
// Writes run on one background thread in call order, so callers never wait for the disk
// and lines of concurrent callers never interleave.
namespace LogManager {
// "[2026-12-08T09:19:12Z] text\n" appended to the file at `path`; returns at once.
void append(const QString &text, const QString &path);
// Appends each of `lines` as a line of its own with the same stamp, in one write: for output that
// arrives faster than one write a line should cost.
void appendLines(const QStringList &lines, const QString &path);
// Appends one line to each of several task logs (text by task id), in one hand-over to the log
// thread: for a burst of new tasks, where a hand-over and a look for the folder per task add up.
void appendToTasks(const QList<std::pair<QUuid, QString>> &lines);
// The whole task log, after every append queued before this call; "No log yet." when unreadable.
[[nodiscard]] QString read(const QUuid &id);
// The end of a task log: at most `maxBytes` of it, starting at a line start. For a log too
// long to show whole without stalling the window.
struct Tail
{
    QString text;     // "No log yet." when the log is missing or unreadable
    bool cut = false; // earlier lines were left out
};
// Reads the end of the task log on the log thread, after every append queued before this call.
[[nodiscard]] QFuture<Tail> readTail(const QUuid &id, qint64 maxBytes);
// Deletes the task log; returns at once, and a missing file is no error.
void remove(const QUuid &id);
// Deletes every task log whose id is not in `kept`, after every write asked for before this call;
// returns at once. Only files named as task logs go: "app.log" and anything else stay.
void removeTaskLogsExcept(QSet<QUuid> kept);

[[nodiscard]] QString appLogPath();
// The one place that names a task log: the upper-case UUID + ".log".
[[nodiscard]] QString taskLogPath(const QUuid &id);
// Appends to "app.log".
void appLog(const QString &text);
} // namespace LogManager
