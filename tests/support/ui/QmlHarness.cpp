#include "QmlHarness.h"

#include "shell/QmlSetup.h"

#include <QFont>
#include <QGuiApplication>
#include <QQmlComponent>
#include <QQuickItem>
#include <QQuickWindow>
#include <QRegularExpression>
#include <QTest>

QmlHarness::QmlHarness()
{
    QmlSetup::prepareEngine(m_engine, m_engine.networkAccessManager());
}

void QmlHarness::prepareApplication()
{
    // The offscreen platform has no OpenGL; Xvfb runs the default scene graph.
    if (QGuiApplication::platformName() == QLatin1String("offscreen"))
        QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
    QmlSetup::prepareApplication();
    QGuiApplication::setFont(QFont(QStringLiteral("DejaVu Sans")));
}

void QmlHarness::failOnWarnings()
{
    QTest::failOnWarning(QRegularExpression(QStringLiteral(".*")));
}

QObject *QmlHarness::create(const QUrl &url, const QVariantMap &properties)
{
    QQmlComponent component(&m_engine, url);
    // Creating from a component that failed to load crashes on 6.4 instead of reporting.
    QObject *object = component.isReady() ? component.createWithInitialProperties(properties) : nullptr;
    if (!object) {
        for (const QQmlError &error : component.errors())
            qWarning("%s", qPrintable(error.toString()));
        return nullptr;
    }
    object->setParent(&m_engine);
    return object;
}

QImage QmlHarness::render(QQuickWindow *window)
{
    window->show();
    if (!QTest::qWaitForWindowExposed(window))
        return {};
    return window->grabWindow();
}

bool QmlHarness::isOneColour(const QImage &image)
{
    const QImage pixels = image.convertToFormat(QImage::Format_ARGB32);
    const QRgb first = pixels.pixel(0, 0);
    for (int y = 0; y < pixels.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(pixels.constScanLine(y));
        for (int x = 0; x < pixels.width(); ++x) {
            if (line[x] != first)
                return false;
        }
    }
    return true;
}

QQuickItem *QmlHarness::findItem(QQuickItem *item, const QString &objectName)
{
    if (item->objectName() == objectName)
        return item;
    for (QQuickItem *child : item->childItems()) {
        if (QQuickItem *found = findItem(child, objectName))
            return found;
    }
    return nullptr;
}
