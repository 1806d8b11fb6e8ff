#pragma once

#include "core/CancelToken.h"

#include <QCache>
#include <QCoroTask>
#include <QHash>
#include <QImage>
#include <QList>
#include <QObject>
#include <QUrl>

#include <memory>

class QNetworkAccessManager;
struct PendingArtwork;

// Loads thumbnails over HTTP and keeps recently used decoded images in memory: at most 400 of
// them, in at most 20 MB, each the square a view shows, no larger than the largest view shows it.
// That is some 35 of the largest pictures, twice what 64 MB would hold uncropped. However many
// views ask for one link at once, it is downloaded once; a link that failed is not remembered and
// is tried again next time. A picture a view holds stays while it does, whatever the cache drops.
// Lives on the main thread for the whole run.
class ArtworkManager final : public QObject
{
    Q_OBJECT

public:
    explicit ArtworkManager(QNetworkAccessManager *network, QObject *parent = nullptr);
    ~ArtworkManager() override;

    // The image behind one link; a null image when it cannot be had (transport error, a status
    // other than 200, a body that is no image, 20 s without an answer).
    QCoro::Task<QImage> image(QUrl url);
    // The first image that loads from `urls`, tried one after the other. Once `cancel` fires the
    // caller no longer waits, and a download that no one else waits for is aborted.
    QCoro::Task<QImage> image(QList<QUrl> urls, CancelToken cancel = CancelToken());
    static constexpr int cacheLimit = 400;
    static constexpr qint64 cacheBudget = 20 * 1024 * 1024; // bytes

    // The image already held for `url`, or a null image; starts no download.
    [[nodiscard]] QImage cached(const QUrl &url) const;
    [[nodiscard]] int cachedCount() const { return m_cache.count(); }
    // `image` as a file other programs can read, under "Cache/Artwork": written once per picture
    // (named by its content), keeping the last few. Empty when it cannot be written.
    QString fileFor(const QImage &image);
    // Pictures are kept as their middle square, its side at most `pixels` (0: as they come): the
    // side of the largest square that shows them.
    void setLargestSide(int pixels) { m_largestSide = pixels; }
    // A view shows the picture of `url` (one the manager holds) until it releases it; each hold
    // needs its release.
    void hold(const QUrl &url);
    void release(const QUrl &url);
    // Downloads under way.
    [[nodiscard]] int loadingCount() const { return int(m_inflight.size()); }

private:
    QCoro::Task<QImage> image(QUrl url, CancelToken cancel);
    QCoro::Task<QImage> load(QUrl url, PendingArtwork *pending);
    [[nodiscard]] static QImage decoded(const QByteArray &data, int largestSide);
    [[nodiscard]] const QImage *find(const QUrl &url) const;

    QNetworkAccessManager *m_network;
    // Costs in KiB.
    QCache<QUrl, QImage> m_cache;
    struct Held
    {
        int views = 0;
        QImage image;
    };
    QHash<QUrl, Held> m_held;
    int m_largestSide = 0;
    QHash<QUrl, std::shared_ptr<PendingArtwork>> m_inflight;
    // The file of the picture asked for last, by the image's cache key.
    std::pair<qint64, QString> m_lastFile;
};
