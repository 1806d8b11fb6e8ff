#pragma once

#include <QObject>
#include <QString>
#include <QVariantMap>

#include <functional>
#include <memory>

class ArtworkManager;
class QmlHarness;
class QQuickWindow;

// Gallery pictures, saved as build/gallery/<name>.png. Each must fill its window and not be blank.
namespace GalleryPage {
// The shown `window` as it is now.
void record(QQuickWindow *window, const QString &name);
// The page `file` of tests/ui/gallery over `properties`, shown and handed to `before` first.
void record(QmlHarness &harness, const char *file, const QVariantMap &properties, const QString &name,
            const std::function<void(QQuickWindow *)> &before = {});
// Waits until every picture asked of `artwork` is in or has failed, so none is caught half drawn.
void settle(const ArtworkManager &artwork);
} // namespace GalleryPage
