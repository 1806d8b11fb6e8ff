#include "RecordingDesktopServices.h"
#include "TestEnvironment.h"
#include "TestToolMirror.h"
#include "core/LogManager.h"
#include "tools/DependencyManager.h"
#include "ui/downloader/DiagnosticsViewModel.h"

#include <QClipboard>
#include <QCoroTask>
#include <QGuiApplication>
#include <QNetworkAccessManager>
#include <QSignalSpy>
#include <QSysInfo>
#include <QTest>

// The diagnostics screen over the real tool manager, with Debian's yt-dlp and ffmpeg in "Tools".
using Controls = DiagnosticsViewModel::Controls;

namespace {

constexpr int runTimeoutMs = 60000;

QVariantMap rowNamed(const QVariantList &rows, const QString &key, const QString &name)
{
    for (const QVariant &row : rows) {
        if (row.toMap().value(key).toString() == name)
            return row.toMap();
    }
    return {};
}

} // namespace

struct Rig
{
    TestEnvironment env;
    TestToolMirror mirror{env.root()}; // keeps every tool download on 127.0.0.1
    QNetworkAccessManager network;
    DependencyManager deps{&network};
    RecordingDesktopServices desktop;
    int repairs = 0;
    DiagnosticsViewModel model{&deps, &desktop, [this] { ++repairs; }};

    Rig()
    {
        for (const QString &name : {QStringLiteral("yt-dlp"), QStringLiteral("ffmpeg"), QStringLiteral("ffprobe")})
            env.installTool(name, QStringLiteral("/usr/bin/") + name);
        deps.setFreeSpaceProbe([] { return std::optional<qint64>(5'000'000'000); });
    }
};

class TestDiagnosticsViewModel : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void controls_data()
    {
        QTest::addColumn<bool>("running");
        QTest::addColumn<bool>("busy");
        QTest::addColumn<bool>("results");
        QTest::addColumn<Controls>("controls");
        // run, repair, copy, spinning
        QTest::newRow("idle, no results") << false << false << false << Controls{true, true, false, false};
        QTest::newRow("idle with results") << false << false << true << Controls{true, true, true, false};
        QTest::newRow("running, keeping results") << true << false << true << Controls{false, true, true, true};
        QTest::newRow("busy") << false << true << false << Controls{false, false, false, true};
        QTest::newRow("busy and running") << true << true << true << Controls{false, false, true, true};
    }

    void controls()
    {
        QFETCH(bool, running);
        QFETCH(bool, busy);
        QFETCH(bool, results);
        QFETCH(Controls, controls);
        QCOMPARE(DiagnosticsViewModel::controlsFor(running, busy, results), controls);
    }

    // Showing the screen again while the first automatic run is still going starts no second run.
    void automaticRunOnlyOnce()
    {
        Rig rig;
        QSignalSpy published(&rig.deps, &DependencyManager::diagnosticsChanged);
        QVERIFY(!rig.model.copyEnabled());
        QCOMPARE(rig.model.results(), QVariantList());

        rig.model.shown();
        QVERIFY(rig.deps.runningDiagnostics());
        QVERIFY(!rig.model.runEnabled());
        QVERIFY(rig.model.spinning());
        rig.model.shown();
        QTRY_VERIFY_WITH_TIMEOUT(!rig.deps.runningDiagnostics(), runTimeoutMs);
        QCOMPARE(published.size(), 1);

        rig.model.shown(); // results exist now
        QVERIFY(!rig.deps.runningDiagnostics());
        QCOMPARE(published.size(), 1);
        QVERIFY(rig.model.runEnabled());
        QVERIFY(rig.model.copyEnabled());
        QVERIFY(!rig.model.spinning());
    }

    void resultsAndToolRowsCarryTheRealVersions()
    {
        Rig rig;
        QCOMPARE(rig.model.ejsLine(), QString());
        QCoro::waitFor(rig.deps.runDiagnostics());

        const QVariantMap ytdlp = rowNamed(rig.model.results(), QStringLiteral("name"), QStringLiteral("yt-dlp"));
        QVERIFY(ytdlp.value(QStringLiteral("detail")).toString().startsWith(QLatin1String("2023.03.04 ")));
        QCOMPARE(ytdlp.value(QStringLiteral("icon")).toString(), QStringLiteral("checkmark.circle.fill"));
        QCOMPARE(ytdlp.value(QStringLiteral("color")).toString(), QStringLiteral("green"));
        const QVariantMap deno = rowNamed(rig.model.results(), QStringLiteral("name"), QStringLiteral("Deno"));
        QCOMPARE(deno.value(QStringLiteral("icon")).toString(), QStringLiteral("xmark.octagon.fill"));
        QCOMPARE(deno.value(QStringLiteral("color")).toString(), QStringLiteral("red"));

        const QVariantList tools = rig.model.toolRows();
        QCOMPARE(tools.size(), 5);
        // The run records the version; the row shows it once the tool counts as installed.
        QCOMPARE(rig.deps.state(Tool::Ytdlp).version, QStringLiteral("2023.03.04"));
        QCOMPARE(tools[0].toMap().value(QStringLiteral("name")).toString(), QStringLiteral("yt-dlp"));
        QCOMPARE(tools[0].toMap().value(QStringLiteral("path")).toString(),
                 rig.env.toolsDir() + QStringLiteral("/yt-dlp"));
        QCOMPARE(tools[4].toMap().value(QStringLiteral("name")).toString(), QStringLiteral("yt-dlp-ejs"));
        QCOMPARE(tools[4].toMap().value(QStringLiteral("path")).toString(), QString());

        QVERIFY(!rig.deps.ejsDetail().isEmpty());
        QCOMPARE(rig.model.ejsLine(), QStringLiteral("yt-dlp-ejs: ") + rig.deps.ejsDetail());

        const QVariantList system = DiagnosticsViewModel::systemRows();
        QCOMPARE(system.size(), 4);
        QCOMPARE(system[0].toMap().value(QStringLiteral("value")).toString(), QSysInfo::prettyProductName());
        QCOMPARE(system[2].toMap().value(QStringLiteral("value")).toString(), rig.env.toolsDir());
    }

    void copyReportAndAppLog()
    {
        Rig rig;
        QGuiApplication::clipboard()->setText(QStringLiteral("before"));
        rig.model.copyReport(); // no results: disabled
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("before"));
        QCoro::waitFor(rig.deps.runDiagnostics());
        rig.model.copyReport();
        QCOMPARE(QGuiApplication::clipboard()->text(), rig.deps.report());

        // The log need not exist to be asked for.
        rig.model.revealAppLog();
        QCOMPARE(rig.desktop.revealed, QStringList{LogManager::appLogPath()});
        QVERIFY(rig.desktop.revealed.first().endsWith(QLatin1String("/Logs/app.log")));
    }

    void busyToolsDisableRunAndRepairAndShowTheStep()
    {
        Rig rig;
        QList<Controls> whileBusy;
        QStringList captions;
        connect(&rig.model, &DiagnosticsViewModel::changed, this, [&] {
            if (!rig.deps.busy())
                return;
            whileBusy.append(rig.model.controls());
            captions.append(rig.model.busyCaption());
        });
        rig.model.repair();
        QCOMPARE(rig.repairs, 1);
        QCoro::waitFor(rig.deps.bootstrap()); // Deno is missing and the mirror has none: busy, then failed
        QVERIFY(!whileBusy.isEmpty());
        for (const Controls &controls : whileBusy) {
            QVERIFY(!controls.runEnabled);
            QVERIFY(!controls.repairEnabled);
            QVERIFY(controls.spinning);
        }
        QVERIFY(!captions.contains(QString()));
        QCOMPARE(rig.model.busyCaption(), QString());
        QVERIFY(rig.model.repairEnabled());
        // A repair while busy is not started.
        rig.deps.bootstrap();
        QVERIFY(rig.deps.busy());
        rig.model.repair();
        QCOMPARE(rig.repairs, 1);
        QTRY_VERIFY_WITH_TIMEOUT(!rig.deps.busy(), runTimeoutMs);
    }
};

QTEST_MAIN(TestDiagnosticsViewModel)
#include "tst_diagnosticsviewmodel.moc"
