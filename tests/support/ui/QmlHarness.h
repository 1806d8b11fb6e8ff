#pragma once

#include <QImage>
#include <QQmlEngine>
#include <QUrl>
#include <QVariantMap>

class QQuickItem;
class QQuickWindow;

// Loads QML the way the application does (same module, style, fonts and import path). Call
// failOnWarnings() in init(): any warning of the test function, a QML binding loop or an unknown icon
// name included, then fails it.
class QmlHarness
{
public:
    QmlHarness();

    // Once per test executable, after the application object exists (initTestCase): the application's
    // QML set-up, and DejaVu Sans as the text font so renders look the same on every machine.
    static void prepareApplication();
    static void failOnWarnings();

    [[nodiscard]] QQmlEngine &engine() { return m_engine; }
    // The object `url` describes, with `properties` set before its bindings run; null on failure
    // (the errors are warnings, which fail the test).
    QObject *create(const QUrl &url, const QVariantMap &properties = {});

    // Shows `window`, waits until it has been drawn and returns its content.
    [[nodiscard]] static QImage render(QQuickWindow *window);
    [[nodiscard]] static bool isOneColour(const QImage &image);
    // The item named `objectName` in the scene below `item` (itself included). List rows are
    // visual children of their list but no QObject children of anything, so the scene is searched.
    [[nodiscard]] static QQuickItem *findItem(QQuickItem *item, const QString &objectName);

private:
    QQmlEngine m_engine;
};
