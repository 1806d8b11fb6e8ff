#pragma once

class QNetworkAccessManager;
class QQmlEngine;

// What every QML engine of the process relies on, the same in the application and in the tests.
namespace QmlSetup {
// Once, after the application object exists and before the first engine: the Basic style the
// palette restyles, and the icon font.
void prepareApplication();
// Each engine, before it loads anything: where the "Morvane" module lies, and the network access
// that thumbnails load through (it must outlive the engine).
void prepareEngine(QQmlEngine &engine, QNetworkAccessManager *network);
} // namespace QmlSetup
