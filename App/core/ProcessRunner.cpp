#include "ProcessRunner.h"

#include "AppPaths.h"
#include "ManagedProcess.h"

#include <QDir>
#include <QFileInfo>
#include <QTimer>

#include <algorithm>
#include <climits>
#include <csignal>

namespace ProcessRunner {

QProcessEnvironment baseEnvironment()
{
    QProcessEnvironment env;
    env.insert(QStringLiteral("PATH"),
               AppPaths::sub(QStringLiteral("Tools")) + QStringLiteral(":/usr/bin:/bin:/usr/sbin:/sbin"));
    env.insert(QStringLiteral("HOME"), QDir::homePath());
    // C.UTF-8 exists on every glibc system; en_US.UTF-8 is often not generated.
    env.insert(QStringLiteral("LANG"), QStringLiteral("C.UTF-8"));
    env.insert(QStringLiteral("LC_ALL"), QStringLiteral("C.UTF-8"));
    env.insert(QStringLiteral("PYTHONIOENCODING"), QStringLiteral("utf-8"));
    env.insert(QStringLiteral("TMPDIR"), QDir::tempPath());
    env.insert(QStringLiteral("XDG_CACHE_HOME"), AppPaths::sub(QStringLiteral("Cache")));
    env.insert(QStringLiteral("DENO_DIR"), AppPaths::sub(QStringLiteral("Cache/deno")));
    env.insert(QStringLiteral("NO_COLOR"), QStringLiteral("1"));
    return env;
}

QCoro::Task<RunResult> run(QString executable, QStringList arguments, std::chrono::milliseconds timeout,
                           CancelToken cancel)
{
    ManagedProcess process(executable, arguments, baseEnvironment(), true);
    QString error;
    if (!process.start(&error)) {
        co_return RunResult{-1, QString(),
                            QStringLiteral("Failed to launch ") + QFileInfo(executable).fileName() +
                                QStringLiteral(": ") + error,
                            false};
    }

    // The timer and the subscription live in this frame and end with it, so the references
    // the handlers hold stay valid for as long as they can run.
    bool timedOut = false;
    QTimer limit;
    limit.setSingleShot(true);
    QObject::connect(&limit, &QTimer::timeout, &process, [&process, &timedOut] {
        timedOut = true;
        process.sendSignal(SIGKILL);
    });
    limit.start(std::chrono::milliseconds(std::clamp<qint64>(timeout.count(), 0, INT_MAX)));
    const int subscription = cancel.subscribe([&process] { process.sendSignal(SIGTERM); });

    const int status = co_await process.wait();
    cancel.unsubscribe(subscription);
    co_return RunResult{status, process.stdoutText(), process.stderrText(), timedOut};
}

} // namespace ProcessRunner
