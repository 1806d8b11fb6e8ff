#include "AppStateRig.h"
#include "QmlHarness.h"
#include "core/SettingsStore.h"
#include "tools/DependencyManager.h"
#include "ui/settings/MusicSettingsModel.h"
#include "ui/settings/ToolsSettingsModel.h"

#include <QNetworkAccessManager>
#include <QQmlComponent>
#include <QQuickItem>
#include <QQuickWindow>
#include <QTest>

#include <memory>

// The settings window and a second settings view in another window, as the music window shows
// it: both follow every change of a key at once, whoever makes it.
class TestSettingsView : public QObject
{
    Q_OBJECT

    QNetworkAccessManager m_network;

    struct Views
    {
        AppStateRig rig;
        DependencyManager deps;
        ToolsSettingsModel tools;
        MusicSettingsModel music{rig.state->player(), rig.state->library()};
        QmlHarness harness;
        QQuickWindow *settingsWindow = nullptr;
        QQuickWindow *musicWindow = nullptr;

        explicit Views(QNetworkAccessManager *network)
            : deps(network)
            , tools(&deps, {[] {}, [](const QString &) {}})
        {}
    };

    std::unique_ptr<Views> open()
    {
        auto views = std::make_unique<Views>(&m_network);
        const QVariantMap models{{QStringLiteral("music"), QVariant::fromValue(&views->music)},
                                 {QStringLiteral("tools"), QVariant::fromValue(&views->tools)}};
        views->settingsWindow = qobject_cast<QQuickWindow *>(
            views->harness.create(QUrl(QStringLiteral("qrc:/Morvane/settings/SettingsWindow.qml")), models));
        QQmlComponent embedded(&views->harness.engine());
        embedded.setData("import Morvane\n"
                         "AppWindow {\n"
                         "  id: window\n"
                         "  required property MusicSettingsModel music\n"
                         "  required property ToolsSettingsModel tools\n"
                         "  width: 700; height: 600\n"
                         "  SettingsView { anchors.centerIn: parent; music: window.music; tools: window.tools }\n"
                         "}",
                         QUrl(QStringLiteral("qrc:/MusicWindowStandIn.qml")));
        views->musicWindow = qobject_cast<QQuickWindow *>(embedded.createWithInitialProperties(models));
        if (views->musicWindow)
            static_cast<QObject *>(views->musicWindow)->setParent(&views->harness.engine());
        for (QQuickWindow *window : {views->settingsWindow, views->musicWindow}) {
            if (!window)
                return nullptr;
            window->show();
            if (!QTest::qWaitForWindowExposed(window))
                return nullptr;
        }
        return views;
    }

    static QQuickItem *item(QQuickWindow *window, const QString &name)
    {
        auto *found = window->findChild<QQuickItem *>(name);
        if (!found)
            qWarning("No %s in the window", qPrintable(name));
        return found;
    }

    // The drop-down of a labelled picker.
    static QObject *comboIn(QQuickItem *picker)
    {
        for (QQuickItem *child : picker->childItems()) {
            if (child->inherits("QQuickComboBox"))
                return child;
        }
        qWarning("No drop-down in %s", qPrintable(picker->objectName()));
        return nullptr;
    }

    static void showTab(QQuickWindow *window, int index)
    {
        item(window, QStringLiteral("settingsTabs"))->setProperty("currentIndex", index);
    }

    static void click(QQuickWindow *window, const QString &name)
    {
        QQuickItem *control = item(window, name);
        const QPointF centre = control->mapToScene(QPointF(control->width() / 2, control->height() / 2));
        QTest::mouseClick(window, Qt::LeftButton, {}, centre.toPoint());
    }

private Q_SLOTS:
    void initTestCase() { QmlHarness::prepareApplication(); }
    void init() { QmlHarness::failOnWarnings(); }

    void opensOnMusicShowingTheDownloadsFolder()
    {
        const auto views = open();
        QVERIFY(views);
        QCOMPARE(item(views->settingsWindow, QStringLiteral("settingsTabs"))->property("currentIndex").toInt(), 0);
        QCOMPARE(views->settingsWindow->size(), QSize(560, 460));
        // Nothing is stored yet: the registered default, not the binding's empty one.
        QVERIFY(!SettingsStore::isStored(QStringLiteral("downloadFolder")));
        const QString shown = item(views->settingsWindow, QStringLiteral("folderPath"))->property("text").toString();
        QCOMPARE(shown, SettingsStore::string(QStringLiteral("downloadFolder")));
        QVERIFY(shown.endsWith(QLatin1String("/Downloads")));
    }

    void aToggleInOneWindowShowsInTheOther()
    {
        const auto views = open();
        QVERIFY(views);
        // The Music tab, shown first, holds the same flag as the Formats tab.
        const QString embed = QStringLiteral("embedThumbnail");
        QCOMPARE(item(views->musicWindow, embed)->property("checked").toBool(), true);

        click(views->settingsWindow, embed);
        QCOMPARE(SettingsStore::value(embed), QVariant(false));
        QCOMPARE(item(views->settingsWindow, embed)->property("checked").toBool(), false);
        QCOMPARE(item(views->musicWindow, embed)->property("checked").toBool(), false);

        click(views->musicWindow, embed);
        QCOMPARE(SettingsStore::value(embed), QVariant(true));
        QCOMPARE(item(views->settingsWindow, embed)->property("checked").toBool(), true);
    }

    void aWriteFromCodeShowsInBoth_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("property");
        QTest::addColumn<QVariant>("value");
        QTest::newRow("flag") << "embedThumbnail"
                              << "checked" << QVariant(false);
        QTest::newRow("subtitle languages") << "subLangs"
                                            << "text" << QVariant(QStringLiteral("de,fr"));
        QTest::newRow("user agent") << "userAgent"
                                    << "text" << QVariant(QStringLiteral("Agent/1.0"));
        QTest::newRow("tools switch") << "remoteEJS"
                                      << "checked" << QVariant(false);
    }

    void aWriteFromCodeShowsInBoth()
    {
        QFETCH(QString, key);
        QFETCH(QString, property);
        QFETCH(QVariant, value);
        const auto views = open();
        QVERIFY(views);
        QVERIFY(item(views->settingsWindow, key)->property(property.toLatin1()) != value);
        SettingsStore::set(key, value);
        QCOMPARE(item(views->settingsWindow, key)->property(property.toLatin1()), value);
        QCOMPARE(item(views->musicWindow, key)->property(property.toLatin1()), value);
    }

    // The player owns the flag; the library's play log goes at once, without a question.
    void musicTabDrivesThePlayerAndLibrary()
    {
        const auto views = open();
        QVERIFY(views);
        PlayerManager &player = views->rig.state->player();
        LibraryStore &library = views->rig.state->library();
        const bool initial = player.nonStop();
        player.setNonStop(!initial);
        for (QQuickWindow *window : {views->settingsWindow, views->musicWindow})
            QCOMPARE(item(window, QStringLiteral("nonStop"))->property("checked").toBool(), !initial);
        click(views->musicWindow, QStringLiteral("nonStop"));
        QCOMPARE(player.nonStop(), initial);
        QCOMPARE(item(views->settingsWindow, QStringLiteral("nonStop"))->property("checked").toBool(), initial);

        library.record({QStringLiteral("song0000001"), QDateTime::currentDateTimeUtc(), 30, 200, true, false});
        // The tab is taller than the window: its last button shows once scrolled to.
        QObject *form =
            item(views->settingsWindow, QStringLiteral("musicTab"))->property("contentItem").value<QObject *>();
        form->setProperty("contentY", form->property("contentHeight").toReal() - form->property("height").toReal());
        click(views->settingsWindow, QStringLiteral("clearListeningHistory"));
        QVERIFY(library.plays().isEmpty());
    }

    // The Music tab offers three of the Formats tab's formats: another one stored shows no row there
    // and stays; a row picked in the Music tab shows in the Formats tab.
    void musicAndFormatsTabsShareTheAudioFormat()
    {
        const auto views = open();
        QVERIFY(views);
        const QString key = QStringLiteral("audioFormat");
        SettingsStore::set(key, QStringLiteral("flac"));
        QObject *music = comboIn(item(views->settingsWindow, QStringLiteral("musicAudioFormat")));
        QObject *formats = comboIn(item(views->settingsWindow, key));
        QCOMPARE(music->property("currentIndex").toInt(), -1);
        QCOMPARE(formats->property("currentText").toString(), QStringLiteral("FLAC"));
        QCOMPARE(SettingsStore::string(key), QStringLiteral("flac"));

        QVERIFY(QMetaObject::invokeMethod(music, "activated", Q_ARG(int, 1)));
        QCOMPARE(SettingsStore::string(key), QStringLiteral("m4a"));
        QCOMPARE(music->property("currentText").toString(), QStringLiteral("M4A"));
        QCOMPARE(formats->property("currentText").toString(), QStringLiteral("M4A"));
    }

    void subtitleControlsAreDisabledWithTheirValuesKept()
    {
        const auto views = open();
        QVERIFY(views);
        SettingsStore::set(QStringLiteral("subLangs"), QStringLiteral("fr"));
        SettingsStore::set(QStringLiteral("autoSubs"), true);
        SettingsStore::set(QStringLiteral("embedSubs"), true);
        showTab(views->settingsWindow, 2);
        const QStringList dependent{QStringLiteral("subLangs"), QStringLiteral("autoSubs"),
                                    QStringLiteral("embedSubs")};
        for (QQuickWindow *window : {views->settingsWindow, views->musicWindow}) {
            for (const QString &name : dependent)
                QVERIFY2(!item(window, name)->isEnabled(), qPrintable(name));
        }
        QCOMPARE(item(views->settingsWindow, QStringLiteral("subLangs"))->property("text").toString(),
                 QStringLiteral("fr"));
        QVERIFY(item(views->settingsWindow, QStringLiteral("autoSubs"))->property("checked").toBool());
        QVERIFY(item(views->settingsWindow, QStringLiteral("embedSubs"))->property("checked").toBool());

        click(views->settingsWindow, QStringLiteral("writeSubs"));
        QCOMPARE(SettingsStore::value(QStringLiteral("writeSubs")), QVariant(true));
        for (QQuickWindow *window : {views->settingsWindow, views->musicWindow}) {
            for (const QString &name : dependent)
                QVERIFY2(item(window, name)->isEnabled(), qPrintable(name));
        }
        QCOMPARE(SettingsStore::string(QStringLiteral("subLangs")), QStringLiteral("fr"));
    }
};

QTEST_MAIN(TestSettingsView)
#include "tst_settingsview.moc"
