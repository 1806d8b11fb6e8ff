#include "GalleryPage.h"

#include "QmlHarness.h"
#include "music/ArtworkManager.h"

#include <QDir>
#include <QQuickItem>
#include <QQuickWindow>
#include <QTest>

void GalleryPage::record(QQuickWindow *window, const QString &name)
{
    const QImage image = QmlHarness::render(window);
    QVERIFY(!image.isNull());
    QCOMPARE(image.size(), window->size() * window->devicePixelRatio());
    QVERIFY2(!QmlHarness::isOneColour(image), qPrintable(name + QStringLiteral(" is blank")));
    QVERIFY(QDir().mkpath(QStringLiteral(MORVANE_GALLERY_DIR)));
    QVERIFY(image.save(QStringLiteral(MORVANE_GALLERY_DIR "/") + name + QStringLiteral(".png")));
}

void GalleryPage::record(QmlHarness &harness, const char *file, const QVariantMap &properties, const QString &name,
                         const std::function<void(QQuickWindow *)> &before)
{
    const QUrl page = QUrl::fromLocalFile(QStringLiteral(MORVANE_GALLERY_SOURCE_DIR "/") + QString::fromLatin1(file));
    std::unique_ptr<QObject> object(harness.create(page, properties));
    auto *window = qobject_cast<QQuickWindow *>(object.get());
    QVERIFY2(window, file);
    window->show();
    QVERIFY(QTest::qWaitForWindowExposed(window));
    if (before)
        before(window);
    record(window, name);
}

QImage GalleryPage::part(const QImage &image, const QQuickItem *item, int margin)
{
    const QRect box = item->mapRectToScene(item->boundingRect()).toAlignedRect();
    return image.copy(box.adjusted(-margin, -margin, margin, margin));
}

int GalleryPage::inked(const QImage &image, QRgb background)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            count += image.pixel(x, y) != background;
    }
    return count;
}

void GalleryPage::settle(const ArtworkManager &artwork)
{
    QTRY_COMPARE_WITH_TIMEOUT(artwork.loadingCount(), 0, 20000);
}
