#include "QmlHarness.h"
#include "TestEnvironment.h"
#include "TestToolMirror.h"
#include "core/SettingsStore.h"
#include "core/YTDLPManager.h"
#include "shell/Shell.h"
#include "tools/DependencyManager.h"
#include "ui/settings/ToolsSettingsModel.h"

#include <QCoroTask>
#include <QDir>
#include <QNetworkAccessManager>
#include <QQuickItem>
#include <QQuickWindow>
#include <QTest>

// Renders every screen with fixture data into build/gallery/<name>.png: each must fill its window,
// show more than one colour and load without a warning.
class TestGallery : public QObject
{
    Q_OBJECT

    static QUrl fixture(const char *file)
    {
        return QUrl::fromLocalFile(QStringLiteral(MORVANE_GALLERY_SOURCE_DIR "/") + QLatin1String(file));
    }

    static void record(QQuickWindow *window, const QString &name)
    {
        const QImage image = QmlHarness::render(window);
        QVERIFY(!image.isNull());
        QCOMPARE(image.size(), window->size() * window->devicePixelRatio());
        QVERIFY2(!QmlHarness::isOneColour(image), qPrintable(name + QStringLiteral(" is blank")));
        QVERIFY(QDir().mkpath(QStringLiteral(MORVANE_GALLERY_DIR)));
        QVERIFY(image.save(QStringLiteral(MORVANE_GALLERY_DIR "/") + name + QStringLiteral(".png")));
    }

private Q_SLOTS:
    void initTestCase() { QmlHarness::prepareApplication(); }
    void init() { QmlHarness::failOnWarnings(); }

    void palette()
    {
        QmlHarness harness;
        auto *window = qobject_cast<QQuickWindow *>(harness.create(fixture("Palette.qml")));
        QVERIFY(window);
        record(window, QStringLiteral("palette"));
    }

    void root()
    {
        Shell shell;
        QVERIFY(shell.load());
        QObject *slot = shell.mainWindow()->findChild<QObject *>(QStringLiteral("shellSlot"));
        QVERIFY(slot);
        slot->setProperty("source", fixture("ShellFixture.qml"));
        QCOMPARE(slot->property("status").toInt(), 1); // Loader.Ready
        record(shell.mainWindow(), QStringLiteral("root"));
    }

    // Each downloader tab; Network filled in, Tools while an update runs.
    void settings()
    {
        TestEnvironment env;
        TestToolMirror mirror(env.root());
        mirror.installFakes(env, QStringLiteral("2023.03.04"));
        TestHttpServer::Route slowRelease; // keeps the update busy while the tab is drawn
        slowRelease.body = R"({"tag_name":"2023.03.04","assets":[]})";
        slowRelease.dripBytes = 4;
        slowRelease.dripIntervalMs = 50;
        mirror.server().serve(YTDLPManager::latestAPI().path(), slowRelease);
        QNetworkAccessManager network;
        DependencyManager deps(&network);
        QCoro::waitFor(deps.bootstrap());
        ToolsSettingsModel tools(&deps, {[] {}, [](const QString &) {}});
        SettingsStore::set(QStringLiteral("cookiesBrowser"), QStringLiteral("firefox"));
        SettingsStore::set(QStringLiteral("userAgent"), QStringLiteral("Mozilla/5.0 (X11; Linux x86_64)"));
        SettingsStore::set(QStringLiteral("proxy"), QStringLiteral("socks5://127.0.0.1:1080"));
        SettingsStore::set(QStringLiteral("rateLimit"), QStringLiteral("2M"));
        SettingsStore::set(QStringLiteral("timeout"), 60);
        SettingsStore::set(QStringLiteral("extraArgs"), QStringLiteral("--geo-bypass"));

        QmlHarness harness;
        auto *window = qobject_cast<QQuickWindow *>(
            harness.create(QUrl(QStringLiteral("qrc:/Morvane/settings/SettingsWindow.qml")),
                           {{QStringLiteral("tools"), QVariant::fromValue(&tools)}}));
        QVERIFY(window);
        QObject *tabs = window->findChild<QObject *>(QStringLiteral("settingsTabs"));
        QVERIFY(tabs);
        const QStringList names{QStringLiteral("settings-general"), QStringLiteral("settings-formats"),
                                QStringLiteral("settings-network")};
        for (int tab = 1; tab <= 3; ++tab) {
            tabs->setProperty("currentIndex", tab);
            record(window, names[tab - 1]);
        }

        tabs->setProperty("currentIndex", 4);
        deps.updateTools();
        QVERIFY(deps.busy());
        auto *actions = window->findChild<QQuickItem *>(QStringLiteral("toolActions"));
        QVERIFY(actions);
        QVERIFY(!actions->isEnabled());
        QVERIFY(window->findChild<QQuickItem *>(QStringLiteral("toolsSpinner")));
        record(window, QStringLiteral("settings-tools-busy"));
        QTRY_VERIFY_WITH_TIMEOUT(!deps.busy(), 60000);
        QVERIFY(actions->isEnabled());
        QTRY_VERIFY(!window->findChild<QQuickItem *>(QStringLiteral("toolsSpinner"))); // no idle animation
        record(window, QStringLiteral("settings-tools"));
    }
};

QTEST_MAIN(TestGallery)
#include "tst_gallery.moc"
