#include "AppStateRig.h"
#include "GalleryPage.h"
#include "PlayerRig.h"
#include "QmlHarness.h"
#include "TestHttpServer.h"
#include "music/ArtworkManager.h"
#include "ui/music/ArtworkProvider.h"
#include "ui/music/NowPlayingModel.h"
#include "ui/music/OutputListModel.h"
#include "ui/music/PlayerBarModel.h"
#include "ui/music/QueuePanelModel.h"

#include <QBuffer>
#include <QLinearGradient>
#include <QPainter>
#include <QQuickItem>
#include <QQuickWindow>
#include <QTest>

namespace {

// A cover: a diagonal blend of two colours, so crops and blurs show.
QByteArray cover(const QColor &from, const QColor &to)
{
    QImage image(320, 180, QImage::Format_RGB32);
    QPainter painter(&image);
    QLinearGradient gradient(0, 0, 320, 180);
    gradient.setColorAt(0, from);
    gradient.setColorAt(1, to);
    painter.fillRect(image.rect(), gradient);
    painter.end();
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

} // namespace

// Renders the player controls in their states into build/gallery/player-*.png.
class TestPlayerGallery : public QObject
{
    Q_OBJECT

    TestHttpServer m_server;

    void record(const char *page, QObject *model, const QString &name,
                const std::function<void(QQuickWindow *)> &before = {})
    {
        QNetworkAccessManager network;
        ArtworkManager artwork(&network);
        QmlHarness harness;
        ArtworkProvider::install(harness.engine(), artwork);
        // Every picture is in (or failed) before the picture is taken.
        const auto settled = [&artwork, &before](QQuickWindow *window) {
            if (before)
                before(window);
            for (int wait = 0; wait < 40 && artwork.loadingCount() > 0; ++wait)
                QTest::qWait(500);
            QCOMPARE(artwork.loadingCount(), 0);
        };
        GalleryPage::record(harness, page, {{QStringLiteral("model"), QVariant::fromValue(model)}}, name, settled);
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
            const QByteArray image = cover(colours[n % 4], colours[(n + 1) % 4].darker(250));
            for (const char *size : {"maxresdefault", "sddefault", "mqdefault"})
                m_server.serveText(QStringLiteral("/vi/%1/%2.jpg").arg(id, QLatin1String(size)), image, "image/png");
        }
    }

    void init() { QmlHarness::failOnWarnings(); }

    void playerBar()
    {
        AppStateRig rig;
        PlayerBarModel model(*rig.state);
        record("PlayerBarPage.qml", &model, QStringLiteral("player-bar-nothing"));

        rig.player().play(PlayerRig::tracks(4), 0, false);
        QTRY_VERIFY(rig.audio->hasItem());
        record("PlayerBarPage.qml", &model, QStringLiteral("player-bar-loading"));

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
        record("NowPlayingPage.qml", &model, QStringLiteral("player-now-playing-artwork"),
               [](QQuickWindow *window) { waitForPicture(window, "largeArtwork"); });

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
