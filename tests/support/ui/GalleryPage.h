#pragma once

#include <QImage>
#include <QObject>
#include <QString>
#include <QVariantMap>

#include <functional>
#include <memory>

class ArtworkManager;
class QmlHarness;
class QQuickItem;
class QQuickWindow;

// Gallery pictures, saved as build/gallery/<name>.png. Each must fill its window and not be blank.
namespace GalleryPage {
// The shown `window` as it is now.
void record(QQuickWindow *window, const QString &name);
// The page `file` of tests/ui/gallery over `properties`, shown and handed to `before` first.
void record(QmlHarness &harness, const char *file, const QVariantMap &properties, const QString &name,
            const std::function<void(QQuickWindow *)> &before = {});
// `item`'s part of `image` (a picture of its window), with a margin for what it draws around itself.
QImage part(const QImage &image, const QQuickItem *item, int margin = 4);
// The pixels of `image` unlike `background`: what was drawn over it.
int inked(const QImage &image, QRgb background);
// Waits until every picture asked of `artwork` is in or has failed, so none is caught half drawn.
void settle(const ArtworkManager &artwork);
} // namespace GalleryPage
