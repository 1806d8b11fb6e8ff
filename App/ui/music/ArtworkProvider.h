#pragma once

#include <QCache>
#include <QQuickImageProvider>

class ArtworkManager;

// "image://artwork/...": pictures the artwork manager holds, drawn the way the views show them
// (Qt Quick has no rounded clip or blur without shader effects, which the software renderer
// lacks):
//   <radius>/<link>  the picture cropped to fill a square of the requested size, corners rounded;
//   backdrop/<link>  a soft, blurred copy to lie behind the Now Playing view;
//   shadow           the shadow under the 380-point Now Playing picture.
// <link> is the picture's link in base64url. Answers come on the main thread from the manager's
// cache, which the views fill before they ask; a link no longer held gives a clear pixel.
// Installing it on an engine is also how the views of that engine find the manager, and tells the
// manager the largest size they show pictures at.
class ArtworkProvider final : public QQuickImageProvider
{
public:
    // The side of the Now Playing picture, the largest any view shows.
    static constexpr int shadowSide = 380;
    static constexpr int shadowMargin = 60;

    explicit ArtworkProvider(ArtworkManager &manager);

    static void install(QQmlEngine &engine, ArtworkManager &manager);
    // The manager installed on `engine`, or null.
    [[nodiscard]] static ArtworkManager *managerOf(QQmlEngine *engine);

    [[nodiscard]] static QUrl pictureUrl(const QUrl &link, int radius);
    [[nodiscard]] static QUrl backdropUrl(const QUrl &link);

    QImage requestImage(const QString &id, QSize *size, const QSize &requestedSize) override;

    [[nodiscard]] static QImage rounded(const QImage &image, QSize size, qreal radius);
    [[nodiscard]] static QImage blurred(const QImage &image);
    [[nodiscard]] static QImage shadow();

private:
    ArtworkManager &m_manager;
    // Blurring is the costly part: once per picture.
    QCache<QUrl, QImage> m_backdrops{8};
};
