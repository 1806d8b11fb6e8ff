#include "TestImages.h"

#include "TestHttpServer.h"

#include <QBuffer>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QStringList>

namespace TestImages {

namespace {

QByteArray encoded(const QImage &image, const char *format)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format);
    return bytes;
}

} // namespace

QByteArray png(const QImage &image)
{
    return encoded(image, "PNG");
}

QByteArray solid(const QColor &color, QSize size, const char *format)
{
    QImage image(size, QImage::Format_RGB32);
    image.fill(color);
    return encoded(image, format);
}

QByteArray blend(const QColor &from, const QColor &to, QSize size)
{
    QImage image(size, QImage::Format_RGB32);
    QPainter painter(&image);
    QLinearGradient gradient(0, 0, size.width(), size.height());
    gradient.setColorAt(0, from);
    gradient.setColorAt(1, to);
    painter.fillRect(image.rect(), gradient);
    painter.end();
    return png(image);
}

void serveArtwork(TestHttpServer &server, const QStringList &songIds)
{
    qputenv("MORVANE_IMAGE_HOST", server.base().toUtf8());
    const QList<QColor> colours{QColor(0xff576b), QColor(0x3d5afe), QColor(0x00bfa5), QColor(0xffab00),
                                QColor(0x8e24aa)};
    for (qsizetype n = 0; n < songIds.size(); ++n) {
        const QByteArray image = blend(colours[n % 5], colours[(n + 2) % 5].darker(260));
        server.serveText(QStringLiteral("/vi/%1/mqdefault.jpg").arg(songIds[n]), image, "image/png");
    }
}

} // namespace TestImages
