#include "Shell.h"

#include "QmlSetup.h"
#include "UrlScheme.h"
#include "core/LogManager.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QQuickWindow>

namespace {
// Plain text, else the first entry of a "text/uri-list".
QString textOf(const QMimeData *data)
{
    if (!data)
        return {};
    if (!data->text().isEmpty())
        return data->text();
    const QList<QUrl> urls = data->urls();
    return urls.isEmpty() ? QString() : urls.constFirst().toString();
}

QString receivedText(const LaunchRequest &request)
{
    if (request.action == QLatin1String("receive-text"))
        return request.text;
    const QClipboard *clipboard = QGuiApplication::clipboard();
    // The selection (X11's PRIMARY) is what the user marked; many sessions have none.
    if (request.action == QLatin1String("receive-selection") && clipboard->supportsSelection()) {
        const QString selected = textOf(clipboard->mimeData(QClipboard::Selection));
        if (!selected.isEmpty())
            return selected;
    }
    return textOf(clipboard->mimeData(QClipboard::Clipboard));
}

bool isReceiveAction(const QString &action)
{
    return action == QLatin1String("receive-text") || action == QLatin1String("receive-selection") ||
           action == QLatin1String("receive-clipboard");
}
} // namespace

Shell::Shell(QNetworkAccessManager *network, QObject *parent)
    : QObject(parent)
{
    QmlSetup::prepareEngine(m_engine, network);
    connect(&m_engine, &QQmlApplicationEngine::warnings, this, [](const QList<QQmlError> &warnings) {
        for (const QQmlError &warning : warnings)
            LogManager::appLog(QStringLiteral("Interface: ") + warning.toString());
    });
}

bool Shell::load(const QVariantMap &models)
{
    m_engine.setInitialProperties(models);
    m_engine.load(QUrl(QStringLiteral("qrc:/Morvane/Main.qml")));
    const QList<QObject *> roots = m_engine.rootObjects();
    m_mainWindow = roots.isEmpty() ? nullptr : qobject_cast<QQuickWindow *>(roots.constFirst());
    if (!m_mainWindow)
        LogManager::appLog(QStringLiteral("Interface: the main window could not be created."));
    return m_mainWindow;
}

void Shell::showMainWindow()
{
    // A window that appears is already on top; one that is shown behind others must come forward.
    if (m_mainWindow->isVisible())
        m_mainWindow->raise();
    m_mainWindow->show();
    m_mainWindow->requestActivate();
}

void Shell::handle(const LaunchRequest &request)
{
    showMainWindow();
    switch (request.kind) {
    case LaunchRequest::Kind::Activate: break;
    case LaunchRequest::Kind::Open:
        for (const QString &uri : request.uris)
            Q_EMIT linkTextReceived(UrlScheme::linkText(uri));
        break;
    case LaunchRequest::Kind::Action:
        if (isReceiveAction(request.action))
            Q_EMIT linkTextReceived(receivedText(request));
        break;
    }
}
