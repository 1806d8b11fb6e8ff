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
    // The scene graph sizes its texture atlas after the window, 8 MB for ours, to hold a few dozen
    // icons; pictures bigger than what a smaller atlas takes get textures of their own anyway.
    for (const char *side : {"QSG_ATLAS_WIDTH", "QSG_ATLAS_HEIGHT"}) {
        if (!qEnvironmentVariableIsSet(side))
            qputenv(side, "512");
    }
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
