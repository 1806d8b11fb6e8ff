#include "TestHttpServer.h"
#include "TestImages.h"
#include "music/ArtworkManager.h"
#include "ui/music/ArtworkLoader.h"
#include "ui/music/ArtworkProvider.h"

#include <QCoroTask>
#include <QNetworkAccessManager>
#include <QSignalSpy>
#include <QTest>

#include <memory>

// The artwork view's picture: which candidate it shows, when, and what it leaves behind.
class TestArtworkView : public QObject
{
    Q_OBJECT

    QNetworkAccessManager m_network;
    std::unique_ptr<TestHttpServer> m_server;
    std::unique_ptr<ArtworkManager> m_manager;

    QUrl link(const char *path) const { return m_server->url(QString::fromLatin1(path)); }

    std::unique_ptr<ArtworkLoader> loader(const QList<QUrl> &urls)
    {
        auto made = std::make_unique<ArtworkLoader>();
        made->setManager(m_manager.get());
        made->setRadius(8);
        made->setUrls(urls);
        made->componentComplete();
        return made;
    }

    // Slow enough to still be under way when the test looks.
    void serveSlowly(const char *path, const QColor &color)
    {
        TestHttpServer::Route route;
        route.body = TestImages::solid(color, {16, 9});
        route.headers = {{"Content-Type", "image/png"}};
        route.dripBytes = 8;
        route.dripIntervalMs = 40;
        m_server->serve(QString::fromLatin1(path), route);
    }

private Q_SLOTS:
    void init()
    {
        m_server = std::make_unique<TestHttpServer>();
        m_manager = std::make_unique<ArtworkManager>(&m_network);
        m_server->serveText(QStringLiteral("/a.png"), TestImages::solid(Qt::red, {16, 9}), "image/png");
    }

    void cleanup()
    {
        m_manager.reset();
        m_server.reset();
    }

    // The small picture (the last candidate) already held stands in at once; the large one is
    // asked for all the same and replaces it. Once held, the large one shows without a request.
    void heldSmallPictureStandsInForTheLarge()
    {
        QVERIFY(!QCoro::waitFor(m_manager->image(link("/a.png"))).isNull());
        m_server->serveText(QStringLiteral("/large.png"), TestImages::solid(Qt::blue, {64, 36}), "image/png");
        const auto view = loader({link("/large.png"), link("/a.png")});
        QCOMPARE(view->source(), ArtworkProvider::pictureUrl(link("/a.png"), 8));
        QTRY_COMPARE(view->source(), ArtworkProvider::pictureUrl(link("/large.png"), 8));
        QCOMPARE(m_manager->cached(link("/large.png")).size(), QSize(36, 36));
        const auto again = loader({link("/large.png"), link("/a.png")});
        QCOMPARE(again->source(), ArtworkProvider::pictureUrl(link("/large.png"), 8));
        QCOMPARE(m_server->requestsFor(QStringLiteral("/large.png")).size(), 1);
        QCOMPARE(m_manager->loadingCount(), 0);
    }

    // A to B keeps A until B is there; a B that fails gives the placeholder.
    void switchingKeepsThePictureUntilTheNextArrives()
    {
        const auto view = loader({link("/a.png")});
        QTRY_VERIFY(view->loaded());
        const QUrl a = view->source();

        serveSlowly("/b.png", Qt::blue);
        QSignalSpy changes(view.get(), &ArtworkLoader::pictureChanged);
        view->setUrls({link("/b.png")});
        QCOMPARE(m_manager->loadingCount(), 1);
        QCOMPARE(view->source(), a);
        QTRY_COMPARE(view->source(), ArtworkProvider::pictureUrl(link("/b.png"), 8));
        QCOMPARE(changes.size(), 1);

        m_server->serveText(QStringLiteral("/c.png"), "gone", "text/plain", 404);
        view->setUrls({link("/c.png")});
        QTRY_VERIFY(!view->loaded());
        QCOMPARE(view->source(), QUrl());
    }

    void emptyListAsksNothing()
    {
        const auto view = loader({});
        QVERIFY(!view->loaded());
        QCOMPARE(m_manager->loadingCount(), 0);
        QTest::qWait(50);
        QVERIFY(m_server->requests().isEmpty());
    }

    // A view gone mid-load leaves no download open; one still waiting keeps it.
    void aViewGoneMidLoadLeavesNoRequestOpen()
    {
        m_server->stall(QStringLiteral("/stalled.png"));
        auto first = loader({link("/stalled.png")});
        auto second = loader({link("/stalled.png")});
        QTRY_COMPARE(m_server->requestsFor(QStringLiteral("/stalled.png")).size(), 1);
        QCOMPARE(m_manager->loadingCount(), 1);
        first.reset();
        QTest::qWait(50);
        QCOMPARE(m_manager->loadingCount(), 1);
        second->setUrls({}); // moving on counts as leaving
        QTRY_COMPARE(m_manager->loadingCount(), 0);
        QVERIFY(!second->loaded());
    }

    // The cache may drop a picture while a view shows it; the view's picture stays until it goes.
    void aPictureOnScreenOutlivesTheCache()
    {
        auto view = loader({link("/a.png")});
        QTRY_VERIFY(view->loaded());
        const QByteArray large = TestImages::solid(Qt::green, {720, 720});
        const int pushOut = int(ArtworkManager::cacheBudget / (720 * 720 * 4)) + 1;
        for (int i = 0; i < pushOut; ++i) {
            const QString path = QStringLiteral("/large%1.png").arg(i);
            m_server->serveText(path, large, "image/png");
            QVERIFY(!QCoro::waitFor(m_manager->image(m_server->url(path))).isNull());
        }
        QCOMPARE(m_manager->cached(link("/a.png")).pixelColor(0, 0), QColor(Qt::red));
        ArtworkProvider provider(*m_manager);
        QSize size;
        QCOMPARE(provider.requestImage(view->source().toString().section(QLatin1Char('/'), 3), &size, QSize(40, 40))
                     .pixelColor(20, 20),
                 QColor(Qt::red));
        // A second view of the same picture finds it at once.
        const auto second = loader({link("/large.png"), link("/a.png")});
        QVERIFY(second->loaded());
        view.reset();
        QVERIFY(!m_manager->cached(link("/a.png")).isNull());
        second->setUrls({});
        QVERIFY(m_manager->cached(link("/a.png")).isNull());
    }

    void providerDrawsHeldPicturesRounded()
    {
        QVERIFY(!QCoro::waitFor(m_manager->image(link("/a.png"))).isNull());
        ArtworkProvider provider(*m_manager);
        const QString id = ArtworkProvider::pictureUrl(link("/a.png"), 8).toString().section(QLatin1Char('/'), 3);
        QSize size;
        const QImage picture = provider.requestImage(id, &size, QSize(40, 40));
        QCOMPARE(size, QSize(40, 40));
        QCOMPARE(qAlpha(picture.pixel(0, 0)), 0);
        QCOMPARE(picture.pixelColor(20, 20), QColor(Qt::red));
        QCOMPARE(picture.pixelColor(20, 0), QColor(Qt::red)); // cropped to fill: no bands

        const QString backdrop = ArtworkProvider::backdropUrl(link("/a.png")).toString().section(QLatin1Char('/'), 3);
        QVERIFY(!provider.requestImage(backdrop, &size, QSize()).isNull());
        // A link no longer held answers a clear pixel rather than an error on screen.
        const QString gone = ArtworkProvider::pictureUrl(link("/gone.png"), 8).toString().section(QLatin1Char('/'), 3);
        QCOMPARE(provider.requestImage(gone, &size, QSize(40, 40)).size(), QSize(1, 1));
        QCOMPARE(provider.requestImage(QStringLiteral("shadow"), &size, QSize()).width(),
                 ArtworkProvider::shadowSide + 2 * ArtworkProvider::shadowMargin);
    }
};

QTEST_MAIN(TestArtworkView)
#include "tst_artworkview.moc"
