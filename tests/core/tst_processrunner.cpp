#include "TestEnvironment.h"
#include "core/AppPaths.h"
#include "core/ProcessRunner.h"

#include <QCoroTask>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTest>

using namespace Qt::Literals::StringLiterals;
using namespace std::chrono_literals;

namespace {

RunResult runShell(const QString &script, std::chrono::milliseconds limit = 30s, CancelToken cancel = {})
{
    return QCoro::waitFor(ProcessRunner::run(u"/bin/sh"_s, {u"-c"_s, script}, limit, cancel));
}

} // namespace

class TestProcessRunner : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void baseEnvironmentHoldsExactlyNineVariables()
    {
        TestEnvironment env;
        const QString support = AppPaths::support();
        const RunResult result = QCoro::waitFor(ProcessRunner::run(u"/usr/bin/env"_s, {}, 30s));
        QCOMPARE(result.status, 0);
        QStringList lines = result.stdoutText.split(u'\n', Qt::SkipEmptyParts);
        lines.sort();
        const QStringList expected = {
            u"DENO_DIR="_s + support + u"/Cache/deno"_s,
            u"HOME="_s + env.root() + u"/home"_s,
            u"LANG=C.UTF-8"_s,
            u"LC_ALL=C.UTF-8"_s,
            u"NO_COLOR=1"_s,
            u"PATH="_s + support + u"/Tools:/usr/bin:/bin:/usr/sbin:/sbin"_s,
            u"PYTHONIOENCODING=utf-8"_s,
            u"TMPDIR="_s + QDir::tempPath(),
            u"XDG_CACHE_HOME="_s + support + u"/Cache"_s,
        };
        QCOMPARE(lines, expected);
        QVERIFY(QFileInfo(support + u"/Cache/deno"_s).isDir());
        QVERIFY(QFileInfo(support + u"/Tools"_s).isDir());
    }

    void collectsBothStreams()
    {
        TestEnvironment env;
        const RunResult result = runShell(u"printf 'out\\377\\n'; printf 'err' >&2; exit 3"_s);
        QCOMPARE(result, (RunResult{3, u"out\uFFFD\n"_s, u"err"_s, false}));
    }

    void collectsLargeOutputWhole()
    {
        TestEnvironment env;
        const RunResult result = QCoro::waitFor(ProcessRunner::run(
            u"/usr/bin/python3"_s,
            {u"-c"_s, u"import sys\nsys.stdout.write('x' * 3000000)\nsys.stderr.write('y' * 500000)"_s}, 30s));
        QCOMPARE(result.status, 0);
        QCOMPARE(result.stdoutText.size(), 3000000);
        QCOMPARE(result.stderrText.size(), 500000);
    }

    void standardInputIsTheNullDevice()
    {
        TestEnvironment env;
        const RunResult result = QCoro::waitFor(ProcessRunner::run(u"/bin/cat"_s, {}, 10s));
        QCOMPARE(result, (RunResult{0, QString(), QString(), false}));
    }

    void limitKillsTheChildAndKeepsEarlierOutput()
    {
        TestEnvironment env;
        QElapsedTimer clock;
        clock.start();
        const RunResult result = runShell(u"echo before; sleep 5 & wait"_s, 1s);
        QVERIFY(clock.elapsed() >= 900);
        QVERIFY2(clock.elapsed() < 4500, "the kill must come at the limit, not when the sleep ends");
        QCOMPARE(result, (RunResult{137, u"before\n"_s, QString(), true}));
    }

    void launchFailureIsReported()
    {
        TestEnvironment env;
        const RunResult result = QCoro::waitFor(ProcessRunner::run(u"/nonexistent/some-tool"_s, {}, 10s));
        QCOMPARE(result.status, -1);
        QVERIFY(result.stdoutText.isEmpty());
        QVERIFY2(result.stderrText.startsWith(u"Failed to launch some-tool: "_s), qPrintable(result.stderrText));
        QVERIFY(result.stderrText.size() > u"Failed to launch some-tool: "_s.size());
        QVERIFY(!result.timedOut);
    }

    void cancelSendsSigterm_data()
    {
        QTest::addColumn<bool>("cancelledBeforeStart");
        QTest::newRow("while running") << false;
        QTest::newRow("already cancelled") << true;
    }
    void cancelSendsSigterm()
    {
        QFETCH(bool, cancelledBeforeStart);
        TestEnvironment env;
        CancelToken cancel;
        if (cancelledBeforeStart)
            cancel.cancel();
        auto task = ProcessRunner::run(u"/bin/sleep"_s, {u"30"_s}, 30s, cancel);
        QVERIFY(!task.isReady());
        cancel.cancel();
        QCOMPARE(QCoro::waitFor(task), (RunResult{143, QString(), QString(), false}));
    }

    void cancelAfterTheRunChangesNothing()
    {
        TestEnvironment env;
        CancelToken cancel;
        QCOMPARE(runShell(u"exit 0"_s, 10s, cancel).status, 0);
        cancel.cancel();
    }
};

QTEST_GUILESS_MAIN(TestProcessRunner)
#include "tst_processrunner.moc"
