#include "AppStateRig.h"
#include "GalleryPage.h"
#include "PlayerRig.h"
#include "QmlHarness.h"
#include "TestHttpServer.h"
#include "TestImages.h"
#include "music/ArtworkManager.h"
#include "ui/music/ArtworkProvider.h"
#include "ui/music/MenuBarPlayerModel.h"
#include "ui/music/NowPlayingModel.h"
#include "ui/music/OutputListModel.h"
#include "ui/music/PlayerBarModel.h"
#include "ui/music/QueuePanelModel.h"

#include <QCoroTask>
#include <QQuickItem>
#include <QQuickWindow>
#include <QTest>

// Renders the player controls in their states into build/gallery/player-*.png.
class TestPlayerGallery : public QObject
{
    Q_OBJECT

    TestHttpServer m_server;
    QNetworkAccessManager m_network;
    // One per test function: the pictures of its earlier pages may still be held.
    std::unique_ptr<ArtworkManager> m_artwork;

    void record(const char *page, QObject *model, const QString &name,
                const std::function<void(QQuickWindow *)> &before = {}, QVariantMap properties = {})
    {
        QmlHarness harness;
        ArtworkProvider::install(harness.engine(), *m_artwork);
        // Every picture is in (or failed) before the picture is taken.
        const auto settled = [this, &before](QQuickWindow *window) {
            if (before)
                before(window);
            GalleryPage::settle(*m_artwork);
            // A picture just in fades in: none is caught half way.
            QTRY_VERIFY(fadedIn(window->contentItem()));
        };
        properties.insert(QStringLiteral("model"), QVariant::fromValue(model));
        GalleryPage::record(harness, page, properties, name, settled);
    }

    static bool fadedIn(const QQuickItem *item)
    {
        const QList<QQuickItem *> children = item->childItems();
        return (item->objectName() != QLatin1String("artworkPicture") || item->property("source").toUrl().isEmpty() ||
                item->opacity() == 1) &&
               std::all_of(children.begin(), children.end(), fadedIn);
    }

    static void waitForPicture(QQuickWindow *window, const char *name)
    {
        auto *image = window->findChild<QQuickItem *>(QLatin1String(name));
        QVERIFY(image);
        const auto shown = [image] { return image->isVisible() && image->property("progress").toReal() == 1.0; };
        for (int wait = 0; wait < 40 && !shown(); ++wait)
            QTest::qWait(500);
        QVERIFY(shown());
    }

private Q_SLOTS:
    void initTestCase()
    {
        QmlHarness::prepareApplication();
        qputenv("MORVANE_IMAGE_HOST", m_server.base().toUtf8());
        const QList<QColor> colours{QColor(0xff576b), QColor(0x3d5afe), QColor(0x00bfa5), QColor(0xffab00)};
        for (int n = 0; n < 12; ++n) {
            const QString id = PlayerRig::track(n).id;
            const QByteArray small = TestImages::blend(colours[n % 4], colours[(n + 1) % 4].darker(250));
            const QByteArray large =
                TestImages::blend(colours[(n + 2) % 4], colours[(n + 3) % 4].darker(250), {1280, 720});
            for (const char *size : {"maxresdefault", "sddefault"})
                m_server.serveText(QStringLiteral("/vi/%1/%2.jpg").arg(id, QLatin1String(size)), large, "image/png");
            m_server.serveText(QStringLiteral("/vi/%1/mqdefault.jpg").arg(id), small, "image/png");
        }
    }

    void init()
    {
        QmlHarness::failOnWarnings();
        m_artwork = std::make_unique<ArtworkManager>(&m_network);
    }
    void cleanup() { m_artwork.reset(); }

    void playerBar()
    {
        AppStateRig rig;
        PlayerBarModel model(*rig.state);
        record("PlayerBarPage.qml", &model, QStringLiteral("player-bar-nothing"));

        rig.player().play(PlayerRig::tracks(4), 0, false);
        QTRY_VERIFY(rig.audio->hasItem());
        record("PlayerBarPage.qml", &model, QStringLiteral("player-bar-loading"), [](QQuickWindow *window) {
            // The play button's white disc holds the spinner while the song loads.
            auto *spinner = window->findChild<QQuickItem *>(QStringLiteral("spinner"));
            QVERIFY(spinner && spinner->isVisible());
            QVERIFY(GalleryPage::inked(GalleryPage::part(window->grabWindow(), spinner, 0), qRgb(255, 255, 255)) > 20);
        });

        rig.audio->becomeReady(200);
        rig.player().seek(65);
        model.toggleLike();
        model.toggleNonStop();
        rig.state->setShowQueue(true);
        record("PlayerBarPage.qml", &model, QStringLiteral("player-bar-playing-liked"),
               [](QQuickWindow *window) { waitForPicture(window, "artworkPicture"); });

        rig.player().togglePlay();
        model.toggleLike();
        record("PlayerBarPage.qml", &model, QStringLiteral("player-bar-paused"),
               [](QQuickWindow *window) { waitForPicture(window, "artworkPicture"); });
    }

    void nowPlaying()
    {
        AppStateRig rig;
        NowPlayingModel model(*rig.state);
        record("NowPlayingPage.qml", &model, QStringLiteral("player-now-playing-nothing"));

        QList<Track> tracks = PlayerRig::tracks(12);
        tracks[0].album = QStringLiteral("Evening Sessions");
        rig.player().play(tracks, 0, false);
        QTRY_VERIFY(rig.audio->hasItem());
        rig.audio->becomeReady(200);
        rig.player().seek(42);
        // With the small picture held, the large one replaces it, drawn at the view's size.
        QVERIFY(!QCoro::waitFor(m_artwork->image(tracks[0].artwork(false))).isNull());
        const QUrl large = tracks[0].artwork(true).constFirst();
        record("NowPlayingPage.qml", &model, QStringLiteral("player-now-playing-artwork"),
               [this, &large](QQuickWindow *window) {
                   GalleryPage::settle(*m_artwork);
                   QTRY_COMPARE(window->findChild<QQuickItem *>(QStringLiteral("largeArtwork"))->property("source"),
                                QVariant(ArtworkProvider::pictureUrl(large, 18)));
                   QCOMPARE(m_artwork->cached(large).size(), QSize(380, 380));
                   waitForPicture(window, "largeArtwork");
               });

        // A song without a picture anywhere, nothing after it, Non-Stop on.
        Track bare = PlayerRig::track(700);
        bare.title = QStringLiteral("A title long enough to need the second line of the Now Playing view");
        rig.player().play(bare);
        model.toggleNonStop();
        record("NowPlayingPage.qml", &model, QStringLiteral("player-now-playing-no-artwork"));
    }

    void queuePanel()
    {
        AppStateRig rig;
        QueuePanelModel model(*rig.state);
        record("QueuePanelPage.qml", &model, QStringLiteral("player-queue-empty"));

        rig.playing(8, 3);
        model.toggleNonStop();
        record("QueuePanelPage.qml", &model, QStringLiteral("player-queue-non-stop"));
    }

    // A scroll bar shows only with something to scroll, and then beside the rows, never over them.
    void scrollBars_data()
    {
        QTest::addColumn<QString>("list");
        QTest::addColumn<int>("songs");
        QTest::newRow("queue-long") << "upcoming" << 30;
        QTest::newRow("up-next-short") << "upNext" << 3;
    }
    void scrollBars()
    {
        QFETCH(QString, list);
        QFETCH(int, songs);
        AppStateRig rig;
        rig.playing(songs, 0);
        QueuePanelModel queue(*rig.state);
        NowPlayingModel now(*rig.state);
        const bool inQueue = list == QLatin1String("upcoming");
        record(inQueue ? "QueuePanelPage.qml" : "NowPlayingPage.qml", inQueue ? static_cast<QObject *>(&queue) : &now,
               QStringLiteral("player-scroll-") + QLatin1String(QTest::currentDataTag()), [&](QQuickWindow *window) {
                   const auto *bar = window->findChild<QObject *>(list + QLatin1String("ScrollBar"));
                   const auto *handle = bar->property("contentItem").value<QQuickItem *>();
                   QTRY_COMPARE(handle->isVisible(), songs > 10);
                   const QRectF handleRect = handle->mapRectToScene(handle->boundingRect());
                   const auto *rows = window->findChild<QQuickItem *>(list + QLatin1String("List"));
                   for (const QQuickItem *row : rows->property("contentItem").value<QQuickItem *>()->childItems())
                       QVERIFY(!row->isVisible() || !row->mapRectToScene(row->boundingRect()).intersects(handleRect));
               });
    }

    // The tray's panel and, where there is no tray, the Mini Player window.
    void menuBarPlayer()
    {
        AppStateRig rig;
        MenuBarPlayerModel model(*rig.state);
        record("MenuBarPlayerPage.qml", &model, QStringLiteral("tray-panel-nothing"));

        rig.playing(13, 0);
        const auto pictures = [](QQuickWindow *window) { waitForPicture(window, "artworkPicture"); };
        record("MenuBarPlayerPage.qml", &model, QStringLiteral("tray-panel-idle"), pictures);

        rig.player().startQuery(QStringLiteral("a song nobody has ever uploaded"));
        QTRY_VERIFY(!model.errorMessage().isEmpty());
        record("MenuBarPlayerPage.qml", &model, QStringLiteral("tray-panel-error-queue-open"), pictures,
               {{QStringLiteral("showQueue"), true}});
        record("MiniPlayerPage.qml", &model, QStringLiteral("tray-mini-player"), pictures);
    }

    void outputMenu()
    {
        FakeAudioBackend audio;
        OutputListModel model(audio);
        record("OutputPickerPage.qml", &model, QStringLiteral("player-output-menu"), [](QQuickWindow *window) {
            auto *picker = window->findChild<QQuickItem *>(QStringLiteral("outputPicker"));
            QVERIFY(picker);
            QTest::mouseClick(window, Qt::LeftButton, {}, picker->mapToScene(QPointF(8, 8)).toPoint());
            QTRY_VERIFY(window->findChild<QObject *>(QStringLiteral("outputMenu")));
        });
    }
};

QTEST_MAIN(TestPlayerGallery)
#include "tst_playergallery.moc"
