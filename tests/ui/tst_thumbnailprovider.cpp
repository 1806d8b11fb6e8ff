#include "TestHttpServer.h"
#include "TestImages.h"
#include "ui/downloader/ThumbnailProvider.h"

#include <QImage>
#include <QNetworkAccessManager>
#include <QQuickImageResponse>
#include <QQuickTextureFactory>
#include <QSignalSpy>
#include <QTest>

#include <memory>

// Thumbnails from the local server: the framed crop for an image, an error (so the row keeps its
// placeholder) for a missing one and for any link that is not http or https.
class TestThumbnailProvider : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void loadsOnlyWebImages_data()
    {
        QTest::addColumn<QString>("path"); // on the local server, or a whole link when it has a scheme
        QTest::addColumn<bool>("loads");

        QTest::newRow("an image") << QStringLiteral("/thumb.png") << true;
        QTest::newRow("missing") << QStringLiteral("/missing.png") << false;
        QTest::newRow("not an image") << QStringLiteral("/page.txt") << false;
        QTest::newRow("a file link") << QStringLiteral("file:///dev/zero") << false;
    }

    void loadsOnlyWebImages()
    {
        QFETCH(QString, path);
        QFETCH(bool, loads);

        TestHttpServer server;
        server.serveText(QStringLiteral("/thumb.png"), TestImages::solid(Qt::blue, {320, 90}), "image/png");
        server.serveText(QStringLiteral("/page.txt"), "hello");

        QNetworkAccessManager network;
        ThumbnailProvider provider(&network);
        const QString link = path.startsWith(QLatin1Char('/')) ? server.url(path).toString() : path;
        std::unique_ptr<QQuickImageResponse> response(
            provider.requestImageResponse(QString::fromLatin1(QUrl::toPercentEncoding(link)),
                                          QSize(ThumbnailProvider::width, ThumbnailProvider::height)));
        QSignalSpy finished(response.get(), &QQuickImageResponse::finished);
        QTRY_COMPARE(finished.count(), 1);

        QCOMPARE(response->errorString().isEmpty(), loads);
        if (!loads) {
            QCOMPARE(server.requestsFor(QStringLiteral("/dev/zero")).size(), 0);
            return;
        }
        std::unique_ptr<QQuickTextureFactory> texture(response->textureFactory());
        const QImage image = texture->image();
        QCOMPARE(image.size(), QSize(96, 54));
        QCOMPARE(image.pixelColor(48, 27), QColor(Qt::blue));
        QCOMPARE(image.pixelColor(0, 0).alpha(), 0); // the rounded corner
    }
};

QTEST_MAIN(TestThumbnailProvider)
#include "tst_thumbnailprovider.moc"
