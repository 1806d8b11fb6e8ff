#pragma once

#include <QByteArray>
#include <QColor>
#include <QSize>
#include <QStringList>

class QImage;
class TestHttpServer;

// Pictures as the local server hands them out: PNG bytes made in memory.
namespace TestImages {

[[nodiscard]] QByteArray png(const QImage &image);
// One colour all over, as PNG or in another format Qt writes ("JPEG").
[[nodiscard]] QByteArray solid(const QColor &color, QSize size = {4, 3}, const char *format = "PNG");
// A cover blending `from` into `to` along its diagonal, so crops and blurs show; the video site's
// small pictures are 320×180.
[[nodiscard]] QByteArray blend(const QColor &from, const QColor &to, QSize size = {320, 180});
// Every song's small picture (a blend of its own colours) on `server`, which then stands in for
// the video site's image host.
void serveArtwork(TestHttpServer &server, const QStringList &songIds);

} // namespace TestImages
