#include "TestLog.h"
#include "tools/DependencyManager.h"

#include "TestArchive.h"
#include "TestEnvironment.h"
#include "TestHttpServer.h"
#include "TestToolMirror.h"
#include "core/LogManager.h"
#include "core/YTDLPManager.h"
#include "tools/InstallRun.h"

#include <QCoroTask>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>

using namespace TestArchive;

namespace {

const QString ellipsis = QStringLiteral("\u2026");

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// Debian's package version is an independent record of what the binaries print.
QString debianVersion(const QString &package)
{
    QProcess dpkg;
    dpkg.start(QStringLiteral("dpkg-query"),
               {QStringLiteral("-W"), QStringLiteral("-f"), QStringLiteral("${Version}"), package});
    dpkg.waitForFinished();
    QString version = QString::fromUtf8(dpkg.readAllStandardOutput());
    return version.section(QLatin1Char(':'), -1); // without the epoch
}

QStringList workFolders(const QString &toolsDir)
{
    return QDir(toolsDir).entryList({QStringLiteral("mv-*")}, QDir::Dirs | QDir::NoDotAndDotDot);
}

} // namespace

class TestDependencyManager : public QObject
{
    Q_OBJECT

    QNetworkAccessManager m_network;

    // The statuses a tool passed through, each change once.
    struct StatusTrail
    {
        StatusTrail(DependencyManager &manager, Tool tool)
        {
            QObject::connect(&manager, &DependencyManager::statesChanged, &manager, [this, &manager, tool] {
                const ComponentStatus status = manager.state(tool).status;
                if (texts.isEmpty() || texts.last() != status.message)
                    texts.append(status.message);
            });
        }
        QStringList texts;
    };

    DependencyManager::InstallResult install(DependencyManager &manager, const ToolSpec &spec,
                                             std::shared_ptr<InstallRun> run = nullptr)
    {
        return QCoro::waitFor(manager.installOne(spec, run));
    }

    static ToolSpec mirroredSpec(Tool tool, const TestHttpServer &server)
    {
        qputenv("MORVANE_TOOL_MIRROR", server.base().toUtf8());
        return *DependencyManager::specFor(tool);
    }

    static QString ffmpegArchive(const QString &folder, Format format)
    {
        const QString path = folder + (format == Format::Zip ? QStringLiteral("/f.zip") : QStringLiteral("/f.tar.xz"));
        write(path, format,
              {directory(QStringLiteral("ffmpeg-n7.1-linux64-gpl/")),
               directory(QStringLiteral("ffmpeg-n7.1-linux64-gpl/bin/")),
               copyOf(QStringLiteral("ffmpeg-n7.1-linux64-gpl/bin/ffmpeg"), QStringLiteral("/usr/bin/ffmpeg")),
               copyOf(QStringLiteral("ffmpeg-n7.1-linux64-gpl/bin/ffprobe"), QStringLiteral("/usr/bin/ffprobe")),
               file(QStringLiteral("ffmpeg-n7.1-linux64-gpl/LICENSE.txt"), "GPL")});
        return path;
    }

private Q_SLOTS:
    void cleanup() { qunsetenv("MORVANE_TOOL_MIRROR"); }

    void freshState()
    {
        TestEnvironment env;
        DependencyManager manager(&m_network);
        QCOMPARE(manager.phase(), DependencyManager::Phase::Checking);
        QCOMPARE(manager.current(), QStringLiteral("Checking tools") + ellipsis);
        QCOMPARE(manager.overall(), 0.0);
        QVERIFY(!manager.busy());
        QVERIFY(!manager.runningDiagnostics());
        QVERIFY(manager.diagnostics().isEmpty());
        QCOMPARE(manager.ejsDetail(), QString());
        QCOMPARE(int(manager.states().size()), 5);
        for (const Tool tool : Tools::all())
            QCOMPARE(manager.state(tool), ComponentState());
        QVERIFY(manager.manifest().empty());
    }

    void leftoverWorkFoldersAreRemovedAtStart()
    {
        TestEnvironment env;
        const QString stale = env.toolsDir() + QStringLiteral("/mv-0C5A4A36-9E0E-4E43-9C86-3B7F1F4C2A11");
        QVERIFY(QDir().mkpath(stale + QStringLiteral("/x")));
        env.installScript(QStringLiteral("mv-notes"), "#!/bin/sh\n"); // a file, not a work folder
        env.installScript(QStringLiteral("yt-dlp"), "#!/bin/sh\n");
        DependencyManager manager(&m_network);
        QVERIFY(!QFile::exists(stale));
        QVERIFY(QFile::exists(env.toolsDir() + QStringLiteral("/mv-notes")));
        QVERIFY(QFile::exists(env.toolsDir() + QStringLiteral("/yt-dlp")));
    }

    // A link named like a work folder is unlinked, never followed: what it points to is not ours.
    void leftoverLinksAreUnlinkedNotFollowed()
    {
        TestEnvironment env;
        const QString kept = env.root() + QStringLiteral("/Music");
        QVERIFY(QDir().mkpath(kept + QStringLiteral("/album")));
        writeFile(kept + QStringLiteral("/song.mp3"), "tune");
        writeFile(kept + QStringLiteral("/album/track.mp3"), "track");
        const QString tools = env.toolsDir();
        const QString stale = tools + QStringLiteral("/mv-0C5A4A36-9E0E-4E43-9C86-3B7F1F4C2A11");
        QVERIFY(QDir().mkpath(stale));
        const QStringList links{tools + QStringLiteral("/mv-x"), stale + QStringLiteral("/inside"),
                                tools + QStringLiteral("/mv-dangling")};
        QVERIFY(QFile::link(kept, links[0]));
        QVERIFY(QFile::link(kept, links[1]));
        QVERIFY(QFile::link(tools + QStringLiteral("/gone"), links[2]));

        DependencyManager manager(&m_network);
        QCOMPARE(QDir(kept).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                 (QStringList{QStringLiteral("album"), QStringLiteral("song.mp3")}));
        QCOMPARE(readFile(kept + QStringLiteral("/song.mp3")), QByteArray("tune"));
        QCOMPARE(readFile(kept + QStringLiteral("/album/track.mp3")), QByteArray("track"));
        for (const QString &link : links)
            QVERIFY2(!QFileInfo(link).isSymLink(), qPrintable(link));
        QVERIFY(!QFileInfo::exists(stale));
    }

    void manifestRoundTripThroughTheManager()
    {
        TestEnvironment env;
        {
            DependencyManager manager(&m_network);
            manager.recordInstall(Tool::Deno, QStringLiteral("2.1.4"), QStringLiteral("http://127.0.0.1:1/d.zip"));
            manager.recordInstall(Tool::Ytdlp, QStringLiteral("2026.08.19"), QStringLiteral("https://x/y"));
            manager.recordInstall(Tool::Deno, QStringLiteral("2.2.0"), QStringLiteral("http://127.0.0.1:1/e.zip"));
        }
        DependencyManager reloaded(&m_network);
        QCOMPARE(int(reloaded.manifest().size()), 2);
        const ManifestEntry deno = reloaded.manifest().at(QStringLiteral("Deno"));
        QCOMPARE(deno.version, QStringLiteral("2.2.0"));
        QCOMPARE(deno.source, QStringLiteral("http://127.0.0.1:1/e.zip"));
        QVERIFY(qAbs(deno.installedAt.secsTo(QDateTime::currentDateTimeUtc())) < 60);
        QCOMPARE(deno.installedAt.time().msec(), 0);
    }

    void manifestMissingAKeyReadsEmptyAndIsReplaced()
    {
        TestEnvironment env;
        QFile file(env.toolsDir() + QStringLiteral("/manifest.json"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("{\"FFmpeg\":{\"version\":\"7.1\",\"installedAt\":\"2026-12-08T09:31:42Z\",\"source\":\"s\"},"
                   "\"Deno\":{\"version\":\"2.1.4\",\"installedAt\":\"2026-12-08T09:31:42Z\"}}");
        file.close();

        DependencyManager manager(&m_network);
        QVERIFY(manager.manifest().empty());
        manager.recordInstall(Tool::Ffprobe, QStringLiteral("7.1"), QStringLiteral("s"));
        QCOMPARE(int(DependencyManager(&m_network).manifest().size()), 1);
        QVERIFY(readFile(file.fileName() + QStringLiteral(".bad")).contains("\"Deno\""));
    }

    void foreignManifestKeySurvivesASave()
    {
        TestEnvironment env;
        QFile file(env.toolsDir() + QStringLiteral("/manifest.json"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("{\"Whisper\":{\"version\":\"1.0\",\"installedAt\":\"2026-12-08T09:31:42Z\",\"source\":\"w\"}}");
        file.close();

        DependencyManager manager(&m_network);
        manager.recordInstall(Tool::Ytdlp, QStringLiteral("2023.03.04"), QStringLiteral("y"));
        const auto entries = DependencyManager(&m_network).manifest();
        QCOMPARE(int(entries.size()), 2);
        QCOMPARE(entries.at(QStringLiteral("Whisper")).source, QStringLiteral("w"));
        QCOMPARE(entries.at(QStringLiteral("Whisper")).installedAt,
                 QDateTime(QDate(2026, 12, 8), QTime(9, 31, 42), Qt::UTC));
    }

    void parseVersion_data()
    {
        QTest::addColumn<Tool>("tool");
        QTest::addColumn<QString>("output");
        QTest::addColumn<QString>("version"); // empty: no version
        QTest::newRow("yt-dlp padded") << Tool::Ytdlp << QStringLiteral(" \t2026.08.19 \n")
                                       << QStringLiteral("2026.08.19");
        QTest::newRow("yt-dlp after empty lines")
            << Tool::Ytdlp << QStringLiteral("\n\n2023.03.04\nmore\n") << QStringLiteral("2023.03.04");
        QTest::newRow("yt-dlp only line feeds") << Tool::Ytdlp << QStringLiteral("\n\n\n") << QString();
        QTest::newRow("yt-dlp only blanks") << Tool::Ytdlp << QStringLiteral("  \t \n") << QString();
        QTest::newRow("ffmpeg") << Tool::Ffmpeg
                                << QStringLiteral(
                                       "ffmpeg version 7.1-static https://johnvansickle.com  Copyright\nbuilt")
                                << QStringLiteral("7.1-static");
        QTest::newRow("ffprobe extra spaces")
            << Tool::Ffprobe << QStringLiteral("ffprobe   version   n7.1  x") << QStringLiteral("n7.1");
        QTest::newRow("ffmpeg capital Version") << Tool::Ffmpeg << QStringLiteral("ffmpeg Version 7.1") << QString();
        QTest::newRow("ffmpeg two words") << Tool::Ffmpeg << QStringLiteral("ffmpeg version") << QString();
        QTest::newRow("deno") << Tool::Deno
                              << QStringLiteral("deno 2.1.4 (stable, release, x86_64-unknown-linux-gnu)\nv8 13.0\n")
                              << QStringLiteral("2.1.4");
        QTest::newRow("deno nothing left") << Tool::Deno << QStringLiteral("deno ") << QString();
        QTest::newRow("ejs") << Tool::Ejs << QStringLiteral("ready") << QString();
    }

    void parseVersion()
    {
        QFETCH(Tool, tool);
        QFETCH(QString, output);
        QFETCH(QString, version);
        const auto parsed = DependencyManager::parseVersion(tool, output);
        QCOMPARE(parsed.has_value(), !version.isEmpty());
        if (parsed)
            QCOMPARE(*parsed, version);
    }

    void validateRealTools()
    {
        TestEnvironment env;
        env.installTool(QStringLiteral("ffmpeg"), QStringLiteral("/usr/bin/ffmpeg"));
        env.installTool(QStringLiteral("ffprobe"), QStringLiteral("/usr/bin/ffprobe"));
        env.installTool(QStringLiteral("yt-dlp"), QStringLiteral("/usr/bin/yt-dlp"));
        DependencyManager manager(&m_network);
        const QString ffmpegVersion = debianVersion(QStringLiteral("ffmpeg"));
        QVERIFY(!ffmpegVersion.isEmpty());
        QCOMPARE(QCoro::waitFor(manager.validate(Tool::Ffmpeg)), std::optional(ffmpegVersion));
        QCOMPARE(QCoro::waitFor(manager.validate(Tool::Ffprobe)), std::optional(ffmpegVersion));
        QCOMPARE(QCoro::waitFor(manager.validate(Tool::Ytdlp)),
                 std::optional(debianVersion(QStringLiteral("yt-dlp")).section(QLatin1Char('-'), 0, 0)));
        QCOMPARE(QCoro::waitFor(manager.validate(Tool::Deno)), std::nullopt); // not installed
        QCOMPARE(QCoro::waitFor(manager.validate(Tool::Ejs)), std::nullopt);
    }

    void validateRejectsWhatCannotRun()
    {
        TestEnvironment env;
        DependencyManager manager(&m_network);
        const QString marker = env.root() + QStringLiteral("/ran");
        const QByteArray script = "#!/bin/sh\ntouch '" + marker.toUtf8() + "'\necho 2023.03.04\n";
        const QString path = env.installScript(QStringLiteral("yt-dlp"), script);
        QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner));
        QCOMPARE(QCoro::waitFor(manager.validate(Tool::Ytdlp)), std::nullopt);
        QVERIFY2(!QFile::exists(marker), "a file without the execute bit was started");

        // A folder named like the tool has the execute bit but is no executable.
        QVERIFY(QDir().mkpath(env.toolsDir() + QStringLiteral("/deno")));
        QCOMPARE(QCoro::waitFor(manager.validate(Tool::Deno)), std::nullopt);

        env.installScript(QStringLiteral("ffprobe"), "#!/bin/sh\necho 'ffprobe version 7.1'\nexit 1\n");
        QCOMPARE(QCoro::waitFor(manager.validate(Tool::Ffprobe)), std::nullopt);

        // An explicit path is probed in place of the installed copy.
        const QString other = env.installScript(QStringLiteral("elsewhere"), "#!/bin/sh\necho 'deno 2.1.4 (stable)'\n");
        QCOMPARE(QCoro::waitFor(manager.validate(Tool::Deno, other)), std::optional(QStringLiteral("2.1.4")));
    }

    void latestTag_data()
    {
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<QString>("tag"); // empty: nothing
        QTest::newRow("release") << 200 << QByteArray("{\"tag_name\":\"2026.08.19\",\"assets\":[]}")
                                 << QStringLiteral("2026.08.19");
        QTest::newRow("leading v kept") << 200 << QByteArray("{\"tag_name\":\"v2.1.4\"}") << QStringLiteral("v2.1.4");
        QTest::newRow("rate limited") << 403 << QByteArray("{\"message\":\"API rate limit exceeded\"}") << QString();
        QTest::newRow("status is not read") << 403 << QByteArray("{\"tag_name\":\"v9\"}") << QStringLiteral("v9");
        QTest::newRow("not JSON") << 200 << QByteArray("<html>tag_name</html>") << QString();
        QTest::newRow("tag not a string") << 200 << QByteArray("{\"tag_name\":2}") << QString();
        QTest::newRow("array") << 200 << QByteArray("[{\"tag_name\":\"v1\"}]") << QString();
    }

    void latestTag()
    {
        QFETCH(int, status);
        QFETCH(QByteArray, body);
        QFETCH(QString, tag);
        TestEnvironment env;
        TestHttpServer server;
        server.serveText(QStringLiteral("/repos/denoland/deno/releases/latest"), body, "application/json", status);
        DependencyManager manager(&m_network);
        const auto found =
            QCoro::waitFor(manager.latestTag(server.url(QStringLiteral("/repos/denoland/deno/releases/latest"))));
        QCOMPARE(found.has_value(), !tag.isEmpty());
        if (found)
            QCOMPARE(*found, tag);
        QCOMPARE(server.requests().value(0).headers.value("user-agent"), QByteArray("Morvane/1.0"));
    }

    void latestTagOfARefusedConnection()
    {
        TestEnvironment env;
        quint16 port = 0;
        {
            TestHttpServer gone;
            port = gone.port();
        }
        DependencyManager manager(&m_network);
        QCOMPARE(QCoro::waitFor(manager.latestTag(QUrl(QStringLiteral("http://127.0.0.1:%1/repos").arg(port)))),
                 std::nullopt);
    }

    void installsBothToolsFromOneTarXzDownload()
    {
        TestEnvironment env;
        TestHttpServer server;
        const ToolSpec ffmpeg = mirroredSpec(Tool::Ffmpeg, server);
        const ToolSpec ffprobe = mirroredSpec(Tool::Ffprobe, server);
        QCOMPARE(ffmpeg.archive, ArchiveKind::TarXz);
        const QString primary = ffmpeg.urls.value(0).path();
        server.serveFile(primary, ffmpegArchive(env.root(), Format::TarXz), "application/x-xz");
        env.installScript(QStringLiteral("ffmpeg"), "#!/bin/sh\necho 'ffmpeg version old'\n");

        DependencyManager manager(&m_network);
        StatusTrail trail(manager, Tool::Ffmpeg);
        QSignalSpy changes(&manager, &DependencyManager::statesChanged);
        auto run = std::make_shared<InstallRun>();
        const auto first = install(manager, ffmpeg, run);
        QVERIFY2(first.ok(), qPrintable(first.error.message));
        const QString version = debianVersion(QStringLiteral("ffmpeg"));
        QCOMPARE(first.installed->version, version);
        QCOMPARE(first.installed->source, ffmpeg.urls.value(0).toString());
        QCOMPARE(trail.texts,
                 (QStringList{QStringLiteral("Downloading 127.0.0.1") + ellipsis,
                              QStringLiteral("Extracting") + ellipsis, QStringLiteral("Validating") + ellipsis}));
        // installOne leaves the outcome to its caller.
        QCOMPARE(manager.state(Tool::Ffmpeg).progress, 0.95);
        QCOMPARE(manager.overall(), 0.95 / 5);
        QCOMPARE(manager.state(Tool::Ffmpeg).version, std::nullopt);
        QVERIFY(changes.size() >= 4);
        QCOMPARE(readFile(env.toolsDir() + QStringLiteral("/ffmpeg")), readFile(QStringLiteral("/usr/bin/ffmpeg")));
        QVERIFY(QFileInfo(env.toolsDir() + QStringLiteral("/ffmpeg")).permissions().testFlag(QFile::ExeOther));

        const auto second = install(manager, ffprobe, run);
        QVERIFY2(second.ok(), qPrintable(second.error.message));
        QCOMPARE(second.installed->version, version);
        QCOMPARE(server.requestsFor(primary).size(), 1);
        QCOMPARE(readFile(env.toolsDir() + QStringLiteral("/ffprobe")), readFile(QStringLiteral("/usr/bin/ffprobe")));
        QVERIFY(!workFolders(env.toolsDir()).isEmpty()); // the run keeps its archive...
        run.reset();
        QCOMPARE(workFolders(env.toolsDir()), QStringList()); // ...until it ends
        QCOMPARE(TestLog::appLogLines(), QStringList());
    }

    void installsFromAZip()
    {
        TestEnvironment env;
        TestHttpServer server;
        server.serveFile(QStringLiteral("/ffmpeg.zip"), ffmpegArchive(env.root(), Format::Zip), "application/zip");
        const ToolSpec spec{
            Tool::Ffprobe, {server.url(QStringLiteral("/ffmpeg.zip"))}, ArchiveKind::Zip, {QStringLiteral("-version")}};
        DependencyManager manager(&m_network);
        const auto result = install(manager, spec);
        QVERIFY2(result.ok(), qPrintable(result.error.message));
        QCOMPARE(readFile(env.toolsDir() + QStringLiteral("/ffprobe")), readFile(QStringLiteral("/usr/bin/ffprobe")));
        QCOMPARE(workFolders(env.toolsDir()), QStringList());
    }

    void installsRealDenoFromItsZip()
    {
        const QString deno = qEnvironmentVariable("MORVANE_TEST_DENO");
        if (deno.isEmpty())
            QSKIP("no real Deno: MORVANE_TEST_DENO is unset (scripts/setup fetches it from npm on x86_64)");
        // The npm package's own record of the version it carries.
        QFile package(QFileInfo(deno).dir().filePath(QStringLiteral("package.json")));
        QVERIFY(package.open(QIODevice::ReadOnly));
        const QString expected =
            QJsonDocument::fromJson(package.readAll()).object().value(QStringLiteral("version")).toString();
        QVERIFY(!expected.isEmpty());

        TestEnvironment env;
        TestHttpServer server;
        const ToolSpec spec = mirroredSpec(Tool::Deno, server);
        QCOMPARE(spec.archive, ArchiveKind::Zip);
        const QString archive = env.root() + QStringLiteral("/deno.zip");
        QVERIFY(write(archive, Format::ZipStored, {copyOf(QStringLiteral("deno"), deno)}));
        server.serveFile(spec.urls.value(0).path(), archive, "application/zip");

        DependencyManager manager(&m_network);
        const auto result = install(manager, spec);
        QVERIFY2(result.ok(), qPrintable(result.error.message));
        QCOMPARE(result.installed->version, expected);
        QCOMPARE(QCoro::waitFor(manager.validate(Tool::Deno)), std::optional(expected));
        QCOMPARE(workFolders(env.toolsDir()), QStringList());
    }

    void installsABareExecutable()
    {
        TestEnvironment env;
        TestHttpServer server;
        const ToolSpec spec = mirroredSpec(Tool::Ytdlp, server);
        TestHttpServer::Route route;
        route.filePath = QStringLiteral("/usr/bin/yt-dlp");
        route.dripBytes = 1024;
        server.serve(spec.urls.value(0).path(), route);
        DependencyManager manager(&m_network);
        QList<double> progress;
        connect(&manager, &DependencyManager::statesChanged, this,
                [&] { progress.append(manager.state(Tool::Ytdlp).progress); });
        const auto result = install(manager, spec);
        QVERIFY2(result.ok(), qPrintable(result.error.message));
        QCOMPARE(result.installed->version, QStringLiteral("2023.03.04"));
        QVERIFY(progress.contains(0.9)); // the whole download, scaled
        QCOMPARE(progress.last(), 0.95);
        QCOMPARE(workFolders(env.toolsDir()), QStringList());
    }

    void failedSourceIsLoggedAndTheNextTried()
    {
        TestEnvironment env;
        TestHttpServer server;
        const ToolSpec spec = mirroredSpec(Tool::Ffmpeg, server);
        QCOMPARE(spec.urls.size(), 2);
        server.serveFile(spec.urls[1].path(), ffmpegArchive(env.root(), Format::TarXz), "application/x-xz");
        DependencyManager manager(&m_network);
        const auto result = install(manager, spec);
        QVERIFY2(result.ok(), qPrintable(result.error.message));
        QCOMPARE(result.installed->source, spec.urls[1].toString());
        QCOMPARE(TestLog::appLogLines(), QStringList{QStringLiteral("Source ") + spec.urls[0].toString() +
                                                     QStringLiteral(" failed: HTTP 404")});
        QCOMPARE(workFolders(env.toolsDir()), QStringList());
    }

    void failedInstalls_data()
    {
        QTest::addColumn<QList<Member>>("members"); // empty: garbage bytes
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("message");
        const QString notFound = QStringLiteral("ffmpeg not found in archive.");
        QTest::newRow("garbage") << QList<Member>() << 2 << QStringLiteral("Could not extract archive: ");
        QTest::newRow("tool missing") << QList<Member>{copyOf(QStringLiteral("bin/ffprobe"),
                                                              QStringLiteral("/usr/bin/ffprobe"))}
                                      << 3 << notFound;
        QTest::newRow("wrong case") << QList<Member>{copyOf(QStringLiteral("bin/FFmpeg"),
                                                            QStringLiteral("/usr/bin/ffmpeg"))}
                                    << 3 << notFound;
        QTest::newRow("folder named like the tool")
            << QList<Member>{directory(QStringLiteral("ffmpeg/")), file(QStringLiteral("ffmpeg/README"), "x")} << 3
            << notFound;
        QTest::newRow("fails its probe") << QList<Member>{file(QStringLiteral("bin/ffmpeg"),
                                                               "#!/bin/sh\necho 'ffmpeg version 9'\nexit 1\n")}
                                         << 4 << QStringLiteral("Downloaded FFmpeg failed validation.");
        QTest::newRow("prints no version")
            << QList<Member>{file(QStringLiteral("bin/ffmpeg"), "#!/bin/sh\necho 'ffmpeg Version 9'\n")} << 4
            << QStringLiteral("Downloaded FFmpeg failed validation.");
    }

    void failedInstalls()
    {
        QFETCH(QList<Member>, members);
        QFETCH(int, code);
        QFETCH(QString, message);
        TestEnvironment env;
        TestHttpServer server;
        const QString archive = env.root() + QStringLiteral("/a.tar.xz");
        if (members.isEmpty()) {
            QFile garbage(archive);
            QVERIFY(garbage.open(QIODevice::WriteOnly));
            garbage.write(QByteArray("<html>Not the archive you wanted</html>").repeated(100));
        } else {
            QVERIFY(write(archive, Format::TarXz, members));
        }
        server.serveFile(QStringLiteral("/ffmpeg.tar.xz"), archive, "application/x-xz");
        const QByteArray working = "#!/bin/sh\necho 'ffmpeg version 5.0'\n";
        env.installScript(QStringLiteral("ffmpeg"), working);
        const ToolSpec spec{Tool::Ffmpeg,
                            {server.url(QStringLiteral("/ffmpeg.tar.xz"))},
                            ArchiveKind::TarXz,
                            {QStringLiteral("-version")}};

        DependencyManager manager(&m_network);
        const auto result = install(manager, spec);
        QVERIFY(!result.ok());
        QCOMPARE(result.error.domain, QStringLiteral("Install"));
        QCOMPARE(result.error.code, code);
        QVERIFY2(result.error.message.startsWith(message), qPrintable(result.error.message));
        QCOMPARE(readFile(env.toolsDir() + QStringLiteral("/ffmpeg")), working);
        QCOMPARE(TestLog::appLogLines(), QStringList{QStringLiteral("Source ") + spec.urls[0].toString() +
                                                     QStringLiteral(" failed: ") + result.error.message});
        QCOMPARE(workFolders(env.toolsDir()), QStringList());
    }

    // A source that streams without end is stopped at the size limit, bare tool or archive, and
    // the copy already installed is left as it was.
    void endlessDownloadIsStopped_data()
    {
        QTest::addColumn<Tool>("tool");
        QTest::addColumn<QString>("name");
        QTest::newRow("bare yt-dlp") << Tool::Ytdlp << QStringLiteral("yt-dlp");
        QTest::newRow("Deno zip") << Tool::Deno << QStringLiteral("deno");
    }

    void endlessDownloadIsStopped()
    {
        QFETCH(Tool, tool);
        QFETCH(QString, name);
        TestEnvironment env;
        TestHttpServer server;
        const ToolSpec spec = mirroredSpec(tool, server);
        server.streamEndlessly(spec.urls.value(0).path());
        const QByteArray working = "#!/bin/sh\necho 1.0\n";
        env.installScript(name, working);

        DependencyManager manager(&m_network);
        manager.setDownloadSizeLimit(1024 * 1024);
        const auto result = install(manager, spec);
        QCOMPARE(result.error, (ToolError{QStringLiteral("Download"), 0,
                                          QStringLiteral("Download stopped: the file is larger than 1 MiB.")}));
        QCOMPARE(readFile(env.toolsDir() + QLatin1Char('/') + name), working);
        QCOMPARE(workFolders(env.toolsDir()), QStringList());
        QCOMPARE(TestLog::appLogLines().size(), spec.urls.size());
    }

    void allSourcesFailing()
    {
        TestEnvironment env;
        TestHttpServer server;
        server.serveText(QStringLiteral("/b"), "", "text/plain", 500);
        const ToolSpec spec{Tool::Deno,
                            {server.url(QStringLiteral("/a")), server.url(QStringLiteral("/b"))},
                            ArchiveKind::Zip,
                            {QStringLiteral("--version")}};
        DependencyManager manager(&m_network);
        const auto result = install(manager, spec);
        QCOMPARE(result.error, (ToolError{QStringLiteral("Download"), 500, QStringLiteral("HTTP 500")}));
        QCOMPARE(TestLog::appLogLines().size(), 2);
        QCOMPARE(workFolders(env.toolsDir()), QStringList());
    }

    void noSourceAtAll()
    {
        TestEnvironment env;
        DependencyManager manager(&m_network);
        QSignalSpy changes(&manager, &DependencyManager::statesChanged);
        const auto result = install(manager, ToolSpec{Tool::Deno, {}, ArchiveKind::Zip, {QStringLiteral("--version")}});
        QCOMPARE(result.error,
                 (ToolError{QStringLiteral("Install"), 1, QStringLiteral("No download source available.")}));
        QVERIFY(changes.isEmpty());
        QVERIFY(TestLog::appLogLines().isEmpty());
    }

    // A window closed during the start-up check: the probe or download still running ends after
    // the manager and must find nothing of it to write to (a sanitized build catches the write).
    void checkOutlivingItsManager_data()
    {
        QTest::addColumn<bool>("installed");
        QTest::newRow("probing the tool") << true;
        QTest::newRow("downloading the tool") << false;
    }

    void checkOutlivingItsManager()
    {
        QFETCH(bool, installed);
        TestEnvironment env;
        TestToolMirror mirror(env.root());
        if (installed) {
            env.installScript(QStringLiteral("yt-dlp"), "#!/bin/sh\necho 2023.03.04\n");
        } else {
            // Slow enough that the manager goes while the download still runs.
            TestHttpServer::Route slow;
            slow.body = "#!/bin/sh\necho 2023.03.04\n";
            slow.dripBytes = 4;
            slow.dripIntervalMs = 50;
            mirror.server().serve(YTDLPManager::spec().urls.value(0).path(), slow);
        }
        auto manager = std::make_unique<DependencyManager>(&m_network);
        QCoro::Task<> check = manager->bootstrap();
        QVERIFY(manager->busy());
        if (!installed)
            QTRY_COMPARE(mirror.downloadCount(), 1);
        manager.reset();
        QCoro::waitFor(std::move(check));
        if (installed)
            QVERIFY(TestLog::appLogLines().isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestDependencyManager)
#include "tst_dependencymanager.moc"
