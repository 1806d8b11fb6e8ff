#pragma once

#include <QQuickAsyncImageProvider>

class QNetworkAccessManager;

// "image://thumbnail/<link>": a queue row's thumbnail, fetched through the application's network
// manager and delivered as the row shows it, a 96 × 54 crop with rounded corners (Qt Quick has no
// rounded clip without shader effects). Only http and https links are fetched: the link comes from
// the site, and a file: link to a device would be read without end. A link that fails gives an
// error, and the row keeps its placeholder.
class ThumbnailProvider final : public QQuickAsyncImageProvider
{
public:
    static constexpr int width = 96;
    static constexpr int height = 54;
    static constexpr qreal radius = 6;
    // Larger answers are not thumbnails; they are dropped unread.
    static constexpr qint64 maxBytes = 8'000'000;

    explicit ThumbnailProvider(QNetworkAccessManager *network);

    QQuickImageResponse *requestImageResponse(const QString &id, const QSize &requestedSize) override;

    // The crop of `image` that fills the thumbnail frame, corners rounded (transparent).
    [[nodiscard]] static QImage framed(const QImage &image);

private:
    QNetworkAccessManager *m_network;
};
