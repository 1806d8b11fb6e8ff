#include "ArtworkProvider.h"

#include "music/ArtworkManager.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>
#include <QQmlEngine>
#include <QtMath>

namespace {

const QString providerName = QStringLiteral("artwork");
constexpr int defaultSide = 256;
// The blur is a shrink to a few pixels and a smooth enlargement: a radius of about 70 points over
// the window-sized backdrop.
constexpr int backdropCells = 24;

QString encoded(const QUrl &link)
{
    return QString::fromLatin1(
        link.toEncoded().toBase64(QByteArray::Base64UrlEncoding | QByteArray::OmitTrailingEquals));
}

QImage clearPixel()
{
    QImage image(1, 1, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

} // namespace

ArtworkProvider::ArtworkProvider(ArtworkManager &manager)
    : QQuickImageProvider(QQuickImageProvider::Image)
    , m_manager(manager)
{}

void ArtworkProvider::install(QQmlEngine &engine, ArtworkManager &manager)
{
    engine.addImageProvider(providerName, new ArtworkProvider(manager));
    manager.setLargestSide(qCeil(shadowSide * qGuiApp->devicePixelRatio()));
}

ArtworkManager *ArtworkProvider::managerOf(QQmlEngine *engine)
{
    auto *provider = engine ? dynamic_cast<ArtworkProvider *>(engine->imageProvider(providerName)) : nullptr;
    return provider ? &provider->m_manager : nullptr;
}

QUrl ArtworkProvider::pictureUrl(const QUrl &link, int radius)
{
    return QUrl(QStringLiteral("image://artwork/%1/%2").arg(radius).arg(encoded(link)));
}

QUrl ArtworkProvider::backdropUrl(const QUrl &link)
{
    return QUrl(QStringLiteral("image://artwork/backdrop/") + encoded(link));
}

QImage ArtworkProvider::requestImage(const QString &id, QSize *size, const QSize &requestedSize)
{
    QImage result;
    if (id == QLatin1String("shadow")) {
        result = shadow();
    } else {
        const QString kind = id.section(QLatin1Char('/'), 0, 0);
        const QUrl link = QUrl::fromEncoded(
            QByteArray::fromBase64(id.section(QLatin1Char('/'), 1).toLatin1(), QByteArray::Base64UrlEncoding));
        const QImage picture = m_manager.cached(link);
        if (picture.isNull()) {
            result = clearPixel();
        } else if (kind == QLatin1String("backdrop")) {
            if (!m_backdrops.contains(link))
                m_backdrops.insert(link, new QImage(blurred(picture)));
            result = *m_backdrops.object(link);
        } else {
            const QSize side =
                requestedSize.isValid() && !requestedSize.isEmpty() ? requestedSize : QSize(defaultSide, defaultSide);
            result = rounded(picture, side, kind.toDouble());
        }
    }
    *size = result.size();
    return result;
}

QImage ArtworkProvider::rounded(const QImage &image, QSize size, qreal radius)
{
    const QImage filled = image.scaled(size, Qt::KeepAspectRatioByExpanding, Qt::SmoothTransformation);
    QImage result(size, QImage::Format_ARGB32_Premultiplied);
    result.fill(Qt::transparent);
    QPainter painter(&result);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath clip;
    clip.addRoundedRect(QRectF(QPointF(0, 0), size), radius, radius);
    painter.setClipPath(clip);
    painter.drawImage(QPoint((size.width() - filled.width()) / 2, (size.height() - filled.height()) / 2), filled);
    return result;
}

QImage ArtworkProvider::blurred(const QImage &image)
{
    const QImage cells =
        image.scaled(backdropCells, backdropCells, Qt::KeepAspectRatioByExpanding, Qt::SmoothTransformation);
    // Two smooth steps up: one leaves the cells' edges visible.
    return cells.scaled(cells.size() * 4, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
        .scaled(cells.size() * 16, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

QImage ArtworkProvider::shadow()
{
    static const QImage made = [] {
        const int full = shadowSide + 2 * shadowMargin;
        QImage sharp(full, full, QImage::Format_ARGB32_Premultiplied);
        sharp.fill(Qt::transparent);
        QPainter painter(&sharp);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(0, 0, 0, 128));
        painter.drawRoundedRect(QRectF(shadowMargin, shadowMargin, shadowSide, shadowSide), 18, 18);
        painter.end();
        // Shrunk to one pixel per 10 points and smoothed back: about the spread of a 30-point blur.
        const QImage small = sharp.scaled(full / 10, full / 10, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        return small.scaled(full / 3, full / 3, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
            .scaled(full, full, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    }();
    return made;
}
