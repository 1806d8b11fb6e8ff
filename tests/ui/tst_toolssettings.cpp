#include "ui/settings/ToolsSettingsModel.h"

#include "TestEnvironment.h"
#include "TestToolMirror.h"
#include "core/AppPaths.h"
#include "core/YTDLPManager.h"
#include "tools/DependencyManager.h"

#include <QAbstractItemModelTester>
#include <QCoroTask>
#include <QFile>
#include <QNetworkAccessManager>
#include <QSignalSpy>
#include <QTest>

namespace {

const QString downloading = QStringLiteral("Downloading\u2026");

QStringList column(const QAbstractItemModel &model, int role)
{
    QStringList values;
    for (int row = 0; row < model.rowCount(); ++row)
        values.append(model.index(row, 0).data(role).toString());
    return values;
}

// What the tab showed at each change of the run state: busy, the step text.
struct BusyTrail
{
    explicit BusyTrail(ToolsSettingsModel &model)
    {
        const auto record = [this, &model] { shown.append({model.busy(), model.stepText()}); };
        QObject::connect(&model, &ToolsSettingsModel::busyChanged, &model, record);
        QObject::connect(&model, &ToolsSettingsModel::stepTextChanged, &model,
                         [this, &model] { steps.append(model.stepText()); });
    }
    QList<std::pair<bool, QString>> shown;
    QStringList steps;
};

} // namespace

class TestToolsSettings : public QObject
{
    Q_OBJECT

    QNetworkAccessManager m_network;

    // A tab whose repair goes straight to the manager, standing in for the coordinator.
    static ToolsSettingsModel::Actions directActions(DependencyManager &deps, QStringList *revealed = nullptr)
    {
        return {[&deps] { deps.repair(); },
                [revealed](const QString &folder) {
                    if (revealed)
                        revealed->append(folder);
                }};
    }

private Q_SLOTS:
    void labels_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("version"); // empty: none
        QTest::addColumn<QString>("label");
        using Kind = ComponentStatus::Kind;
        QTest::newRow("working step") << int(Kind::Working) << downloading << "2.1.4" << downloading;
        QTest::newRow("failure") << int(Kind::Failed) << "HTTP 404"
                                 << ""
                                 << "Problem: HTTP 404";
        QTest::newRow("no entry") << int(Kind::Unknown) << ""
                                  << ""
                                  << "Not installed";
        QTest::newRow("installed, no version") << int(Kind::Installed) << ""
                                               << ""
                                               << "Installed";
        QTest::newRow("installed") << int(Kind::Installed) << ""
                                   << "2026.08.19"
                                   << "2026.08.19";
        QTest::newRow("yt-dlp-ejs usable") << int(Kind::Installed) << ""
                                           << "ready"
                                           << "ready";
    }

    void labels()
    {
        QFETCH(int, kind);
        QFETCH(QString, message);
        QFETCH(QString, version);
        QFETCH(QString, label);
        ComponentState state;
        state.status = {ComponentStatus::Kind(kind), message};
        state.progress = 0.5;
        if (!version.isEmpty())
            state.version = version;
        state.latest = QStringLiteral("2099.01.01"); // never shown
        QCOMPARE(ToolStateListModel::label(state), label);
    }

    void checkForUpdatesShowsTheRunAndTheNewVersions()
    {
        TestEnvironment env;
        TestToolMirror mirror(env.root());
        mirror.installFakes(env, QStringLiteral("2023.03.04"));
        mirror.serveYtdlp(mirror.fakeYtdlp(QStringLiteral("2026.08.19")));
        TestHttpServer::Route slowRelease;
        slowRelease.body = R"({"tag_name":"2026.08.19","assets":[]})";
        slowRelease.dripBytes = 8;
        slowRelease.dripIntervalMs = 20;
        mirror.server().serve(YTDLPManager::latestAPI().path(), slowRelease);
        DependencyManager deps(&m_network);
        ToolsSettingsModel tab(&deps, directActions(deps));
        QAbstractItemModelTester tester(tab.tools(), QAbstractItemModelTester::FailureReportingMode::QtTest);
        QCOMPARE(column(*tab.tools(), ToolStateListModel::NameRole),
                 QString::fromLatin1("yt-dlp FFmpeg ffprobe Deno yt-dlp-ejs").split(QLatin1Char(' ')));
        QCOMPARE(column(*tab.tools(), ToolStateListModel::LabelRole), QStringList(5, QStringLiteral("Not installed")));
        QCoro::waitFor(deps.bootstrap());
        QCOMPARE(column(*tab.tools(), ToolStateListModel::LabelRole),
                 (QStringList{QStringLiteral("2023.03.04"), QStringLiteral("7.0"), QStringLiteral("7.0"),
                              QStringLiteral("2.1.4"), QStringLiteral("ready")}));
        QVERIFY(!tab.busy());
        QCOMPARE(tab.stepText(), QString());

        BusyTrail trail(tab);
        QStringList ytdlpLabels;
        connect(tab.tools(), &QAbstractItemModel::dataChanged, this,
                [&] { ytdlpLabels.append(tab.tools()->index(0).data(ToolStateListModel::LabelRole).toString()); });
        tab.checkForUpdates(); // returns while the release lookup still drips in
        QVERIFY(tab.busy());
        QCOMPARE(tab.stepText(), QStringLiteral("Checking for tool updates\u2026"));
        QTRY_VERIFY_WITH_TIMEOUT(!tab.busy(), 60000);
        QCOMPARE(trail.shown,
                 (QList<std::pair<bool, QString>>{{true, QStringLiteral("Checking for tool updates\u2026")}, {false, QString()}}));
        QVERIFY(trail.steps.contains(QStringLiteral("Installing yt-dlp (1/1)")));
        QCOMPARE(trail.steps.last(), QString());
        QVERIFY(ytdlpLabels.contains(downloading));
        QCOMPARE(ytdlpLabels.last(), QStringLiteral("2026.08.19"));
        QCOMPARE(tab.tools()->index(0).data(ToolStateListModel::LabelRole).toString(), QStringLiteral("2026.08.19"));
    }

    void repairWithAFailingMirrorEndsWithTheProblem()
    {
        TestEnvironment env;
        TestToolMirror mirror(env.root()); // serves nothing: every download answers 404
        mirror.installFakes(env, QStringLiteral("2023.03.04"));
        QVERIFY(QFile::remove(env.toolsDir() + QStringLiteral("/ffprobe")));
        DependencyManager deps(&m_network);
        QCoro::waitFor(deps.bootstrap()); // the others work, ffprobe cannot be fetched
        ToolsSettingsModel tab(&deps, directActions(deps));
        QSignalSpy steps(&tab, &ToolsSettingsModel::stepTextChanged);
        QStringList ffprobeLabels;
        connect(tab.tools(), &QAbstractItemModel::dataChanged, this,
                [&] { ffprobeLabels.append(tab.tools()->index(2).data(ToolStateListModel::LabelRole).toString()); });

        tab.repairDependencies();
        QVERIFY(tab.busy());
        tab.checkForUpdates(); // the row is disabled while busy; the manager ignores it too
        QTRY_VERIFY_WITH_TIMEOUT(!tab.busy(), 60000);
        QCOMPARE(mirror.releaseLookupCount(), 0);
        QVERIFY(steps.size() > 2);
        QCOMPARE(tab.stepText(), QString());
        QVERIFY(ffprobeLabels.contains(downloading));
        QCOMPARE(column(*tab.tools(), ToolStateListModel::LabelRole),
                 (QStringList{QStringLiteral("2023.03.04"), QStringLiteral("7.0"), QStringLiteral("Problem: HTTP 404"),
                              QStringLiteral("2.1.4"), QStringLiteral("ready")}));
    }

    void revealOpensTheToolsFolder()
    {
        TestEnvironment env;
        DependencyManager deps(&m_network);
        QStringList revealed;
        ToolsSettingsModel tab(&deps, directActions(deps, &revealed));
        tab.revealToolsFolder();
        QCOMPARE(revealed, QStringList{AppPaths::sub(QStringLiteral("Tools"))});
        QVERIFY(revealed.first().startsWith(env.root()));
    }
};

QTEST_GUILESS_MAIN(TestToolsSettings)
#include "tst_toolssettings.moc"
