#include "QmlSetup.h"

#include "MenuBarIcon.h"
#include "ui/Icons.h"
#include "ui/downloader/ThumbnailProvider.h"

#include <QGuiApplication>
#include <QQmlEngine>
#include <QQuickStyle>
#include <QtQml/qqmlextensionplugin.h>

// The modules are static libraries: this pulls their types and files into whoever prepares an engine.
Q_IMPORT_QML_PLUGIN(MorvanePlugin)
Q_IMPORT_QML_PLUGIN(Morvane_StylePlugin)

void QmlSetup::prepareApplication()
{
    // Our own controls (qrc:/Morvane/Style); Basic draws only what they leave out.
    QQuickStyle::setStyle(QStringLiteral("Morvane.Style"));
    QQuickStyle::setFallbackStyle(QStringLiteral("Basic"));
    Icons::load();
    // Window lists and docks show the brand mark of the sidebar, as the desktop entry's icon does.
    QGuiApplication::setWindowIcon(MenuBarIcon::symbolIcon(QStringLiteral("waveform.circle.fill")));
}

void QmlSetup::prepareEngine(QQmlEngine &engine, QNetworkAccessManager *network)
{
    // The module's qmldir sits at qrc:/Morvane/qmldir; without this only its C++ types are found.
    engine.addImportPath(QStringLiteral("qrc:/"));
    // Queue rows' thumbnails; the engine owns the provider.
    engine.addImageProvider(QStringLiteral("thumbnail"), new ThumbnailProvider(network));
}
