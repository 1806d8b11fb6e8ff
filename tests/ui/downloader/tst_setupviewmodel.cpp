#include "TestEnvironment.h"
#include "TestToolMirror.h"
#include "tools/DependencyManager.h"
#include "tools/Diagnostics.h"
#include "ui/downloader/SetupViewModel.h"

#include <QCoroTask>
#include <QNetworkAccessManager>
#include <QSignalSpy>
#include <QTest>

// The setup screen over the real tool manager installing from the local tool mirror.
namespace {

constexpr int installTimeoutMs = 60000;

// Every download the mirror can serve, from stand-ins that pass the checks.
void serveEverything(TestToolMirror &mirror)
{
    mirror.serveYtdlp(mirror.fakeYtdlp(QStringLiteral("2026.08.19")));
    mirror.serveFfmpeg(mirror.fakeFfmpeg(QStringLiteral("ffmpeg"), QStringLiteral("7.1")),
                       mirror.fakeFfmpeg(QStringLiteral("ffprobe"), QStringLiteral("7.1")));
    mirror.serveDeno(mirror.fakeDeno(QStringLiteral("2.2.0")));
}

} // namespace

class TestSetupViewModel : public QObject
{
    Q_OBJECT

    QNetworkAccessManager m_network;

private Q_SLOTS:
    void componentRows_data()
    {
        QTest::addColumn<Tool>("tool");
        QTest::addColumn<ComponentState>("state");
        QTest::addColumn<ComponentRowPresentation>("row");
        const auto row = [](const char *name, const char *kind, const char *icon, const char *color,
                            const QString &detail, bool bar, double progress, const char *version) {
            return ComponentRowPresentation{QString::fromLatin1(name),
                                            QString::fromLatin1(kind),
                                            QString::fromLatin1(icon),
                                            QString::fromLatin1(color),
                                            detail,
                                            bar,
                                            progress,
                                            QString::fromLatin1(version)};
        };
        const QString step = QStringLiteral("Downloading\u2026");
        const QString error = QStringLiteral("HTTP 404");

        QTest::newRow("no state") << Tool::Deno << ComponentState()
                                  << row("Deno", "unknown", "circle.dotted", "secondary",
                                         QStringLiteral("JavaScript runtime for YouTube challenges"), false, 0, "");
        QTest::newRow("working") << Tool::Ytdlp << ComponentState{ComponentStatus::working(step), 0.45, {}, {}}
                                 << row("yt-dlp", "working", "", "", step, true, 0.45, "");
        QTest::newRow("failed") << Tool::Ffprobe << ComponentState{ComponentStatus::failed(error), 0, {}, {}}
                                << row("ffprobe", "failed", "xmark.octagon.fill", "red", error, false, 0, "");
        QTest::newRow("installed with version")
            << Tool::Ffmpeg << ComponentState{ComponentStatus::installed(), 1, QStringLiteral("7.1"), {}}
            << row("FFmpeg", "installed", "checkmark.circle.fill", "green", QStringLiteral("Merging & post-processing"),
                   false, 0, "7.1");
        QTest::newRow("installed without version")
            << Tool::Ejs << ComponentState{ComponentStatus::installed(), 1, {}, {}}
            << row("yt-dlp-ejs", "installed", "checkmark.circle.fill", "green",
                   QStringLiteral("Challenge solver scripts"), false, 0, "");
    }

    void componentRows()
    {
        QFETCH(Tool, tool);
        QFETCH(ComponentState, state);
        QFETCH(ComponentRowPresentation, row);
        QCOMPARE(ComponentRowPresentation::of(tool, state), row);
    }

    void introNamesTheProcessor()
    {
        QCOMPARE(SetupViewModel::intro(), QStringLiteral("Downloading the tools needed for this computer (") +
                                              Diagnostics::architectureText() +
                                              QStringLiteral("). This only happens once."));
        QCOMPARE(Diagnostics::architectureText(CpuArch::Arm64), QStringLiteral("Arm (aarch64)"));
        QCOMPARE(Diagnostics::architectureText(CpuArch::X86_64), QStringLiteral("x86_64"));
    }

    void installsFromTheMirrorToReady()
    {
        TestEnvironment env;
        TestToolMirror mirror(env.root());
        serveEverything(mirror);
        DependencyManager deps(&m_network);
        SetupViewModel setup(&deps, [] {});
        QCOMPARE(setup.rows().size(), 5);
        QCOMPARE(setup.rows().first().statusKind, QStringLiteral("unknown"));
        QCOMPARE(setup.percentText(), QStringLiteral("0%"));

        QStringList percents;
        QList<ComponentRowPresentation> workingRows;
        connect(&setup, &SetupViewModel::changed, this, [&] {
            if (percents.isEmpty() || percents.last() != setup.percentText())
                percents.append(setup.percentText());
            for (const ComponentRowPresentation &row : setup.rows()) {
                if (row.statusKind == QLatin1String("working") && row.progress > 0)
                    workingRows.append(row);
            }
        });
        QCoro::waitFor(deps.bootstrap());

        QCOMPARE(deps.phase(), DependencyManager::Phase::Ready);
        QVERIFY(!setup.failed());
        QCOMPARE(setup.percentText(), QStringLiteral("100%"));
        QCOMPARE(setup.current(), QStringLiteral("All tools ready"));
        QVERIFY2(percents.size() >= 3, qPrintable(percents.join(QLatin1Char(' '))));
        for (qsizetype i = 1; i < percents.size(); ++i)
            QVERIFY2(percents[i].chopped(1).toInt() >= percents[i - 1].chopped(1).toInt(),
                     qPrintable(percents.join(QLatin1Char(' '))));
        QVERIFY(!workingRows.isEmpty());
        QVERIFY(workingRows.first().showsProgress);
        QVERIFY(!workingRows.first().detail.isEmpty());
        for (const ComponentRowPresentation &row : setup.rows())
            QCOMPARE(row.statusKind, QStringLiteral("installed"));
        QCOMPARE(setup.rows().first().versionText, QStringLiteral("2026.08.19"));
    }

    void failedInstallOffersRetry()
    {
        TestEnvironment env;
        TestToolMirror mirror(env.root()); // serves nothing yet
        DependencyManager deps(&m_network);
        int retries = 0;
        SetupViewModel setup(&deps, [&] {
            ++retries;
            deps.bootstrap();
        });
        QVERIFY(!setup.failed());
        QCoro::waitFor(deps.bootstrap());

        QVERIFY(setup.failed());
        QVERIFY(setup.retryEnabled());
        const QList<ComponentRowPresentation> rows = setup.rows();
        QCOMPARE(rows[0].statusKind, QStringLiteral("failed"));
        QCOMPARE(rows[0].color, QStringLiteral("red"));
        // The failure text in place of the tool's role.
        QCOMPARE(rows[0].detail, deps.state(Tool::Ytdlp).status.message);
        QVERIFY(!rows[0].detail.isEmpty());

        // With the mirror back, Retry is disabled while it runs and the setup ends ready.
        serveEverything(mirror);
        QList<bool> enabledWhileRunning;
        connect(&setup, &SetupViewModel::changed, this, [&] {
            if (deps.busy())
                enabledWhileRunning.append(setup.retryEnabled());
        });
        setup.retry();
        QCOMPARE(retries, 1);
        QVERIFY(!setup.retryEnabled());
        setup.retry(); // disabled: not run again
        QCOMPARE(retries, 1);
        QTRY_COMPARE_WITH_TIMEOUT(deps.phase(), DependencyManager::Phase::Ready, installTimeoutMs);
        QVERIFY(!enabledWhileRunning.isEmpty());
        QVERIFY(!enabledWhileRunning.contains(true));
        QTRY_VERIFY(setup.retryEnabled());
        QVERIFY(!setup.failed());
    }
};

QTEST_MAIN(TestSetupViewModel)
#include "tst_setupviewmodel.moc"
