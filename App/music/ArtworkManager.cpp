#include "ArtworkManager.h"

#include "core/AppPaths.h"
#include "core/SharedResult.h"

#include <QBuffer>
#include <QCoroNetworkReply>
#include <QCoroSignal>
#include <QCryptographicHash>
#include <QDir>
#include <QImageReader>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPointer>
#include <QSaveFile>

#include <memory>

// One load under way. Later callers for the same link wait for its shared result: a coroutine
// task cannot be awaited twice.
struct PendingArtwork
{
    // Callers waiting for the image, and the download they wait for.
    int waiters = 0;
    QPointer<QNetworkReply> reply;
    SharedResult<QImage> result;
};

namespace {

constexpr int requestTimeoutMs = 20000;
// Picture files kept for other programs; one is written per song shown.
constexpr int filesKept = 16;
// Every picture costs at least a 400th of the budget, so the budget bounds the count as well.
constexpr qsizetype leastCost =
    (ArtworkManager::cacheBudget / 1024 + ArtworkManager::cacheLimit - 1) / ArtworkManager::cacheLimit;
constexpr qsizetype budgetKiB = leastCost * ArtworkManager::cacheLimit;

qsizetype costOf(const QImage &image)
{
    return std::max(qsizetype(image.sizeInBytes() / 1024), leastCost);
}

} // namespace

ArtworkManager::ArtworkManager(QNetworkAccessManager *network, QObject *parent)
    : QObject(parent)
    , m_network(network)
    , m_cache(budgetKiB)
{}

ArtworkManager::~ArtworkManager()
{
    // Callers still waiting get no image rather than waiting forever.
    for (const std::shared_ptr<PendingArtwork> &pending : std::as_const(m_inflight))
        pending->result.finish(QImage());
}

QCoro::Task<QImage> ArtworkManager::image(QUrl url)
{
    return image(std::move(url), CancelToken());
}

const QImage *ArtworkManager::find(const QUrl &url) const
{
    if (const QImage *image = m_cache.object(url))
        return image;
    const auto held = m_held.find(url);
    return held != m_held.end() ? &held->image : nullptr;
}

QImage ArtworkManager::cached(const QUrl &url) const
{
    const QImage *image = find(url);
    return image ? *image : QImage();
}

void ArtworkManager::hold(const QUrl &url)
{
    Held &held = m_held[url];
    if (held.views++ == 0)
        held.image = cached(url);
}

void ArtworkManager::release(const QUrl &url)
{
    const auto held = m_held.find(url);
    if (held != m_held.end() && --held->views == 0)
        m_held.erase(held);
}

// Every caller waits for the one download of the link. One that gives up no longer counts; when
// none is left the download is aborted, and whoever still listens gets no image.
QCoro::Task<QImage> ArtworkManager::image(QUrl url, CancelToken cancel)
{
    if (const QImage *cached = find(url))
        co_return *cached;
    if (cancel.isCancelled())
        co_return QImage();
    std::shared_ptr<PendingArtwork> pending = m_inflight.value(url);
    const bool first = !pending;
    if (first) {
        pending = std::make_shared<PendingArtwork>();
        m_inflight.insert(url, pending);
    }
    ++pending->waiters;
    const int subscription = cancel.subscribe([guard = std::weak_ptr(pending)] {
        const std::shared_ptr<PendingArtwork> pending = guard.lock();
        if (pending && --pending->waiters == 0 && pending->reply && !pending->reply->isFinished())
            pending->reply->abort();
    });
    if (!first) {
        const QImage shared = co_await pending->result;
        cancel.unsubscribe(subscription);
        co_return shared;
    }
    // The caller that started the download gets its result even when the manager is gone.
    const QPointer<ArtworkManager> self(this);
    const QImage loaded = co_await load(url, pending.get());
    cancel.unsubscribe(subscription);
    if (!self)
        co_return loaded;
    m_inflight.remove(url);
    if (!loaded.isNull())
        m_cache.insert(url, new QImage(loaded), costOf(loaded));
    pending->result.finish(loaded);
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

// Asked for again each time the song's details are read: the last answer is kept, and the picture
// is hashed and written only when it is another one.
QString ArtworkManager::fileFor(const QImage &image)
{
    if (image.isNull())
        return {};
    if (m_lastFile.first == image.cacheKey())
        return m_lastFile.second;
    QCryptographicHash hash(QCryptographicHash::Sha1);
    hash.addData(QByteArrayView(reinterpret_cast<const char *>(image.constBits()), image.sizeInBytes()));
    const QDir folder(AppPaths::sub(QStringLiteral("Cache/Artwork")));
    const QString path = folder.filePath(QString::fromLatin1(hash.result().toHex()) + QStringLiteral(".jpg"));
    if (!QFileInfo::exists(path)) {
        QSaveFile file(path);
        if (!file.open(QIODevice::WriteOnly) || !image.save(&file, "JPEG", 90) || !file.commit())
            return {};
        const QFileInfoList files = folder.entryInfoList(QDir::Files, QDir::Time);
        for (qsizetype i = filesKept; i < files.size(); ++i)
            QFile::remove(files.at(i).filePath());
    }
    m_lastFile = {image.cacheKey(), path};
    return path;
}

QCoro::Task<QImage> ArtworkManager::load(QUrl url, PendingArtwork *pending)
{
    // The manager may be gone when the reply ends: nothing of it is read after the wait.
    const int largestSide = m_largestSide;
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
    co_return decoded(reply->readAll(), largestSide);
}

QImage ArtworkManager::decoded(const QByteArray &data, int largestSide)
{
    QBuffer buffer;
    buffer.setData(data);
    QImageReader reader(&buffer);
    const QSize size = reader.size();
    if (!size.isValid())
        return reader.read();
    // Every view crops to a square: only the middle one is kept, and at no more than the largest
    // side shown. Decoded straight to it: a JPEG decoder shrinks and clips while it reads.
    const int shorter = std::min(size.width(), size.height());
    const int side = largestSide > 0 ? std::min(shorter, largestSide) : shorter;
    const QSize scaled = size.scaled(side, side, Qt::KeepAspectRatioByExpanding);
    reader.setScaledSize(scaled);
    reader.setScaledClipRect(QRect((scaled.width() - side) / 2, (scaled.height() - side) / 2, side, side));
    return reader.read();
}
