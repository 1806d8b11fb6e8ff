#pragma once

#include <QByteArray>
#include <QColor>
#include <QSize>

class QImage;

// Pictures as the local server hands them out: PNG bytes made in memory.
namespace TestImages {

[[nodiscard]] QByteArray png(const QImage &image);
// One colour all over, as PNG or in another format Qt writes ("JPEG").
[[nodiscard]] QByteArray solid(const QColor &color, QSize size = {4, 3}, const char *format = "PNG");
// A 320×180 cover blending `from` into `to` along its diagonal, so crops and blurs show.
[[nodiscard]] QByteArray blend(const QColor &from, const QColor &to);

} // namespace TestImages
