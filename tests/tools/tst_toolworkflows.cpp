#include "TestLog.h"
#include "tools/DependencyManager.h"

#include "TestEnvironment.h"
#include "TestToolMirror.h"
#include "core/DenoManager.h"
#include "core/Json.h"
#include "core/LogManager.h"
#include "core/SettingsStore.h"
#include "core/YTDLPManager.h"
#include "tools/UpdateCheck.h"

#include <QCoroTask>
#include <QFile>
#include <QNetworkAccessManager>
#include <QSignalSpy>
#include <QTest>

using Phase = DependencyManager::Phase;

namespace {

const QString ellipsis = QStringLiteral("\u2026");
const QString checking = QStringLiteral("Checking installed tools") + ellipsis;
const QString smokeTests = QStringLiteral("Running smoke tests") + ellipsis;
const QString allReady = QStringLiteral("All tools ready");
const QString needAttention = QStringLiteral("Some tools need attention");
const QString remoteEJS = QStringLiteral("Fetched on demand from GitHub by yt-dlp (remote components enabled)");
const QString noEJS = QStringLiteral("Not found. Enable remote components in Settings \u203a Tools.");

QStringList logLinesStarting(const QString &prefix)
{
    QStringList lines = TestLog::appLogLines();
    lines.removeIf([&](const QString &line) { return !line.startsWith(prefix); });
    return lines;
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

ComponentState installedState(const QString &version)
{
    return {ComponentStatus::installed(), 1.0, version, std::nullopt};
}

// The phases and step texts a manager went through, each change once.
struct Trail
{
    explicit Trail(DependencyManager &manager)
    {
        QObject::connect(&manager, &DependencyManager::phaseChanged, &manager,
                         [this, &manager] { phases.append(manager.phase()); });
        QObject::connect(&manager, &DependencyManager::currentChanged, &manager,
                         [this, &manager] { texts.append(manager.current()); });
    }
    QList<Phase> phases;
    QStringList texts;
};

} // namespace

class TestToolWorkflows : public QObject
{
    Q_OBJECT

    QNetworkAccessManager m_network;

    // Every download the mirror can serve, from stand-ins with new versions.
    static void serveEverything(TestToolMirror &mirror)
    {
        mirror.serveYtdlp(mirror.fakeYtdlp(QStringLiteral("2026.08.19")));
        mirror.serveFfmpeg(mirror.fakeFfmpeg(QStringLiteral("ffmpeg"), QStringLiteral("7.1")),
                           mirror.fakeFfmpeg(QStringLiteral("ffprobe"), QStringLiteral("7.1")));
        mirror.serveDeno(mirror.fakeDeno(QStringLiteral("2.2.0")));
    }

    void bootstrap(DependencyManager &manager) { QCoro::waitFor(manager.bootstrap()); }

private Q_SLOTS:
    void upToDate_data()
    {
        QTest::addColumn<QString>("tag");
        QTest::addColumn<QString>("installed");
        QTest::addColumn<bool>("upToDate");
        QTest::newRow("leading v") << QStringLiteral("v2.1.4") << QStringLiteral("2.1.4") << true;
        QTest::newRow("same date") << QStringLiteral("2026.08.19") << QStringLiteral("2026.08.19") << true;
        QTest::newRow("newer") << QStringLiteral("2.2.0") << QStringLiteral("2.1.4") << false;
        QTest::newRow("newer with v") << QStringLiteral("v2.2.0") << QStringLiteral("2.1.4") << false;
        QTest::newRow("longer, same start") << QStringLiteral("2.1.45") << QStringLiteral("2.1.4") << true;
        QTest::newRow("version unknown") << QStringLiteral("2.2.0") << QString() << true;
        QTest::newRow("v inside a word") << QStringLiteral("v2.1.4-rev2") << QStringLiteral("2.1.4-re2") << true;
        QTest::newRow("capital V stays") << QStringLiteral("V2.1.4") << QStringLiteral("2.1.4") << false;
        QTest::newRow("older") << QStringLiteral("2023.03.04") << QStringLiteral("2026.08.19") << false;
    }

    void upToDate()
    {
        QFETCH(QString, tag);
        QFETCH(QString, installed);
        QFETCH(bool, upToDate);
        QCOMPARE(UpdateCheck::isUpToDate(tag, installed), upToDate);
    }

    void bootstrapWithEverythingInstalledDownloadsNothing()
    {
        TestEnvironment env;
        TestToolMirror mirror(env.root());
        mirror.installFakes(env, QStringLiteral("2023.03.04"));
        serveEverything(mirror);
        mirror.serveRelease(Tool::Ytdlp, QStringLiteral("2026.08.19"));
        DependencyManager manager(&m_network);
        Trail trail(manager);
        QSignalSpy busy(&manager, &DependencyManager::busyChanged);

        bootstrap(manager);
        QCOMPARE(mirror.server().requests().size(), 0);
        QCOMPARE(trail.texts, (QStringList{checking, smokeTests, allReady}));
        QCOMPARE(trail.phases, QList<Phase>{Phase::Ready}); // straight from checking
        QCOMPARE(busy.size(), 2);
        QVERIFY(!manager.busy());
        QCOMPARE(manager.state(Tool::Ytdlp), installedState(QStringLiteral("2023.03.04")));
        QCOMPARE(manager.state(Tool::Ffmpeg), installedState(QStringLiteral("7.0")));
        QCOMPARE(manager.state(Tool::Ffprobe), installedState(QStringLiteral("7.0")));
        QCOMPARE(manager.state(Tool::Deno), installedState(QStringLiteral("2.1.4")));
        QCOMPARE(manager.state(Tool::Ejs), installedState(QStringLiteral("ready")));
        QCOMPARE(manager.ejsDetail(), remoteEJS);
        QCOMPARE(manager.overall(), 1.0);
        QVERIFY(manager.manifest().empty());
        QCOMPARE(TestLog::appLogLines(), QStringList{QStringLiteral("Dependency verification: ready=true")});
    }

    void bootstrapInstallsOnlyMissingDeno()
    {
        TestEnvironment env;
        TestToolMirror mirror(env.root());
        mirror.installFakes(env, QStringLiteral("2023.03.04"));
        QVERIFY(QFile::remove(env.toolsDir() + QStringLiteral("/deno")));
        serveEverything(mirror);
        DependencyManager manager(&m_network);
        Trail trail(manager);
        QList<Phase> phasesWhileDenoWorks;
        connect(&manager, &DependencyManager::statesChanged, this, [&] {
            if (manager.state(Tool::Deno).status.kind == ComponentStatus::Kind::Working)
                phasesWhileDenoWorks.append(manager.phase());
        });

        bootstrap(manager);
        QCOMPARE(trail.texts, (QStringList{checking, QStringLiteral("Installing Deno (1/1)"), smokeTests, allReady}));
        QCOMPARE(trail.phases, (QList<Phase>{Phase::Installing, Phase::Checking, Phase::Ready}));
        QVERIFY(!phasesWhileDenoWorks.isEmpty());
        QVERIFY(std::all_of(phasesWhileDenoWorks.begin(), phasesWhileDenoWorks.end(),
                            [](Phase phase) { return phase == Phase::Installing; }));
        QCOMPARE(mirror.downloadCount(), 1);
        QCOMPARE(manager.state(Tool::Deno), installedState(QStringLiteral("2.2.0")));
        QCOMPARE(manager.state(Tool::Ytdlp), installedState(QStringLiteral("2023.03.04")));
        QCOMPARE(int(manager.manifest().size()), 1);
        const ManifestEntry entry = manager.manifest().at(QStringLiteral("Deno"));
        QCOMPARE(entry.version, QStringLiteral("2.2.0"));
        QCOMPARE(entry.source, DenoManager::spec().urls.value(0).toString());
        QCOMPARE(DependencyManager(&m_network).manifest().at(QStringLiteral("Deno")).version, QStringLiteral("2.2.0"));
        QCOMPARE(TestLog::appLogLines(), QStringList{QStringLiteral("Dependency verification: ready=true")});
    }

    // The row of a tool that could not be installed keeps the install's error: no smoke test of a
    // yt-dlp that is not there replaces it.
    void bootstrapWithAToolThatCannotBeInstalled_data()
    {
        QTest::addColumn<int>("toolIndex");
        QTest::addColumn<QString>("file");
        QTest::newRow("ffprobe") << int(Tool::Ffprobe) << QStringLiteral("ffprobe");
        QTest::newRow("yt-dlp") << int(Tool::Ytdlp) << QStringLiteral("yt-dlp");
    }

    void bootstrapWithAToolThatCannotBeInstalled()
    {
        QFETCH(int, toolIndex);
        const auto tool = Tool(toolIndex);
        QFETCH(QString, file);
        TestEnvironment env;
        TestToolMirror mirror(env.root());
        mirror.installFakes(env, QStringLiteral("2023.03.04"));
        QVERIFY(QFile::remove(env.toolsDir() + QLatin1Char('/') + file));
        DependencyManager manager(&m_network); // the mirror has nothing to give
        Trail trail(manager);

        bootstrap(manager);
        QCOMPARE(trail.phases, (QList<Phase>{Phase::Installing, Phase::Failed}));
        QCOMPARE(trail.texts.last(), needAttention);
        QCOMPARE(manager.state(tool).status, ComponentStatus::failed(QStringLiteral("HTTP 404")));
        QCOMPARE(manager.state(Tool::Ffmpeg), installedState(QStringLiteral("7.0")));
        QCOMPARE(logLinesStarting(QStringLiteral("Install ")),
                 QStringList{QStringLiteral("Install %1 failed: HTTP 404").arg(Tools::rawValue(tool))});
        QCOMPARE(logLinesStarting(QStringLiteral("Dependency")),
                 QStringList{QStringLiteral("Dependency verification: ready=false")});
        QVERIFY(manager.manifest().empty());
    }

    void repairReinstallsAllFourFromRealArchives()
    {
        TestEnvironment env;
        TestToolMirror mirror(env.root());
        mirror.installFakes(env, QStringLiteral("2023.01.01"));
        mirror.serveYtdlp(QStringLiteral("/usr/bin/yt-dlp"));
        mirror.serveFfmpeg(QStringLiteral("/usr/bin/ffmpeg"), QStringLiteral("/usr/bin/ffprobe"));
        mirror.serveDeno(mirror.fakeDeno(QStringLiteral("2.2.0")));
        DependencyManager manager(&m_network);
        bootstrap(manager);
        QCOMPARE(manager.phase(), Phase::Ready);
        Trail trail(manager);

        QCoro::waitFor(manager.repair());
        QCOMPARE(trail.texts,
                 (QStringList{QStringLiteral("Installing yt-dlp (1/4)"), QStringLiteral("Installing FFmpeg (2/4)"),
                              QStringLiteral("Installing ffprobe (3/4)"), QStringLiteral("Installing Deno (4/4)"),
                              smokeTests, allReady}));
        QCOMPARE(trail.phases, (QList<Phase>{Phase::Installing, Phase::Checking, Phase::Ready}));
        QCOMPARE(mirror.downloadCount(), 3); // one archive for FFmpeg and ffprobe
        for (const QString &name : {QStringLiteral("yt-dlp"), QStringLiteral("ffmpeg"), QStringLiteral("ffprobe")})
            QCOMPARE(readFile(env.toolsDir() + QLatin1Char('/') + name), readFile(QStringLiteral("/usr/bin/") + name));
        QCOMPARE(manager.state(Tool::Ytdlp), installedState(QStringLiteral("2023.03.04")));
        QCOMPARE(manager.state(Tool::Deno), installedState(QStringLiteral("2.2.0")));
        QCOMPARE(int(manager.manifest().size()), 4);
        QCOMPARE(manager.manifest().at(QStringLiteral("ffprobe")).version, *manager.state(Tool::Ffprobe).version);
        QCOMPARE(logLinesStarting(QStringLiteral("Dependency verification")).size(), 2);
    }

    void failedReinstallKeepsTheWorkingCopy()
    {
        TestEnvironment env;
        TestToolMirror mirror(env.root());
        mirror.installFakes(env, QStringLiteral("2023.03.04"));
        serveEverything(mirror);
        mirror.server().serveText(YTDLPManager::spec().urls.value(0).path(), "gone", "text/plain", 404);
        mirror.serveRelease(Tool::Ytdlp, QStringLiteral("2026.08.19"));
        DependencyManager manager(&m_network);
        manager.recordInstall(Tool::Ytdlp, QStringLiteral("2023.03.04"), QStringLiteral("https://example.org/old"));
        const ManifestEntry before = manager.manifest().at(QStringLiteral("yt-dlp"));
        const QByteArray ytdlp = readFile(env.toolsDir() + QStringLiteral("/yt-dlp"));
        bootstrap(manager);

        // A quiet update that fails, and a repair that fails for yt-dlp alone.
        QCoro::waitFor(manager.updateTools());
        QCOMPARE(manager.state(Tool::Ytdlp), installedState(QStringLiteral("2023.03.04"))); // latest cleared
        QCoro::waitFor(manager.repair());
        QCOMPARE(manager.state(Tool::Ytdlp), installedState(QStringLiteral("2023.03.04")));
        QCOMPARE(manager.phase(), Phase::Ready);
        QCOMPARE(readFile(env.toolsDir() + QStringLiteral("/yt-dlp")), ytdlp);
        QCOMPARE(manager.manifest().at(QStringLiteral("yt-dlp")), before);
        QCOMPARE(DependencyManager(&m_network).manifest().at(QStringLiteral("yt-dlp")), before);
        QCOMPARE(manager.state(Tool::Deno), installedState(QStringLiteral("2.2.0")));
        QCOMPARE(logLinesStarting(QStringLiteral("Install ")),
                 QStringList(2, QStringLiteral("Install yt-dlp failed: HTTP 404")));
        QCOMPARE(logLinesStarting(QStringLiteral("Dependency verification")).size(), 3);
    }

    void secondWorkflowWhileOneRunsReturnsAtOnce()
    {
        TestEnvironment env;
        TestToolMirror mirror(env.root());
        mirror.installFakes(env, QStringLiteral("2023.03.04"));
        mirror.serveRelease(Tool::Ytdlp, QStringLiteral("2026.08.19"));
        DependencyManager manager(&m_network);
        QCoro::Task<> first = manager.bootstrap();
        QVERIFY(!first.isReady()); // waiting for the first probe
        QVERIFY(manager.busy());
        Trail trail(manager);
        QSignalSpy states(&manager, &DependencyManager::statesChanged);

        QCoro::Task<> second = manager.bootstrap();
        QCoro::Task<> update = manager.updateTools();
        QCoro::Task<> repair = manager.repair();
        QVERIFY(second.isReady());
        QVERIFY(update.isReady());
        QVERIFY(repair.isReady());
        QVERIFY(trail.texts.isEmpty());
        QVERIFY(trail.phases.isEmpty());
        QVERIFY(states.isEmpty());

        QCoro::waitFor(first);
        QCOMPARE(manager.phase(), Phase::Ready);
        QCOMPARE(mirror.server().requests().size(), 0);
        QVERIFY(!SettingsStore::isStored(QStringLiteral("lastUpdateCheck")));
        QCOMPARE(logLinesStarting(QStringLiteral("Dependency verification")).size(), 1);
    }

    void updateReinstallsWhatIsOutdated()
    {
        TestEnvironment env;
        TestToolMirror mirror(env.root());
        mirror.installFakes(env, QStringLiteral("2023.03.04"));
        serveEverything(mirror);
        mirror.serveRelease(Tool::Ytdlp, QStringLiteral("2026.08.19"));
        mirror.serveRelease(Tool::Deno, QStringLiteral("v2.1.4"));
        DependencyManager manager(&m_network);
        const QDateTime now(QDate(2026, 12, 9), QTime(4, 18, 3), Qt::UTC);
        manager.setClock([now] { return now; });
        bootstrap(manager);
        Trail trail(manager);

        QCoro::waitFor(manager.updateTools());
        QCOMPARE(trail.phases, QList<Phase>()); // quiet: ready before and after
        QCOMPARE(trail.texts, (QStringList{QStringLiteral("Checking for tool updates") + ellipsis,
                                           QStringLiteral("Installing yt-dlp (1/1)"), smokeTests, allReady}));
        QCOMPARE(mirror.releaseLookupCount(), 2);
        QCOMPARE(mirror.downloadCount(), 1);
        QCOMPARE(manager.state(Tool::Ytdlp), installedState(QStringLiteral("2026.08.19")));
        ComponentState deno = installedState(QStringLiteral("2.1.4"));
        deno.latest = QStringLiteral("v2.1.4");
        QCOMPARE(manager.state(Tool::Deno), deno);
        QCOMPARE(manager.manifest().at(QStringLiteral("yt-dlp")).version, QStringLiteral("2026.08.19"));
        QCOMPARE(SettingsStore::string(QStringLiteral("lastUpdateCheck")), QStringLiteral("2026-12-09T04:18:03Z"));
        QCOMPARE(logLinesStarting(QStringLiteral("Dependency verification")).size(), 2);
    }

    void updateWithoutAnswersStillRecordsTheCheck()
    {
        TestEnvironment env;
        TestToolMirror mirror(env.root());
        mirror.installFakes(env, QStringLiteral("2023.03.04"));
        mirror.server().serveText(YTDLPManager::latestAPI().path(), "{\"message\":\"API rate limit exceeded\"}",
                                  "application/json", 403);
        DependencyManager manager(&m_network);
        bootstrap(manager);
        const ComponentState before = manager.state(Tool::Ytdlp);

        QCoro::waitFor(manager.updateTools());
        QCOMPARE(mirror.releaseLookupCount(), 2);
        QCOMPARE(mirror.downloadCount(), 0);
        QCOMPARE(manager.state(Tool::Ytdlp), before);
        QVERIFY(Json::parseDate(SettingsStore::string(QStringLiteral("lastUpdateCheck"))));
        QCOMPARE(manager.phase(), Phase::Ready);
    }

    void autoUpdate_data()
    {
        QTest::addColumn<bool>("allowed");
        QTest::addColumn<bool>("ready");
        QTest::addColumn<int>("lastCheckAge"); // seconds before now; -1: never checked
        QTest::addColumn<bool>("runs");
        QTest::newRow("never checked") << true << true << -1 << true;
        QTest::newRow("a day ago") << true << true << 86400 << true;
        QTest::newRow("a second short of a day") << true << true << 86399 << false;
        QTest::newRow("a week ago") << true << true << 7 * 86400 << true;
        QTest::newRow("in the future") << true << true << -3600 << false;
        QTest::newRow("turned off") << false << true << -1 << false;
        QTest::newRow("tools failed") << true << false << -1 << false;
    }

    void autoUpdate()
    {
        QFETCH(bool, allowed);
        QFETCH(bool, ready);
        QFETCH(int, lastCheckAge);
        QFETCH(bool, runs);
        TestEnvironment env;
        TestToolMirror mirror(env.root());
        mirror.installFakes(env, QStringLiteral("2026.08.19"));
        if (!ready)
            QVERIFY(QFile::remove(env.toolsDir() + QStringLiteral("/ffmpeg")));
        mirror.serveRelease(Tool::Ytdlp, QStringLiteral("2026.08.19"));
        SettingsStore::set(QStringLiteral("autoUpdateTools"), allowed);
        const QDateTime now(QDate(2026, 12, 9), QTime(4, 18, 3), Qt::UTC);
        const QString last = Json::dateText(now.addSecs(-lastCheckAge));
        if (lastCheckAge != -1)
            SettingsStore::set(QStringLiteral("lastUpdateCheck"), last);
        DependencyManager manager(&m_network);
        manager.setClock([now] { return now; });
        bootstrap(manager);
        QCOMPARE(manager.phase(), ready ? Phase::Ready : Phase::Failed);

        QCoro::waitFor(manager.autoUpdateIfDue());
        QCOMPARE(mirror.releaseLookupCount(), runs ? 2 : 0);
        QCOMPARE(logLinesStarting(QStringLiteral("Dependency verification")).size(), runs ? 2 : 1);
        const QString stored = SettingsStore::string(QStringLiteral("lastUpdateCheck"));
        QCOMPARE(stored, runs ? Json::dateText(now) : lastCheckAge == -1 ? QString() : last);
    }

    void bootstrapWithDebianTools_data()
    {
        QTest::addColumn<bool>("remote");
        QTest::newRow("remote components on") << true;
        QTest::newRow("remote components off") << false;
    }

    void bootstrapWithDebianTools()
    {
        QFETCH(bool, remote);
        TestEnvironment env;
        TestToolMirror mirror(env.root()); // serves nothing: any download would fail the test
        for (const QString &name : {QStringLiteral("yt-dlp"), QStringLiteral("ffmpeg"), QStringLiteral("ffprobe")})
            env.installTool(name, QStringLiteral("/usr/bin/") + name);
        const QString realDeno = qEnvironmentVariable("MORVANE_TEST_DENO");
        env.installTool(QStringLiteral("deno"),
                        realDeno.isEmpty() ? mirror.fakeDeno(QStringLiteral("2.1.4")) : realDeno);
        SettingsStore::set(QStringLiteral("remoteEJS"), remote);
        DependencyManager manager(&m_network);

        bootstrap(manager);
        QCOMPARE(mirror.server().requests().size(), 0);
        for (const Tool tool : {Tool::Ytdlp, Tool::Ffmpeg, Tool::Ffprobe, Tool::Deno}) {
            const ComponentState state = manager.state(tool);
            QCOMPARE(state.status, ComponentStatus::installed()); // yt-dlp's smoke test passed
            QVERIFY(!state.version.value_or(QString()).isEmpty());
        }
        QCOMPARE(manager.state(Tool::Ytdlp).version, QStringLiteral("2023.03.04"));
        QCOMPARE(manager.ejsDetail(), remote ? remoteEJS : noEJS);
        const ComponentState ejs =
            remote ? installedState(QStringLiteral("ready"))
                   : ComponentState{ComponentStatus::failed(noEJS), 1.0, std::nullopt, std::nullopt};
        QCOMPARE(manager.state(Tool::Ejs), ejs);
        QCOMPARE(manager.phase(), remote ? Phase::Ready : Phase::Failed);
        QCOMPARE(manager.current(), remote ? allReady : needAttention);
        QCOMPARE(TestLog::appLogLines(), QStringList{QStringLiteral("Dependency verification: ready=") +
                                                     (remote ? QLatin1String("true") : QLatin1String("false"))});
    }

    void failedSmokeTestFailsYtdlp()
    {
        TestEnvironment env;
        TestToolMirror mirror(env.root());
        mirror.installFakes(env, QStringLiteral("2023.03.04"));
        // Answers the probe, lists too few extractors.
        env.installScript(QStringLiteral("yt-dlp"), "#!/bin/sh\n"
                                                    "[ \"$1\" = --version ] && { echo 2023.03.04; exit 0; }\n"
                                                    "seq 50\n");
        DependencyManager manager(&m_network);
        bootstrap(manager);
        QCOMPARE(manager.state(Tool::Ytdlp).status,
                 ComponentStatus::failed(QStringLiteral("Smoke test failed: 50 extractors loaded")));
        QCOMPARE(manager.phase(), Phase::Failed);
        QCOMPARE(manager.current(), needAttention);
    }
};

QTEST_GUILESS_MAIN(TestToolWorkflows)
#include "tst_toolworkflows.moc"
