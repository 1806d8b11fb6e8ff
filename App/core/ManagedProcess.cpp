#include "ManagedProcess.h"

#include <QCoreApplication>

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <sys/types.h>
#include <unistd.h>

#include <utility>

namespace {

// Runs in the child between fork and exec, so only async-signal-safe calls. A child inherits
// ignored signals and the signal mask from us (and we may run with SIGINT ignored), which
// would keep an interrupt from ever reaching yt-dlp. Its own process group lets one signal
// reach the ffmpeg that yt-dlp starts as well.
void prepareChild()
{
    struct sigaction action = {};
    action.sa_handler = SIG_DFL;
    sigemptyset(&action.sa_mask);
    for (const int signal : {SIGINT, SIGTERM, SIGQUIT, SIGHUP, SIGPIPE})
        ::sigaction(signal, &action, nullptr);
    sigset_t none;
    sigemptyset(&none);
    ::sigprocmask(SIG_SETMASK, &none, nullptr);
    ::setpgid(0, 0);
}

// Also in the child: puts the writing end of one of our pipes in place of a standard stream.
void attach(int pipeEnd, int stream)
{
    if (pipeEnd == stream)
        ::fcntl(pipeEnd, F_SETFD, 0); // keep it open across exec
    else
        ::dup2(pipeEnd, stream);
}

int statusOf(int exitCode, QProcess::ExitStatus exitStatus)
{
    // On a crash QProcess reports the signal number as the exit code.
    return exitStatus == QProcess::CrashExit ? 128 + exitCode : exitCode;
}

} // namespace

class ManagedProcess::FinishAwaiter
{
public:
    explicit FinishAwaiter(ManagedProcess *process)
        : m_process(process)
    {}
    bool await_ready() const noexcept { return false; }
    void await_suspend(std::coroutine_handle<> handle) { m_process->m_waiters.push_back({handle, &m_result}); }
    int await_resume() const noexcept { return m_result; }

private:
    ManagedProcess *m_process;
    int m_result = -1;
};

ManagedProcess::ManagedProcess(const QString &executable, const QStringList &arguments,
                               std::optional<QProcessEnvironment> environment, bool collectOutput, LineHandler onLine,
                               QObject *parent)
    : QObject(parent)
    , m_onLine(std::move(onLine))
    , m_collect(collectOutput)
{
    m_process.setProgram(executable);
    m_process.setArguments(arguments);
    if (environment)
        m_process.setProcessEnvironment(*environment);
    m_process.setStandardInputFile(QProcess::nullDevice());
    // QProcess would wake us for every write of the child; our own pipes take its place (see start).
    m_process.setStandardOutputFile(QProcess::nullDevice());
    m_process.setStandardErrorFile(QProcess::nullDevice());

    connect(&m_process, &QProcess::finished, this, &ManagedProcess::onProcessFinished);
}

ManagedProcess::~ManagedProcess()
{
    disconnect(&m_process, nullptr, this, nullptr);
    if (m_process.state() == QProcess::NotRunning)
        return;
    sendSignal(SIGKILL);
    m_process.waitForFinished(-1);
    m_status = statusOf(m_process.exitCode(), m_process.exitStatus());
    resumeLater(std::exchange(m_waiters, {}), m_status);
}

bool ManagedProcess::start(QString *errorText)
{
    m_outPipe = std::make_unique<PipeReader>([this](QByteArrayView bytes) { received(bytes, StreamKind::Out); });
    if (!m_onLine)
        m_errPipe = std::make_unique<PipeReader>([this](QByteArrayView bytes) { received(bytes, StreamKind::Err); });
    if (!m_outPipe->isOpen() || (m_errPipe && !m_errPipe->isOpen())) {
        if (errorText)
            *errorText =
                QStringLiteral("Could not open a pipe to the child: ") + QString::fromLocal8Bit(strerror(errno));
        m_outPipe.reset();
        m_errPipe.reset();
        return false;
    }
    const int out = m_outPipe->writeEnd();
    const int err = m_errPipe ? m_errPipe->writeEnd() : out;
    m_process.setChildProcessModifier([out, err] {
        prepareChild();
        attach(out, STDOUT_FILENO);
        attach(err, STDERR_FILENO);
    });
    m_process.start(QIODevice::ReadOnly);
    const bool started = m_process.waitForStarted(-1);
    m_outPipe->closeWriteEnd();
    if (m_errPipe)
        m_errPipe->closeWriteEnd();
    if (!started) {
        if (errorText)
            *errorText = m_process.errorString();
        m_outPipe.reset();
        m_errPipe.reset();
        return false;
    }
    m_started = true;
    return true;
}

QCoro::Task<int> ManagedProcess::wait()
{
    if (m_finished || !m_started)
        co_return m_status;
    // Only the awaiter is read after resuming: the process may be gone by then.
    co_return co_await FinishAwaiter(this);
}

bool ManagedProcess::isRunning() const
{
    return m_process.state() == QProcess::Running;
}

qint64 ManagedProcess::processId() const
{
    return m_process.processId();
}

QString ManagedProcess::stdoutText() const
{
    return QString::fromUtf8(m_outData);
}

QString ManagedProcess::stderrText() const
{
    return QString::fromUtf8(m_errData);
}

bool ManagedProcess::sendSignal(int signal)
{
    // While QProcess reports the child running it has not been reaped, so neither its
    // process id nor its group id can have been reused.
    if (!isRunning())
        return false;
    const auto pid = static_cast<pid_t>(m_process.processId());
    if (pid <= 0)
        return false;
    // The group is gone if the child moved itself into another one: signal the child alone.
    return ::kill(-pid, signal) == 0 || ::kill(pid, signal) == 0;
}

void ManagedProcess::received(QByteArrayView bytes, StreamKind kind)
{
    const bool out = kind == StreamKind::Out;
    if (m_collect)
        (out ? m_outData : m_errData).append(bytes);
    if (m_onLine)
        deliver(m_lines.feed(bytes));
}

void ManagedProcess::deliver(const QStringList &lines)
{
    for (const QString &line : lines)
        m_onLine(line);
}

void ManagedProcess::onProcessFinished(int exitCode, QProcess::ExitStatus exitStatus)
{
    // The child has ended, so whatever it wrote is in the pipes now: take it all at once. A
    // background child still holding a pipe does not hold up the end; its later output is lost.
    m_outPipe->finish();
    if (m_errPipe)
        m_errPipe->finish();
    if (m_onLine)
        deliver(m_lines.flush());
    m_status = statusOf(exitCode, exitStatus);
    m_finished = true;
    resumeLater(std::exchange(m_waiters, {}), m_status);
    Q_EMIT finished(m_status);
}

void ManagedProcess::resumeLater(std::vector<Waiter> waiters, int status)
{
    if (waiters.empty())
        return;
    // Resumed from the event loop rather than from inside QProcess: a waiter commonly drops
    // the process as soon as it has the status.
    QMetaObject::invokeMethod(
        QCoreApplication::instance(),
        [waiters = std::move(waiters), status] {
            for (const Waiter &waiter : waiters) {
                *waiter.result = status;
                waiter.handle.resume();
            }
        },
        Qt::QueuedConnection);
}
