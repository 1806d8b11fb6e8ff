#include "ThumbnailResponse.h"

#include "ui/downloader/ThumbnailProvider.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QQuickTextureFactory>

ThumbnailResponse::ThumbnailResponse(QNetworkAccessManager *network, const QUrl &url)
{
    moveToThread(network->thread());
    // Queued, so the reader has connected to finished() before it can come.
    QMetaObject::invokeMethod(
        this, [this, network, url] { start(network, url); }, Qt::QueuedConnection);
}

ThumbnailResponse::~ThumbnailResponse()
{
    if (m_reply)
        m_reply->abort();
}

QQuickTextureFactory *ThumbnailResponse::textureFactory() const
{
    return QQuickTextureFactory::textureFactoryForImage(m_image);
}

void ThumbnailResponse::start(QNetworkAccessManager *network, const QUrl &url)
{
    if (url.isEmpty()) {
        fail(QStringLiteral("not an http or https link"));
        return;
    }
    QNetworkRequest request(url);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    m_reply = network->get(request);
    connect(m_reply, &QNetworkReply::finished, this, &ThumbnailResponse::onFinished);
    connect(m_reply, &QNetworkReply::downloadProgress, this, [this](qint64 received, qint64) {
        if (received > ThumbnailProvider::maxBytes)
            m_reply->abort();
    });
}

void ThumbnailResponse::onFinished()
{
    QNetworkReply *reply = m_reply;
    reply->deleteLater();
    if (reply->error() != QNetworkReply::NoError) {
        fail(reply->errorString());
        return;
    }
    const QImage image = QImage::fromData(reply->readAll());
    if (image.isNull()) {
        fail(QStringLiteral("not an image"));
        return;
    }
    m_image = ThumbnailProvider::framed(image);
    Q_EMIT finished();
}

void ThumbnailResponse::fail(const QString &error)
{
    m_error = error;
    Q_EMIT finished();
}
