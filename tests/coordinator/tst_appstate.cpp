#include "FakeAudioBackend.h"
#include "FakeCatalog.h"
#include "TestDownloads.h"
#include "TestEnvironment.h"
#include "TestRequests.h"
#include "TestToolMirror.h"
#include "coordinator/AppState.h"
#include "core/LogManager.h"
#include "core/SettingsStore.h"
#include "engine/DownloadTask.h"
#include "engine/QueueFile.h"

#include <QCoroTask>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSignalSpy>
#include <QTest>
#include <QThreadPool>

#include <optional>

class TestAppState : public QObject
{
    Q_OBJECT

    static std::unique_ptr<AppState> makeState(FakeCatalog **catalog = nullptr)
    {
        auto fake = std::make_unique<FakeCatalog>();
        if (catalog)
            *catalog = fake.get();
        AppState::Backends backends;
        backends.catalog = std::move(fake);
        backends.audio = std::make_unique<FakeAudioBackend>();
        return std::make_unique<AppState>(std::move(backends));
    }

    // A yt-dlp that passes the tool checks and sits in every download until it is killed, so the
    // tasks it runs stay visibly running.
    static QString holdingYtdlp(TestToolMirror &mirror, const TestEnvironment &env)
    {
        const QString path = env.root() + QStringLiteral("/holding-yt-dlp");
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly))
            return {};
        file.write("#!/bin/sh\ncase \"$*\" in\n--version) echo 2026.08.19 ;;\n"
                   "*--list-extractors*) seq -f 'extractor%g' 150 ;;\n*) exec sleep 30 ;;\nesac\n");
        file.close();
        file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        mirror.serveYtdlp(path);
        return path;
    }

    static void serveTools(TestToolMirror &mirror, const TestEnvironment &env)
    {
        holdingYtdlp(mirror, env);
        mirror.serveFfmpeg(mirror.fakeFfmpeg(QStringLiteral("ffmpeg"), QStringLiteral("7.1")),
                           mirror.fakeFfmpeg(QStringLiteral("ffprobe"), QStringLiteral("7.1")));
        mirror.serveDeno(mirror.fakeDeno(QStringLiteral("2.2.0")));
    }

    static QStringList statuses(AppState &state)
    {
        QStringList result;
        for (const DownloadTask *task : state.downloads().tasks())
            result.append(TaskStatuses::rawValue(task->status()));
        return result;
    }

    static QString nameOf(const DownloadTask *task) { return QFileInfo(task->options().url).fileName(); }

    static QByteArray fileBytes(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    // A queue of "one" and "two", and a history of one finished download, stored by an earlier run.
    static void storeEarlierRun(const TestEnvironment &env)
    {
        SettingsStore::registerDefaults();
        HistoryStore history;
        history.load();
        DownloadTask finished(TestRequests::defaultRequest(QStringLiteral("http://127.0.0.1:9/done"), env.root()));
        finished.setStatus(TaskStatus::Completed);
        history.record(finished);
        DownloadManager queue(&history);
        for (const char *name : {"one", "two"})
            queue.enqueue(
                TestRequests::defaultRequest(QStringLiteral("http://127.0.0.1:9/") + QLatin1String(name), env.root()));
        queue.saveQueue();
    }

private Q_SLOTS:
    // The files are read while the window loads. Tools found ready before that, and a link queued
    // meanwhile, start nothing until the stored queue is back in front of it.
    void queueRunsNothingBeforeItIsRestored()
    {
        TestEnvironment env;
        storeEarlierRun(env);
        SettingsStore::set(QStringLiteral("maxConcurrent"), 1);
        const auto state = makeState();
        QVERIFY(!state->isLoaded());
        QVERIFY(state->history().isLoading());
        QStringList started; // in the order the tasks left the queued state
        connect(&state->downloads(), &DownloadManager::countsChanged, this, [&started, &state] {
            for (const DownloadTask *task : state->downloads().tasks()) {
                if (task->status() != TaskStatus::Queued && !started.contains(nameOf(task)))
                    started.append(nameOf(task));
            }
        });
        state->downloads().start();
        DownloadTask *three = state->downloads().enqueue(
            TestRequests::defaultRequest(QStringLiteral("http://127.0.0.1:9/three"), env.root()));
        QCOMPARE(three->status(), TaskStatus::Queued);
        QVERIFY(started.isEmpty());

        QTRY_VERIFY(state->isLoaded());
        QVERIFY(!state->history().isLoading());
        QVERIFY(state->history().items().last().sourceURL.endsWith(QStringLiteral("/done")));
        QStringList order;
        for (const DownloadTask *task : state->downloads().tasks())
            order.append(nameOf(task));
        QCOMPARE(order, (QStringList{QStringLiteral("one"), QStringLiteral("two"), QStringLiteral("three")}));
        QTRY_VERIFY(!started.isEmpty());
        QCOMPARE(started.first(), QStringLiteral("one"));
        // The file gains the link queued meanwhile and keeps the stored tasks.
        QTRY_COMPARE(TestDownloads::readQueueFile().value_or(QList<TaskRecord>()).size(), 3);
    }

    // Quitting before the files are in leaves them as the earlier run wrote them.
    void quitWhileLoadingSavesNothingPartial()
    {
        TestEnvironment env;
        storeEarlierRun(env);
        const QByteArray queue = fileBytes(QueueFile::path());
        const QByteArray history = fileBytes(HistoryStore::filePath());
        {
            const auto state = makeState();
            QVERIFY(!state->isLoaded());
            state->downloads().enqueue(
                TestRequests::defaultRequest(QStringLiteral("http://127.0.0.1:9/three"), env.root()));
            state->downloads().prepareForTermination();
            QTest::qWait(50);
        }
        QThreadPool::globalInstance()->waitForDone();
        // A worker that finished its read before the state awaited it hands the queue over at once:
        // then the quit saves the stored tasks with the new one, which is whole too.
        if (fileBytes(QueueFile::path()) != queue)
            QCOMPARE(TestDownloads::readQueueFile().value_or(QList<TaskRecord>()).size(), 3);
        QCOMPARE(fileBytes(HistoryStore::filePath()), history);
    }

    // Logs of tasks neither stored list holds go at start; those of listed or just queued tasks stay.
    void orphanLogsAreSweptAtStart()
    {
        TestEnvironment env;
        storeEarlierRun(env);
        const QUuid done = HistoryStore::read().first().id;
        LogManager::append(QStringLiteral("done"), LogManager::taskLogPath(done));
        for (int i = 0; i < 500; ++i)
            LogManager::append(QStringLiteral("orphan"), LogManager::taskLogPath(QUuid::createUuid()));
        LogManager::appLog(QStringLiteral("kept"));
        const auto state = makeState();
        state->downloads().enqueue(
            TestRequests::defaultRequest(QStringLiteral("http://127.0.0.1:9/three"), env.root()));
        QTRY_VERIFY(state->isLoaded());

        QStringList expected{QStringLiteral("app.log"), QFileInfo(LogManager::taskLogPath(done)).fileName()};
        for (const DownloadTask *task : state->downloads().tasks())
            expected.append(QFileInfo(LogManager::taskLogPath(task->id())).fileName());
        (void)LogManager::read(QUuid()); // after every write and deletion asked for
        expected.sort();
        QCOMPARE(
            QFileInfo(LogManager::appLogPath()).dir().entryList({QStringLiteral("*.log")}, QDir::Files, QDir::Name),
            expected);
    }

    void queueWaitsUntilTheToolsWork()
    {
        TestEnvironment env;
        TestToolMirror mirror(env.root()); // serves nothing yet: every tool download fails
        SettingsStore::registerDefaults();
        {
            HistoryStore history;
            DownloadManager queue(&history);
            for (const char *name : {"one", "two", "three"})
                queue.enqueue(TestRequests::defaultRequest(QStringLiteral("http://127.0.0.1:9/") + QLatin1String(name),
                                                           env.root()));
            queue.saveQueue();
        }

        // A liked song for discovery to start from, stored before start-up so that no history
        // change of its own sets discovery off during the test.
        {
            LibraryStore library;
            Track seed;
            seed.id = QStringLiteral("seed0000001");
            seed.title = QStringLiteral("Seed");
            seed.artist = QStringLiteral("Artist");
            library.toggleLike(seed);
        }

        FakeCatalog *catalog = nullptr;
        const auto state = makeState(&catalog);
        QTRY_VERIFY(state->isLoaded());
        QCoro::waitFor(state->launch());
        QVERIFY(!state->setupDone());
        QCOMPARE(statuses(*state).join(QLatin1Char(',')), QString(QStringLiteral("queued,queued,queued")));
        QVERIFY(catalog->calls.isEmpty());

        serveTools(mirror, env);
        QSignalSpy setupDone(state.get(), &AppState::setupDoneChanged);
        QCoro::waitFor(state->retrySetup());
        QVERIFY(state->setupDone());
        QCOMPARE(setupDone.size(), 1);
        // "maxConcurrent" is 2: the first two run, in queue order.
        QCOMPARE(statuses(*state).join(QLatin1Char(',')), QString(QStringLiteral("downloading,downloading,queued")));
        QCOMPARE(mirror.releaseLookupCount(), 0);
        QVERIFY(!state->engine().isDiscovering());
        QVERIFY(catalog->calls.isEmpty());

        // Only the real start-up also discovers music and checks for tool updates.
        QCoro::waitFor(state->launch());
        QTRY_VERIFY(!catalog->calls.isEmpty());
        QTRY_VERIFY(mirror.releaseLookupCount() > 0);
        // The update check runs on its own; it must be over before the state goes away.
        QTRY_VERIFY_WITH_TIMEOUT(!state->deps().busy(), 30000);
    }

    void failedRepairKeepsTheSetupDone()
    {
        TestEnvironment env;
        std::optional<TestToolMirror> mirror(std::in_place, env.root());
        serveTools(*mirror, env);
        const auto state = makeState();
        QCoro::waitFor(state->retrySetup());
        QVERIFY(state->setupDone());

        // Deno is gone and cannot come back: every download of the repair now fails.
        mirror.emplace(env.root());
        QVERIFY(QFile::remove(env.toolsDir() + QStringLiteral("/deno")));
        QCoro::waitFor(state->repairTools());
        QVERIFY(state->deps().phase() != DependencyManager::Phase::Ready);
        QVERIFY(state->setupDone());
    }

    void startingPreset_data()
    {
        QTest::addColumn<QString>("stored"); // a null text leaves the setting out
        QTest::addColumn<QString>("expected");
        const QString best = QStringLiteral("Best Quality");
        QTest::newRow("absent") << QString() << best;
        QTest::newRow("advanced") << QStringLiteral("Advanced") << best;
        QTest::newRow("empty") << QStringLiteral("") << best;
        QTest::newRow("unknown") << QStringLiteral("bogus") << best;
        QTest::newRow("wrong case") << QStringLiteral("720P") << best;
        QTest::newRow("720p") << QStringLiteral("720p") << QStringLiteral("720p");
        QTest::newRow("audio") << QStringLiteral("Audio Only") << QStringLiteral("Audio Only");
    }

    void startingPreset()
    {
        QFETCH(QString, stored);
        QFETCH(QString, expected);
        TestEnvironment env;
        if (!stored.isNull())
            SettingsStore::set(QStringLiteral("defaultPreset"), stored);
        QCOMPARE(Presets::rawValue(makeState()->preset()), expected);
    }

    void songDownloadsWaitForTheTools()
    {
        TestEnvironment env;
        const auto state = makeState();
        Track song;
        song.id = QStringLiteral("abcdefghijk");
        song.title = QStringLiteral("Song");
        state->download(song, std::nullopt, true);
        QCOMPARE(state->toastText(), QStringLiteral("Tools are still being installed."));
        QVERIFY(state->downloads().tasks().isEmpty());
    }

    void unreadableHistoryStartsEmpty()
    {
        TestEnvironment env;
        QDir().mkpath(QFileInfo(HistoryStore::filePath()).absolutePath());
        QFile file(HistoryStore::filePath());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("[{\"id\": 3");
        file.close();
        const auto state = makeState();
        QTRY_VERIFY(state->isLoaded());
        QCOMPARE(state->history().count(), 0);
        QVERIFY(QFile::exists(HistoryStore::filePath() + QStringLiteral(".bad")));
        QVERIFY(!state->toast());
    }
};

QTEST_GUILESS_MAIN(TestAppState)
#include "tst_appstate.moc"
