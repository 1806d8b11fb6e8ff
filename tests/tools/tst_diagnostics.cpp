#include "tools/Diagnostics.h"

#include "TestEnvironment.h"
#include "tools/DependencyManager.h"

#include <QCoroTask>
#include <QNetworkAccessManager>
#include <QProcess>
#include <QSignalSpy>
#include <QSysInfo>
#include <QTest>

namespace {

const QString emDash = QStringLiteral("\u2014");

QStringList names(const QList<DiagnosticItem> &items)
{
    QStringList result;
    for (const DiagnosticItem &item : items)
        result.append(item.name);
    return result;
}

DiagnosticItem itemNamed(const QList<DiagnosticItem> &items, const QString &name)
{
    for (const DiagnosticItem &item : items) {
        if (item.name == name)
            return item;
    }
    return {QUuid(), QStringLiteral("<none>"), false, {}};
}

} // namespace

class TestDiagnostics : public QObject
{
    Q_OBJECT

    QNetworkAccessManager m_network;

    const QStringList toolNames{QStringLiteral("yt-dlp"), QStringLiteral("FFmpeg"), QStringLiteral("ffprobe"),
                                QStringLiteral("Deno"), QStringLiteral("yt-dlp-ejs")};
    const QStringList smokeTestNames{QStringLiteral("yt-dlp smoke test"), QStringLiteral("FFmpeg smoke test"),
                                     QStringLiteral("Deno smoke test")};

private Q_SLOTS:
    void systemItemNamesTheDistribution()
    {
        // The shell reads os-release by its own rules: an independent account of the name.
        QProcess shell;
        shell.start(QStringLiteral("sh"),
                    {QStringLiteral("-c"), QStringLiteral(". /etc/os-release; printf %s \"$NAME\"")});
        QVERIFY(shell.waitForFinished());
        const QString expected = QString::fromUtf8(shell.readAllStandardOutput());
        QVERIFY(!expected.isEmpty());
        const DiagnosticItem item = Diagnostics::systemItem();
        QCOMPARE(item.name, expected);
        QVERIFY(item.ok);
        QCOMPARE(item.detail, QSysInfo::prettyProductName());
    }

    void architectureTexts()
    {
        QCOMPARE(Diagnostics::architectureItem(CpuArch::Arm64).detail, QStringLiteral("Arm (aarch64)"));
        QCOMPARE(Diagnostics::architectureItem(CpuArch::X86_64).detail, QStringLiteral("x86_64"));
        QCOMPARE(Diagnostics::architectureItem(CpuArch::X86_64).name, QStringLiteral("Architecture"));
        QVERIFY(Diagnostics::architectureItem(CpuArch::Arm64).ok);
        QVERIFY(Diagnostics::architectureItem().id != Diagnostics::architectureItem().id);
    }

    void toolItems()
    {
        TestEnvironment env;
        const DiagnosticItem found = Diagnostics::toolItem(Tool::Ffprobe, QStringLiteral("5.1.6-0+deb12u1"));
        QCOMPARE(found.name, QStringLiteral("ffprobe"));
        QVERIFY(found.ok);
        QCOMPARE(found.detail, QStringLiteral("5.1.6-0+deb12u1 ") + emDash + QLatin1Char(' ') + env.toolsDir() +
                                   QStringLiteral("/ffprobe"));
        const DiagnosticItem missing = Diagnostics::toolItem(Tool::Deno, std::nullopt);
        QCOMPARE(missing.name, QStringLiteral("Deno"));
        QVERIFY(!missing.ok);
        QCOMPARE(missing.detail, QStringLiteral("Missing or not working ") + emDash + QLatin1Char(' ') +
                                     env.toolsDir() + QStringLiteral("/deno"));
    }

    void diskItem_data()
    {
        QTest::addColumn<qint64>("freeBytes");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QString>("detail");
        QTest::newRow("nothing free") << qint64(0) << false << emDash;
        QTest::newRow("one byte") << qint64(1) << false << QStringLiteral("1 bytes");
        QTest::newRow("exactly the limit") << qint64(1'000'000'000) << false << QStringLiteral("1.0 GB");
        QTest::newRow("one byte more") << qint64(1'000'000'001) << true << QStringLiteral("1.0 GB");
        QTest::newRow("plenty") << qint64(250'400'000'000) << true << QStringLiteral("250.4 GB");
    }

    void diskItem()
    {
        QFETCH(qint64, freeBytes);
        QFETCH(bool, ok);
        QFETCH(QString, detail);
        const auto item = Diagnostics::diskItem(freeBytes);
        QVERIFY(item);
        QCOMPARE(item->name, QStringLiteral("Free disk space"));
        QCOMPARE(item->ok, ok);
        QCOMPARE(item->detail, detail);
    }

    void diskItemLeftOutWhenUnknown()
    {
        QVERIFY(!Diagnostics::diskItem(std::nullopt));
        // The real file system of the test home answers.
        TestEnvironment env;
        QVERIFY(Diagnostics::homeFreeBytes().value_or(-1) >= 0);
    }

    void report()
    {
        const QDateTime now(QDate(2026, 12, 9), QTime(4, 18, 3), Qt::UTC);
        const QList<DiagnosticItem> items{{QUuid::createUuid(), QStringLiteral("yt-dlp"), true, QStringLiteral("a")},
                                          {QUuid::createUuid(), QStringLiteral("Deno"), false, QStringLiteral("b: c")}};
        const QString text = Diagnostics::report(items, now.toLocalTime(), QStringLiteral("/t/Tools"));
        QCOMPARE(text, QStringLiteral("Morvane diagnostics ") + emDash +
                           QStringLiteral(" 2026-12-09 04:18:03 +0000\n"
                                          "[OK] yt-dlp: a\n"
                                          "[FAIL] Deno: b: c\n"
                                          "Tools directory: /t/Tools\n"));
        QCOMPARE(text.count(QLatin1Char('\n')), 4);

        QCOMPARE(Diagnostics::report({}, now, QStringLiteral("/t")),
                 QStringLiteral("Morvane diagnostics ") + emDash +
                     QStringLiteral(" 2026-12-09 04:18:03 +0000\nTools directory: /t\n"));
    }

    void runWithoutYtdlpLeavesTheSmokeTestsOut()
    {
        TestEnvironment env;
        env.installTool(QStringLiteral("ffmpeg"), QStringLiteral("/usr/bin/ffmpeg"));
        DependencyManager manager(&m_network);
        manager.setFreeSpaceProbe([] { return std::optional<qint64>(5'000'000'000); });
        QSignalSpy phase(&manager, &DependencyManager::phaseChanged);
        QSignalSpy current(&manager, &DependencyManager::currentChanged);
        QSignalSpy busy(&manager, &DependencyManager::busyChanged);

        QCoro::waitFor(manager.runDiagnostics());
        const QList<DiagnosticItem> items = manager.diagnostics();
        QCOMPARE(names(items), (QStringList{Diagnostics::systemName(), QStringLiteral("Architecture")} + toolNames +
                                QStringList{QStringLiteral("Free disk space")}));
        QCOMPARE(items[6].detail, QStringLiteral("yt-dlp not installed"));
        QVERIFY(!items[6].ok);
        QCOMPARE(manager.ejsDetail(), QStringLiteral("yt-dlp not installed"));
        QVERIFY(items[3].ok); // FFmpeg answered
        QVERIFY(!items[2].ok);
        QVERIFY(items[7].ok);
        QCOMPARE(items[7].detail, QStringLiteral("5.0 GB"));
        // Versions only: the workflows' state stays as it was.
        QCOMPARE(manager.state(Tool::Ffmpeg).status, ComponentStatus::unknown());
        QVERIFY(manager.state(Tool::Ffmpeg).version);
        QCOMPARE(manager.state(Tool::Ejs), ComponentState());
        QVERIFY(phase.isEmpty() && current.isEmpty() && busy.isEmpty());
        QVERIFY(!manager.runningDiagnostics());
    }

    void runWithDebianTools()
    {
        TestEnvironment env;
        for (const QString &name : {QStringLiteral("yt-dlp"), QStringLiteral("ffmpeg"), QStringLiteral("ffprobe")})
            env.installTool(name, QStringLiteral("/usr/bin/") + name);
        DependencyManager manager(&m_network);
        manager.setFreeSpaceProbe([] { return std::nullopt; });
        const QDateTime now(QDate(2026, 12, 9), QTime(4, 18, 3), Qt::UTC);
        manager.setClock([now] { return now; });
        QList<bool> running;
        connect(&manager, &DependencyManager::runningDiagnosticsChanged, this,
                [&] { running.append(manager.runningDiagnostics()); });
        QSignalSpy published(&manager, &DependencyManager::diagnosticsChanged);

        QCoro::waitFor(manager.runDiagnostics());
        QCOMPARE(running, (QList<bool>{true, false}));
        QCOMPARE(published.size(), 1);
        const QList<DiagnosticItem> items = manager.diagnostics();
        // Free space unknown: left out.
        QCOMPARE(names(items),
                 (QStringList{Diagnostics::systemName(), QStringLiteral("Architecture")} + toolNames + smokeTestNames));
        const DiagnosticItem ytdlp = itemNamed(items, QStringLiteral("yt-dlp"));
        QVERIFY(ytdlp.ok);
        QCOMPARE(ytdlp.detail, QStringLiteral("2023.03.04 ") + emDash + QLatin1Char(' ') + env.toolsDir() +
                                   QStringLiteral("/yt-dlp"));
        QCOMPARE(manager.state(Tool::Ytdlp).version, QStringLiteral("2023.03.04"));
        const DiagnosticItem ffmpegTest = itemNamed(items, QStringLiteral("FFmpeg smoke test"));
        QVERIFY(ffmpegTest.ok);
        QCOMPARE(ffmpegTest.detail, QStringLiteral("Encoded test audio"));
        const DiagnosticItem ytdlpTest = itemNamed(items, QStringLiteral("yt-dlp smoke test"));
        QVERIFY(ytdlpTest.ok);
        QVERIFY(ytdlpTest.detail.endsWith(QStringLiteral(" extractors loaded")));
        QVERIFY(!itemNamed(items, QStringLiteral("Deno")).ok);
        QVERIFY(!itemNamed(items, QStringLiteral("Deno smoke test")).ok);

        const QStringList lines = manager.report().split(QLatin1Char('\n'));
        QCOMPARE(lines.size(), items.size() + 3); // the text ends with a line feed
        QCOMPARE(lines.first(),
                 QStringLiteral("Morvane diagnostics ") + emDash + QStringLiteral(" 2026-12-09 04:18:03 +0000"));
        QCOMPARE(lines[9], QStringLiteral("[OK] FFmpeg smoke test: Encoded test audio"));
        QCOMPARE(lines[6], QStringLiteral("[FAIL] Deno: Missing or not working ") + emDash + QLatin1Char(' ') +
                               env.toolsDir() + QStringLiteral("/deno"));
        QCOMPARE(lines[items.size() + 1], QStringLiteral("Tools directory: ") + env.toolsDir());
    }

    void missingFfmpegStillRunsItsSmokeTest()
    {
        TestEnvironment env;
        env.installScript(QStringLiteral("yt-dlp"), "#!/bin/sh\necho 2026.08.19\n");
        DependencyManager manager(&m_network);
        QCoro::waitFor(manager.runDiagnostics());
        const QList<DiagnosticItem> items = manager.diagnostics();
        const DiagnosticItem ffmpeg = itemNamed(items, QStringLiteral("FFmpeg"));
        QVERIFY(!ffmpeg.ok);
        QCOMPARE(ffmpeg.detail, QStringLiteral("Missing or not working ") + emDash + QLatin1Char(' ') + env.toolsDir() +
                                    QStringLiteral("/ffmpeg"));
        const DiagnosticItem ffmpegTest = itemNamed(items, QStringLiteral("FFmpeg smoke test"));
        QCOMPARE(ffmpegTest.name, QStringLiteral("FFmpeg smoke test"));
        QVERIFY(!ffmpegTest.ok);
        QVERIFY(!itemNamed(items, QStringLiteral("yt-dlp smoke test")).ok); // prints no extractors
    }

    void overlappingRunsKeepTheFlagUpUntilBothPublished()
    {
        TestEnvironment env;
        env.installScript(QStringLiteral("yt-dlp"), "#!/bin/sh\necho 2026.08.19\n");
        DependencyManager manager(&m_network);
        QSignalSpy published(&manager, &DependencyManager::diagnosticsChanged);
        QList<qsizetype> publishedWhenLowered;
        connect(&manager, &DependencyManager::runningDiagnosticsChanged, this, [&] {
            if (!manager.runningDiagnostics())
                publishedWhenLowered.append(published.size());
        });
        QCoro::Task<> first = manager.runDiagnostics();
        QCoro::Task<> second = manager.runDiagnostics();
        QCoro::waitFor(first);
        QCoro::waitFor(second);
        QCOMPARE(published.size(), 2);
        QCOMPARE(publishedWhenLowered, QList<qsizetype>{2});
        QVERIFY(!manager.runningDiagnostics());
    }
};

QTEST_GUILESS_MAIN(TestDiagnostics)
#include "tst_diagnostics.moc"
