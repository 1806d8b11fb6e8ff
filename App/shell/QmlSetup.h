#pragma once

class QQmlEngine;

// What every QML engine of the process relies on, the same in the application and in the tests.
namespace QmlSetup {
// Once, after the application object exists and before the first engine: the Basic style the
// palette restyles, and the icon font.
void prepareApplication();
// Each engine, before it loads anything: where the "Morvane" module lies.
void prepareEngine(QQmlEngine &engine);
} // namespace QmlSetup
