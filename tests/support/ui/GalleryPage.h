#pragma once

#include <QObject>
#include <QString>
#include <QVariantMap>

#include <functional>
#include <memory>

class QmlHarness;
class QQuickWindow;

// One gallery picture: the page `file` of tests/ui/gallery over `properties`, shown, handed to
// `before` and saved as build/gallery/<name>.png. It must fill its window and not be blank.
namespace GalleryPage {
void record(QmlHarness &harness, const char *file, const QVariantMap &properties, const QString &name,
            const std::function<void(QQuickWindow *)> &before = {});
} // namespace GalleryPage
