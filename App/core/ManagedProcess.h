#pragma once

#include "LineBuffer.h"
#include "PipeReader.h"
#include "StreamKind.h"

#include <QCoroTask>
#include <QObject>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>

#include <coroutine>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

// One child process, run on the main thread. Its output is read as it arrives (in batches at
// most about 50 ms apart, see PipeReader); the exit status can be awaited or taken from `finished`.
//
// With a line handler, the child's standard error shares the pipe of its standard output, and
// the handler gets the lines of both in the order the child wrote them. Two pipes keep no order
// between them: yt-dlp writes progress to one stream and stage lines to the other a millisecond
// apart, and whichever pipe happened to be read first would decide the stage shown. Which stream
// a line came from is not known then; yt-dlp's error and warning lines say what they are.
//
// The child never runs through a shell, reads standard input from the null device, leads a
// process group of its own and starts with default signal dispositions and an empty signal
// mask, so the signals we send reach it and whatever it starts in turn.
//
// The status is the exit code, 128 + the signal number when a signal ended the child, and -1
// until the child has ended. Neither the line handler nor a slot on `finished` may delete the
// process directly; use deleteLater().
class ManagedProcess final : public QObject
{
    Q_OBJECT

public:
    using LineHandler = std::function<void(const QString &line)>;

    // With an environment, it is all the child sees; without one the child inherits ours.
    // With `collectOutput`, every byte read is also kept for stdoutText() / stderrText() (all of
    // it for stdoutText() when there is a line handler).
    ManagedProcess(const QString &executable, const QStringList &arguments,
                   std::optional<QProcessEnvironment> environment, bool collectOutput, LineHandler onLine = {},
                   QObject *parent = nullptr);
    // A child still running is killed together with its process group.
    ~ManagedProcess() override;

    // Launches the child. On failure returns false and, when asked, the reason in `errorText`.
    bool start(QString *errorText = nullptr);
    // The status once the run is over: at once when it already is, or when it never started.
    // Any number of callers may wait; none of them touches the process after resuming.
    QCoro::Task<int> wait();

    [[nodiscard]] int status() const { return m_status; }
    [[nodiscard]] bool isRunning() const;
    [[nodiscard]] bool isFinished() const { return m_finished; }
    // 0 when not running.
    [[nodiscard]] qint64 processId() const;
    // Collected output decoded as UTF-8 with repair; empty unless collecting.
    [[nodiscard]] QString stdoutText() const;
    [[nodiscard]] QString stderrText() const;

    // Sends `signal` to the child's process group, only while the child runs; true when sent.
    bool sendSignal(int signal);

Q_SIGNALS:
    // Emitted once, after the last line has been delivered.
    void finished(int status);

private:
    struct Waiter
    {
        std::coroutine_handle<> handle;
        int *result;
    };
    class FinishAwaiter;

    void received(QByteArrayView bytes, StreamKind kind);
    void deliver(const QStringList &lines);
    void onProcessFinished(int exitCode, QProcess::ExitStatus exitStatus);
    static void resumeLater(std::vector<Waiter> waiters, int status);

    QProcess m_process;
    LineHandler m_onLine;
    bool m_collect;
    LineBuffer m_lines;
    std::unique_ptr<PipeReader> m_outPipe;
    std::unique_ptr<PipeReader> m_errPipe; // none when both streams share the first
    QByteArray m_outData;
    QByteArray m_errData;
    int m_status = -1;
    bool m_started = false;
    bool m_finished = false;
    std::vector<Waiter> m_waiters;
};
