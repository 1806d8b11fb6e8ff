#include "TestHttpServer.h"
#include "TestMedia.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QSignalSpy>
#include <QTest>

// The server's behaviours that other tests rely on, seen through a real HTTP client.
class TestTestHttpServer : public QObject
{
    Q_OBJECT

    QNetworkReply *get(const QUrl &url, const QByteArray &range = {})
    {
        QNetworkRequest request(url);
        request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
        request.setRawHeader("X-Probe", "yes");
        if (!range.isEmpty())
            request.setRawHeader("Range", range);
        QNetworkReply *reply = m_network.get(request);
        reply->setParent(this);
        return reply;
    }

    static int status(QNetworkReply *reply)
    {
        return reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    }

    QNetworkAccessManager m_network;

private Q_SLOTS:
    void answersRoutesAndRecordsHeaders()
    {
        TestHttpServer server;
        server.serveText(QStringLiteral("/a"), "hello");
        server.redirect(QStringLiteral("/r"), server.base() + QStringLiteral("/a"));

        QNetworkReply *reply = get(server.url(QStringLiteral("/a?x=1")));
        QTRY_VERIFY(reply->isFinished());
        QCOMPARE(status(reply), 200);
        QCOMPARE(reply->readAll(), QByteArray("hello"));

        QNetworkReply *missing = get(server.url(QStringLiteral("/none")));
        QTRY_VERIFY(missing->isFinished());
        QCOMPARE(status(missing), 404);

        QNetworkReply *moved = get(server.url(QStringLiteral("/r")));
        QTRY_VERIFY(moved->isFinished());
        QCOMPARE(status(moved), 302);
        QCOMPARE(moved->rawHeader("Location"), (server.base() + QStringLiteral("/a")).toUtf8());

        const auto requests = server.requestsFor(QStringLiteral("/a"));
        QCOMPARE(requests.size(), 1);
        QCOMPARE(requests[0].query, QStringLiteral("x=1"));
        QCOMPARE(requests[0].headers.value("x-probe"), QByteArray("yes"));
    }

    void servesRanges()
    {
        TestHttpServer server;
        server.serveText(QStringLiteral("/f"), "0123456789");
        QNetworkReply *reply = get(server.url(QStringLiteral("/f")), "bytes=4-");
        QTRY_VERIFY(reply->isFinished());
        QCOMPARE(status(reply), 206);
        QCOMPARE(reply->readAll(), QByteArray("456789"));
    }

    void dripsAndStalls()
    {
        TestHttpServer server;
        TestHttpServer::Route slow;
        slow.body = QByteArray(400, 'x');
        slow.dripBytes = 100;
        slow.dripIntervalMs = 100;
        server.serve(QStringLiteral("/slow"), slow);
        server.stall(QStringLiteral("/stall"));

        QElapsedTimer clock;
        clock.start();
        QNetworkReply *reply = get(server.url(QStringLiteral("/slow")));
        QTRY_VERIFY_WITH_TIMEOUT(reply->isFinished(), 5000);
        QCOMPARE(reply->readAll().size(), 400);
        QVERIFY(clock.elapsed() >= 300);

        QNetworkReply *stalled = get(server.url(QStringLiteral("/stall")));
        QTest::qWait(300);
        QVERIFY(!stalled->isFinished());
        QCOMPARE(server.requestsFor(QStringLiteral("/stall")).size(), 1);
        stalled->abort();
    }

    void servesGeneratedMedia()
    {
        TestHttpServer server;
        TestMedia::serve(server);
        QNetworkReply *manifest = get(server.url(QStringLiteral("/dash/manifest.mpd")));
        QNetworkReply *video = get(server.url(QStringLiteral("/video.mp4")));
        QTRY_VERIFY(manifest->isFinished() && video->isFinished());
        const QByteArray mpd = manifest->readAll();
        QVERIFY(mpd.contains("height=\"480\""));
        QVERIFY(mpd.contains("contentType=\"audio\""));
        QCOMPARE(video->readAll().size(), QFileInfo(TestMedia::videoFile()).size());

        const QByteArray feed =
            TestMedia::rssFeed(server, QStringLiteral("A & B"),
                               {{QStringLiteral("x < y"), QStringLiteral("/video.mp4"), QStringLiteral("g1")}});
        QVERIFY(feed.contains("<title>A &amp; B</title>"));
        QVERIFY(feed.contains("<enclosure url=\"" + server.base().toUtf8() + "/video.mp4\""));
    }
};

QTEST_GUILESS_MAIN(TestTestHttpServer)
#include "tst_testhttpserver.moc"
