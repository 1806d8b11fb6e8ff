#pragma once

#include "platform/LaunchRequest.h"

#include <QObject>
#include <QPointer>
#include <QQmlApplicationEngine>
#include <QQuickWindow>
#include <QVariantMap>

class QNetworkAccessManager;

// The application's windows, and what the instance does with each launch request: it shows the
// main window and turns opened links and received text into link text for intake.
class Shell final : public QObject
{
    Q_OBJECT

public:
    // QML's images from the web (queue thumbnails) load through `network`, which must outlive the shell.
    explicit Shell(QNetworkAccessManager *network, QObject *parent = nullptr);

    // Builds the main window, hidden, handing it the view models in `models` (its required
    // properties); false when its QML fails to load (the reason is in app.log).
    bool load(const QVariantMap &models);
    [[nodiscard]] QQuickWindow *mainWindow() const { return m_mainWindow; }
    [[nodiscard]] QQmlEngine &engine() { return m_engine; }

    void showMainWindow();
    void handle(const LaunchRequest &request);

Q_SIGNALS:
    // One link text from outside: an opened URL or received text (possibly empty), once each.
    void linkTextReceived(const QString &text);

private:
    QQmlApplicationEngine m_engine;
    QPointer<QQuickWindow> m_mainWindow;
};
