#include "TestHttpServer.h"
#include "TestImages.h"
#include "music/ArtworkManager.h"
#include "music/Track.h"

#include <QNetworkAccessManager>
#include <QTest>

#include <memory>
#include <optional>

namespace {

void servePng(TestHttpServer &server, const QString &path, const QColor &color = Qt::red)
{
    server.serveText(path, TestImages::solid(color), "image/png");
}

} // namespace

// The thumbnail loader against the local server.
class TestArtworkManager : public QObject
{
    Q_OBJECT

    QNetworkAccessManager m_network;

private Q_SLOTS:
    void concurrentRequestsShareOneLoad()
    {
        TestHttpServer server;
        servePng(server, QStringLiteral("/a.png"));
        ArtworkManager artwork(&m_network);

        // Only what is held already: asking starts nothing.
        QVERIFY(artwork.cached(server.url(QStringLiteral("/a.png"))).isNull());
        QVERIFY(server.requests().isEmpty());

        auto first = artwork.image(server.url(QStringLiteral("/a.png")));
        std::optional<QImage> two;
        artwork.image(server.url(QStringLiteral("/a.png"))).then([&two](const QImage &image) { two = image; });
        const QImage one = QCoro::waitFor(first);
        QCOMPARE(one.size(), QSize(3, 3));
        QCOMPARE(one.pixelColor(0, 0), QColor(Qt::red));
        // The second caller's wake-up is still queued; deferred deletions flushed before it is
        // delivered, as a long pass of the event loop does, must not lose it.
        QVERIFY(!two);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QTRY_VERIFY(two);
        QCOMPARE(*two, one);

        const QImage again = QCoro::waitFor(artwork.image(server.url(QStringLiteral("/a.png"))));
        QCOMPARE(again, one);
        QCOMPARE(artwork.cached(server.url(QStringLiteral("/a.png"))), one);
        const auto requests = server.requestsFor(QStringLiteral("/a.png"));
        QCOMPARE(requests.size(), 1);
        QCOMPARE(requests[0].headers.value("user-agent"), QByteArray("Morvane/1.0"));
    }

    void failuresAreNotRemembered_data()
    {
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("body");
        QTest::newRow("404") << 404 << TestImages::solid(Qt::blue);
        QTest::newRow("not an image") << 200 << QByteArray("<html>nope</html>");
        QTest::newRow("empty body") << 200 << QByteArray();
        QTest::newRow("204") << 204 << QByteArray();
    }

    void failuresAreNotRemembered()
    {
        QFETCH(int, status);
        QFETCH(QByteArray, body);
        TestHttpServer server;
        server.serveText(QStringLiteral("/x"), body, "image/png", status);
        ArtworkManager artwork(&m_network);
        QVERIFY(QCoro::waitFor(artwork.image(server.url(QStringLiteral("/x")))).isNull());
        QCOMPARE(artwork.cachedCount(), 0);
        QVERIFY(QCoro::waitFor(artwork.image(server.url(QStringLiteral("/x")))).isNull());
        QCOMPARE(server.requestsFor(QStringLiteral("/x")).size(), 2);
    }

    void unreachableHostGivesNone()
    {
        quint16 port = 0;
        {
            TestHttpServer closed;
            port = closed.port();
        }
        ArtworkManager artwork(&m_network);
        const QUrl url(QStringLiteral("http://127.0.0.1:%1/a.png").arg(port));
        QVERIFY(QCoro::waitFor(artwork.image(url)).isNull());
    }

    void listStopsAtTheFirstImage()
    {
        TestHttpServer server;
        servePng(server, QStringLiteral("/second.png"), Qt::green);
        servePng(server, QStringLiteral("/third.png"));
        ArtworkManager artwork(&m_network);
        const QList<QUrl> urls{server.url(QStringLiteral("/first.png")), server.url(QStringLiteral("/second.png")),
                               server.url(QStringLiteral("/third.png"))};
        const QImage found = QCoro::waitFor(artwork.image(urls));
        QCOMPARE(found.pixelColor(0, 0), QColor(Qt::green));
        QCOMPARE(artwork.cachedCount(), 1);
        QCOMPARE(server.requestsFor(QStringLiteral("/third.png")).size(), 0);

        QVERIFY(QCoro::waitFor(artwork.image(urls.first())).isNull());
        QCOMPARE(server.requestsFor(QStringLiteral("/first.png")).size(), 2);

        QVERIFY(QCoro::waitFor(artwork.image(QList<QUrl>())).isNull());
    }

    void trackArtworkFallsBackToSmallerImages()
    {
        TestHttpServer server;
        servePng(server, QStringLiteral("/vi/abcdefghijk/mqdefault.jpg"));
        qputenv("MORVANE_IMAGE_HOST", server.base().toUtf8());
        const QList<QUrl> links = Track{QStringLiteral("abcdefghijk"), {}, {}, {}, {}, {}}.artwork(true);
        qunsetenv("MORVANE_IMAGE_HOST");
        ArtworkManager artwork(&m_network);
        QVERIFY(!QCoro::waitFor(artwork.image(links)).isNull());
        QStringList paths;
        for (const auto &request : server.requests())
            paths.append(request.path);
        QCOMPARE(paths, (QStringList{QStringLiteral("/vi/abcdefghijk/maxresdefault.jpg"),
                                     QStringLiteral("/vi/abcdefghijk/sddefault.jpg"),
                                     QStringLiteral("/vi/abcdefghijk/mqdefault.jpg")}));
    }

    // Pictures are kept as their middle square, no larger than the largest view shows them.
    void picturesAreKeptAtTheLargestSideShown_data()
    {
        QTest::addColumn<QByteArray>("format");
        QTest::addColumn<QSize>("served");
        QTest::addColumn<int>("largestSide");
        QTest::addColumn<QSize>("kept");
        QTest::newRow("video picture, PNG") << QByteArray("PNG") << QSize(1280, 720) << 380 << QSize(380, 380);
        QTest::newRow("video picture, JPEG") << QByteArray("JPEG") << QSize(1280, 720) << 380 << QSize(380, 380);
        QTest::newRow("high density") << QByteArray("JPEG") << QSize(1280, 720) << 760 << QSize(720, 720);
        QTest::newRow("portrait") << QByteArray("PNG") << QSize(300, 600) << 150 << QSize(150, 150);
        QTest::newRow("small") << QByteArray("PNG") << QSize(320, 180) << 380 << QSize(180, 180);
        QTest::newRow("no limit") << QByteArray("PNG") << QSize(1280, 720) << 0 << QSize(720, 720);
    }

    void picturesAreKeptAtTheLargestSideShown()
    {
        QFETCH(QByteArray, format);
        QFETCH(QSize, served);
        QFETCH(int, largestSide);
        QFETCH(QSize, kept);
        TestHttpServer server;
        server.serveText(QStringLiteral("/a"), TestImages::solid(Qt::blue, served, format.constData()), "image/*");
        ArtworkManager artwork(&m_network);
        artwork.setLargestSide(largestSide);
        const QImage image = QCoro::waitFor(artwork.image(server.url(QStringLiteral("/a"))));
        QCOMPARE(image.size(), kept);
        QCOMPARE(artwork.cached(server.url(QStringLiteral("/a"))).size(), kept);
        // A JPEG shifts colours a little.
        QVERIFY(image.pixelColor(kept.width() / 2, kept.height() / 2).blue() > 240);
    }

    // The cache holds at most 400 pictures and at most its budget in bytes, whichever comes first.
    void cacheIsBounded_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("held");
        QTest::newRow("by count") << QSize(4, 3) << 401 << ArtworkManager::cacheLimit;
        const int large = int(ArtworkManager::cacheBudget / (720 * 720 * 4));
        QTest::newRow("by bytes") << QSize(720, 720) << large + 1 << large;
    }

    void cacheIsBounded()
    {
        QFETCH(QSize, size);
        QFETCH(int, count);
        QFETCH(int, held);
        TestHttpServer server;
        const QByteArray image = TestImages::solid(Qt::red, size);
        for (int i = 0; i < count; ++i)
            server.serveText(QStringLiteral("/%1.png").arg(i), image, "image/png");
        ArtworkManager artwork(&m_network);
        for (int i = 0; i < count; ++i)
            QVERIFY(!QCoro::waitFor(artwork.image(server.url(QStringLiteral("/%1.png").arg(i)))).isNull());
        QCOMPARE(artwork.cachedCount(), held);
        // The least recently used link made room and is fetched anew; the newest is still held.
        const QString last = QStringLiteral("/%1.png").arg(count - 1);
        QVERIFY(!QCoro::waitFor(artwork.image(server.url(QStringLiteral("/0.png")))).isNull());
        QCOMPARE(server.requestsFor(QStringLiteral("/0.png")).size(), 2);
        QVERIFY(!QCoro::waitFor(artwork.image(server.url(last))).isNull());
        QCOMPARE(server.requestsFor(last).size(), 1);
    }

    void waitersAreReleasedWhenTheLoaderGoes()
    {
        TestHttpServer server;
        TestHttpServer::Route slow;
        slow.body = TestImages::solid(Qt::red);
        slow.dripBytes = 16;
        slow.dripIntervalMs = 20;
        server.serve(QStringLiteral("/slow.png"), slow);
        auto artwork = std::make_unique<ArtworkManager>(&m_network);

        auto loader = artwork->image(server.url(QStringLiteral("/slow.png")));
        auto waiter = artwork->image(server.url(QStringLiteral("/slow.png")));
        artwork.reset();
        QVERIFY(QCoro::waitFor(waiter).isNull());
        // The transfer itself still completes; its result just has nowhere to be kept.
        QVERIFY(!QCoro::waitFor(loader).isNull());
    }
};

QTEST_GUILESS_MAIN(TestArtworkManager)
#include "tst_artworkmanager.moc"
