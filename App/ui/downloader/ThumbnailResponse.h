#pragma once

#include <QImage>
#include <QPointer>
#include <QQuickImageResponse>
#include <QUrl>

class QNetworkAccessManager;
class QNetworkReply;

// One thumbnail on its way. It lives on the network manager's thread, since the image reader
// that asks for it runs on a thread of its own; it finishes with the framed image or an error.
class ThumbnailResponse final : public QQuickImageResponse
{
    Q_OBJECT

public:
    // Starts fetching `url`; an empty url finishes at once with an error.
    ThumbnailResponse(QNetworkAccessManager *network, const QUrl &url);
    ~ThumbnailResponse() override;

    [[nodiscard]] QQuickTextureFactory *textureFactory() const override;
    [[nodiscard]] QString errorString() const override { return m_error; }

private:
    void start(QNetworkAccessManager *network, const QUrl &url);
    void onFinished();
    void fail(const QString &error);

    QPointer<QNetworkReply> m_reply;
    QImage m_image;
    QString m_error;
};
