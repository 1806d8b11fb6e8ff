#include "core/ManagedProcess.h"

#include <QCoroTask>
#include <QElapsedTimer>
#include <QFile>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <csignal>
#include <memory>
#include <utility>

using namespace Qt::Literals::StringLiterals;

namespace {

// A process whose lines are recorded in `lines`.
struct Recorded
{
    QStringList lines;
    std::unique_ptr<ManagedProcess> process;

    Recorded(const QString &executable, const QStringList &arguments, bool collect = false)
        : process(std::make_unique<ManagedProcess>(executable, arguments, std::nullopt, collect,
                                                   [this](const QString &text) { lines.append(text); }))
    {}
};

QStringList shell(const QString &script)
{
    return {u"-c"_s, script};
}

// Alive means present and not a zombie waiting for a parent to reap it.
bool alive(qint64 pid)
{
    QFile stat(u"/proc/%1/stat"_s.arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return false;
    const QByteArray text = stat.readAll();
    const qsizetype close = text.lastIndexOf(')');
    return close > 0 && text.size() > close + 2 && text[close + 2] != 'Z';
}

const QString sh = u"/bin/sh"_s;
const QString python = u"/usr/bin/python3"_s;

} // namespace

class TestManagedProcess : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void statusOfAnEndedChild_data()
    {
        QTest::addColumn<QString>("script");
        QTest::addColumn<int>("status");
        QTest::newRow("success") << u"exit 0"_s << 0;
        QTest::newRow("exit code") << u"exit 3"_s << 3;
        QTest::newRow("SIGKILL") << u"kill -KILL $$"_s << 137;
        QTest::newRow("SIGTERM") << u"kill -TERM $$"_s << 143;
    }
    void statusOfAnEndedChild()
    {
        QFETCH(QString, script);
        QFETCH(int, status);
        ManagedProcess process(sh, shell(script), std::nullopt, false);
        QSignalSpy finished(&process, &ManagedProcess::finished);
        QCOMPARE(process.status(), -1);
        QVERIFY(process.start());
        QCOMPARE(QCoro::waitFor(process.wait()), status);
        QCOMPARE(process.status(), status);
        QVERIFY(process.isFinished());
        QCOMPARE(finished.size(), 1);
        QCOMPARE(finished[0][0].toInt(), status);
        QVERIFY(!process.sendSignal(SIGTERM));

        // A later wait answers at once with the stored status.
        auto again = process.wait();
        QVERIFY(again.isReady());
        QCOMPARE(QCoro::waitFor(again), status);
    }

    void linesArriveWhileTheChildRuns()
    {
        // `read` fails at once on the null device, so the script ends with 0.
        Recorded run(sh, shell(u"printf 'one\\r\\ntwo\\rthree\\n\\n'; echo oops >&2; ! read x"_s));
        QVERIFY(run.process->start());
        QCOMPARE(QCoro::waitFor(run.process->wait()), 0);
        QCOMPARE(run.lines, (QStringList{u"one"_s, u"two"_s, u"three"_s, u"oops"_s}));

        Recorded waiting(python, {u"-c"_s, u"import time\nprint('ready', flush=True)\ntime.sleep(30)"_s});
        QVERIFY(waiting.process->start());
        QTRY_COMPARE(waiting.lines, QStringList{u"ready"_s});
        QVERIFY(waiting.process->isRunning());
        QVERIFY(waiting.process->processId() > 0);
        QVERIFY(waiting.process->sendSignal(SIGTERM));
        QCOMPARE(QCoro::waitFor(waiting.process->wait()), 143);
    }

    // A child that flushes every line must not wake us for every line: lines come in batches at
    // least 50 ms apart, every one of them, in order, the last ones at the end of the child.
    void linesPerWriteArriveInBatches()
    {
        int batches = 0;
        bool inBatch = false;
        QStringList lines;
        ManagedProcess process(python,
                               {u"-c"_s, u"import sys, time\n"
                                         "for i in range(300):\n"
                                         "    print(i, flush=True)\n"
                                         "    if i % 10 == 0: print('e%d' % i, file=sys.stderr, flush=True)\n"
                                         "    time.sleep(0.002)\n"_s},
                               std::nullopt, false, [&](const QString &line) {
                                   lines.append(line);
                                   if (!std::exchange(inBatch, true)) {
                                       ++batches;
                                       QTimer::singleShot(0, [&inBatch] { inBatch = false; });
                                   }
                               });
        QElapsedTimer clock;
        clock.start();
        QVERIFY(process.start());
        QCOMPARE(QCoro::waitFor(process.wait()), 0);
        const qint64 ranMs = clock.elapsed();

        QStringList expected;
        for (int i = 0; i < 300; ++i) {
            expected << QString::number(i);
            if (i % 10 == 0)
                expected << u"e%1"_s.arg(i);
        }
        QCOMPARE(lines, expected);
        // Both streams share one pipe, read at most once per 50 ms; the end of the child adds one
        // more read. Unbatched, every line would be one.
        QVERIFY2(batches <= ranMs / 50 + 2, qPrintable(u"%1 batches in %2 ms"_s.arg(batches).arg(ranMs)));
    }

    // yt-dlp writes its progress to one stream and its stage lines to the other: lines a millisecond
    // apart, and a stage line right after a burst, arrive in the order written, run after run.
    void linesKeepTheirOrderAcrossStreams()
    {
        const QString script = u"import sys, time\n"
                               "for i in range(100):\n"
                               "    print(i, 'progress', flush=True); time.sleep(0.001)\n"
                               "    print(i, 'stage', file=sys.stderr, flush=True); time.sleep(0.001)\n"
                               "    for j in range(5): print(i, 'burst', flush=True)\n"
                               "    print(i, 'after', file=sys.stderr, flush=True)\n"_s;
        QStringList expected;
        for (int i = 0; i < 100; ++i)
            expected << u"%1 progress"_s.arg(i) << u"%1 stage"_s.arg(i) << QStringList(5, u"%1 burst"_s.arg(i))
                     << u"%1 after"_s.arg(i);
        for (int run = 0; run < 10; ++run) {
            Recorded child(python, {u"-c"_s, script});
            QVERIFY(child.process->start());
            QCOMPARE(QCoro::waitFor(child.process->wait()), 0);
            QCOMPARE(child.lines, expected);
        }
    }

    // A child that writes faster than the pauses allow is read on at once, and nothing is lost.
    void floodIsReadWhole()
    {
        Recorded run(u"/usr/bin/seq"_s, {u"300000"_s});
        QVERIFY(run.process->start());
        QCOMPARE(QCoro::waitFor(run.process->wait()), 0);
        const QStringList &out = run.lines;
        QCOMPARE(out.size(), 300000);
        for (int i = 0; i < out.size(); ++i) {
            if (out[i] != QString::number(i + 1))
                QFAIL(qPrintable(u"line %1 is %2"_s.arg(i + 1).arg(out[i])));
        }
    }

    // One stream ending early leaves the other one read.
    void streamClosedEarly()
    {
        Recorded run(sh, shell(u"echo a; exec 1>&-; sleep 0.2; echo b >&2; sleep 0.1; echo c >&2"_s));
        QVERIFY(run.process->start());
        QCOMPARE(QCoro::waitFor(run.process->wait()), 0);
        QCOMPARE(run.lines, (QStringList{u"a"_s, u"b"_s, u"c"_s}));
    }

    void unterminatedLastLinesAndSplitCharacters()
    {
        Recorded run(sh, shell(u"printf 'x\\303'; sleep 0.2; printf '\\251\\n'; printf tail; printf 'err' >&2"_s),
                     true);
        QVERIFY(run.process->start());
        QCOMPARE(QCoro::waitFor(run.process->wait()), 0);
        // The unterminated rest of one stream runs on into what the other one writes next.
        QCOMPARE(run.lines, (QStringList{u"xé"_s, u"tailerr"_s}));
        QCOMPARE(run.process->stdoutText(), u"xé\ntailerr"_s);
        QVERIFY(run.process->stderrText().isEmpty());
    }

    void collectsOnlyWhenAsked()
    {
        Recorded run(sh, shell(u"echo out; echo err >&2"_s), false);
        QVERIFY(run.process->start());
        QCOMPARE(QCoro::waitFor(run.process->wait()), 0);
        QCOMPARE(run.lines.size(), 2);
        QVERIFY(run.process->stdoutText().isEmpty());
        QVERIFY(run.process->stderrText().isEmpty());
    }

    void environmentIsExactlyTheOneGiven()
    {
        QProcessEnvironment env;
        env.insert(u"ONLY"_s, u"this"_s);
        ManagedProcess given(u"/usr/bin/env"_s, {}, env, true);
        QVERIFY(given.start());
        QCOMPARE(QCoro::waitFor(given.wait()), 0);
        QCOMPARE(given.stdoutText(), u"ONLY=this\n"_s);

        qputenv("MORVANE_INHERITED", "yes");
        ManagedProcess inherited(u"/usr/bin/env"_s, {}, std::nullopt, true);
        QVERIFY(inherited.start());
        QCOMPARE(QCoro::waitFor(inherited.wait()), 0);
        QVERIFY(inherited.stdoutText().contains(u"\nMORVANE_INHERITED=yes\n"_s));
        qunsetenv("MORVANE_INHERITED");
    }

    void missingExecutableDoesNotStart()
    {
        ManagedProcess process(u"/nonexistent/tool"_s, {}, std::nullopt, true);
        QString error;
        QVERIFY(!process.start(&error));
        QVERIFY(!error.isEmpty());
        QVERIFY(!process.isRunning());
        QVERIFY(!process.sendSignal(SIGTERM));
        QCOMPARE(QCoro::waitFor(process.wait()), -1);
    }

    void backgroundChildHoldingThePipeDoesNotDelayTheEnd()
    {
        Recorded run(sh, shell(u"sleep 30 & echo $!"_s));
        QVERIFY(run.process->start());
        QTRY_VERIFY_WITH_TIMEOUT(run.process->isFinished(), 10000);
        QCOMPARE(run.process->status(), 0);
        const QStringList &out = run.lines;
        QCOMPARE(out.size(), 1);
        const qint64 sleeper = out[0].toLongLong();
        QVERIFY(alive(sleeper));
        ::kill(static_cast<pid_t>(sleeper), SIGKILL);
    }

    // Our own process may run with SIGINT ignored and blocked (a launcher can leave it so);
    // the child must still be interruptible.
    void interruptReachesAChildOfAnIgnoringParent()
    {
        struct sigaction ignore = {}, saved = {};
        ignore.sa_handler = SIG_IGN;
        ::sigaction(SIGINT, &ignore, &saved);
        sigset_t block, savedMask;
        sigemptyset(&block);
        sigaddset(&block, SIGINT);
        ::sigprocmask(SIG_BLOCK, &block, &savedMask);

        Recorded run(python, {u"-c"_s, u"import time\nprint('ready', flush=True)\ntime.sleep(30)"_s});
        const bool started = run.process->start();
        ::sigprocmask(SIG_SETMASK, &savedMask, nullptr);
        ::sigaction(SIGINT, &saved, nullptr);
        QVERIFY(started);

        QTRY_COMPARE(run.lines, QStringList{u"ready"_s});
        QVERIFY(run.process->sendSignal(SIGINT));
        QTRY_VERIFY_WITH_TIMEOUT(run.process->isFinished(), 10000);
        // Python ends an unhandled KeyboardInterrupt by re-raising SIGINT on itself.
        QCOMPARE(run.process->status(), 130);
    }

    void signalReachesTheWholeGroup()
    {
        Recorded run(sh, shell(u"sleep 30 & echo $!; wait"_s));
        QVERIFY(run.process->start());
        QTRY_COMPARE(run.lines.size(), 1);
        const qint64 grandchild = run.lines[0].toLongLong();
        QVERIFY(alive(grandchild));
        QVERIFY(run.process->sendSignal(SIGTERM));
        QCOMPARE(QCoro::waitFor(run.process->wait()), 143);
        QTRY_VERIFY(!alive(grandchild));
    }

    void severalWaitersAllResume()
    {
        ManagedProcess process(sh, shell(u"exit 5"_s), std::nullopt, false);
        QVERIFY(process.start());
        auto first = process.wait();
        auto second = process.wait();
        QCOMPARE(QCoro::waitFor(first), 5);
        QCOMPARE(QCoro::waitFor(second), 5);
    }

    void droppingARunningProcessKillsItsGroup()
    {
        auto run = std::make_unique<Recorded>(sh, shell(u"sleep 30 & echo $!; wait"_s));
        QVERIFY(run->process->start());
        QTRY_COMPARE(run->lines.size(), 1);
        const qint64 child = run->process->processId();
        const qint64 grandchild = run->lines[0].toLongLong();
        auto waiting = run->process->wait();
        run.reset();
        QVERIFY(!alive(child));
        QCOMPARE(QCoro::waitFor(waiting), 137);
        QTRY_VERIFY(!alive(grandchild));
    }
};

QTEST_GUILESS_MAIN(TestManagedProcess)
#include "tst_managedprocess.moc"
