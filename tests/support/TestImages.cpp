#include "TestImages.h"

#include <QBuffer>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>

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

QByteArray blend(const QColor &from, const QColor &to)
{
    QImage image(320, 180, QImage::Format_RGB32);
    QPainter painter(&image);
    QLinearGradient gradient(0, 0, 320, 180);
    gradient.setColorAt(0, from);
    gradient.setColorAt(1, to);
    painter.fillRect(image.rect(), gradient);
    painter.end();
    return png(image);
}

} // namespace TestImages
