#include "ThumbnailProvider.h"

#include "ui/downloader/ThumbnailLink.h"
#include "ui/downloader/ThumbnailResponse.h"

#include <QPainter>
#include <QUrl>

ThumbnailProvider::ThumbnailProvider(QNetworkAccessManager *network)
    : m_network(network)
{}

QQuickImageResponse *ThumbnailProvider::requestImageResponse(const QString &id, const QSize &)
{
    // The link arrives percent-encoded as the image id, so its own "/" and "?" survive the URL.
    return new ThumbnailResponse(m_network, QUrl(loadableThumbnail(QUrl::fromPercentEncoding(id.toUtf8()))));
}

QImage ThumbnailProvider::framed(const QImage &image)
{
    const QImage scaled = image.scaled(width, height, Qt::KeepAspectRatioByExpanding, Qt::SmoothTransformation);
    const QImage crop = scaled.copy((scaled.width() - width) / 2, (scaled.height() - height) / 2, width, height);
    QImage out(width, height, QImage::Format_ARGB32_Premultiplied);
    out.fill(Qt::transparent);
    QPainter painter(&out);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(crop);
    painter.drawRoundedRect(QRectF(0, 0, width, height), radius, radius);
    return out;
}
