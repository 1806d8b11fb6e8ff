#include "ArtworkManager.h"

#include <QCoroNetworkReply>
#include <QCoroSignal>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPointer>

#include <memory>

// The result of one load under way. Later callers for the same link wait for its one-shot
// signal: a coroutine task cannot be awaited twice.
class PendingArtwork final : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    // Callers waiting for the image, and the download they wait for.
    int waiters = 0;
    QPointer<QNetworkReply> reply;

Q_SIGNALS:
    void finished(const QImage &image);
};

namespace {

constexpr int cacheLimit = 400;
constexpr int requestTimeoutMs = 20000;

} // namespace

ArtworkManager::ArtworkManager(QNetworkAccessManager *network, QObject *parent)
    : QObject(parent)
    , m_network(network)
    , m_cache(cacheLimit)
{}

ArtworkManager::~ArtworkManager()
{
    // Callers still waiting get no image rather than waiting forever. The queued wake-ups need
    // their sender alive until they are delivered.
    for (PendingArtwork *pending : std::as_const(m_inflight)) {
        pending->setParent(nullptr);
        Q_EMIT pending->finished(QImage());
        pending->deleteLater();
    }
}

QCoro::Task<QImage> ArtworkManager::image(QUrl url)
{
    return image(std::move(url), CancelToken());
}

QImage ArtworkManager::cached(const QUrl &url) const
{
    const QImage *image = m_cache.object(url);
    return image ? *image : QImage();
}

// Every caller waits for the one download of the link. One that gives up no longer counts; when
// none is left the download is aborted, and whoever still listens gets no image.
QCoro::Task<QImage> ArtworkManager::image(QUrl url, CancelToken cancel)
{
    if (const QImage *cached = m_cache.object(url))
        co_return *cached;
    if (cancel.isCancelled())
        co_return QImage();
    PendingArtwork *pending = m_inflight.value(url);
    const bool first = !pending;
    if (first) {
        pending = new PendingArtwork(this);
        m_inflight.insert(url, pending);
    }
    ++pending->waiters;
    const QPointer<PendingArtwork> guard(pending);
    const int subscription = cancel.subscribe([guard] {
        if (guard && --guard->waiters == 0 && guard->reply && !guard->reply->isFinished())
            guard->reply->abort();
    });
    if (!first) {
        const QImage shared = co_await qCoro(pending, &PendingArtwork::finished);
        cancel.unsubscribe(subscription);
        co_return shared;
    }
    // The caller that started the download gets its result even when the manager is gone.
    const QPointer<ArtworkManager> self(this);
    const QImage loaded = co_await load(url, pending);
    cancel.unsubscribe(subscription);
    if (!self)
        co_return loaded;
    m_inflight.remove(url);
    if (!loaded.isNull())
        m_cache.insert(url, new QImage(loaded));
    Q_EMIT pending->finished(loaded);
    pending->deleteLater();
    co_return loaded;
}

QCoro::Task<QImage> ArtworkManager::image(QList<QUrl> urls, CancelToken cancel)
{
    const QPointer<ArtworkManager> self(this);
    for (const QUrl &url : urls) {
        if (!self || cancel.isCancelled())
            break;
        const QImage found = co_await image(url, cancel);
        if (!found.isNull())
            co_return found;
    }
    co_return QImage();
}

QCoro::Task<QImage> ArtworkManager::load(QUrl url, PendingArtwork *pending)
{
    QNetworkRequest request(url);
    request.setHeader(QNetworkRequest::UserAgentHeader, QStringLiteral("Morvane/1.0"));
    request.setTransferTimeout(requestTimeoutMs);
    // Repeated requests may be answered by a network cache, whatever its age.
    request.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::PreferCache);
    const std::unique_ptr<QNetworkReply, void (*)(QNetworkReply *)> reply(m_network->get(request),
                                                                          [](QNetworkReply *r) { r->deleteLater(); });
    pending->reply = reply.get();
    if (!reply->isFinished())
        co_await qCoro(reply.get(), &QNetworkReply::finished);

    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (reply->error() != QNetworkReply::NoError || status != 200)
        co_return QImage();
    co_return QImage::fromData(reply->readAll());
}

#include "ArtworkManager.moc"
