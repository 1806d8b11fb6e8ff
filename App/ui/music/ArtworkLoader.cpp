#include "ArtworkLoader.h"

#include "ArtworkProvider.h"
#include "music/ArtworkManager.h"

#include <QPointer>
#include <QQmlEngine>

ArtworkLoader::ArtworkLoader(QObject *parent)
    : QObject(parent)
{}

ArtworkLoader::~ArtworkLoader()
{
    m_cancel.cancel();
    if (m_manager && loaded())
        m_manager->release(m_picture);
}

void ArtworkLoader::setUrls(const QList<QUrl> &urls)
{
    if (urls == m_urls)
        return;
    const bool restart = urls.value(0) != m_urls.value(0) || urls.isEmpty() != m_urls.isEmpty();
    m_urls = urls;
    Q_EMIT urlsChanged();
    if (restart && m_complete)
        start();
}

void ArtworkLoader::setRadius(int radius)
{
    if (std::exchange(m_radius, radius) == radius)
        return;
    Q_EMIT radiusChanged();
    if (loaded())
        Q_EMIT pictureChanged();
}

QUrl ArtworkLoader::source() const
{
    return loaded() ? ArtworkProvider::pictureUrl(m_picture, m_radius) : QUrl();
}

QUrl ArtworkLoader::backdrop() const
{
    return loaded() ? ArtworkProvider::backdropUrl(m_picture) : QUrl();
}

void ArtworkLoader::componentComplete()
{
    m_complete = true;
    if (!m_manager)
        m_manager = ArtworkProvider::managerOf(qmlEngine(this));
    start();
}

void ArtworkLoader::start()
{
    m_cancel.cancel();
    m_cancel = CancelToken();
    if (!m_manager || m_urls.isEmpty()) {
        show(QUrl());
        return;
    }
    // The best picture held shows at once: the small one a list row loaded stands in for the
    // large one, which is still asked for and replaces it when it comes.
    const auto held = std::find_if(m_urls.cbegin(), m_urls.cend(),
                                   [this](const QUrl &url) { return !m_manager->cached(url).isNull(); });
    if (held != m_urls.cend())
        show(*held);
    if (held != m_urls.cbegin())
        load(m_urls, m_cancel);
}

QCoro::Task<> ArtworkLoader::load(QList<QUrl> urls, CancelToken cancel)
{
    const QPointer<ArtworkLoader> self(this);
    const QPointer<ArtworkManager> manager(m_manager);
    const QImage found = co_await manager->image(urls, cancel);
    if (!self || !manager || cancel.isCancelled())
        co_return;
    QUrl picture;
    if (!found.isNull()) {
        const auto held = std::find_if(urls.begin(), urls.end(),
                                       [&manager](const QUrl &url) { return !manager->cached(url).isNull(); });
        if (held != urls.end())
            picture = *held;
    }
    show(picture);
}

void ArtworkLoader::show(const QUrl &picture)
{
    if (m_picture == picture)
        return;
    // The picture on screen stays in memory while it shows, whatever the cache drops meanwhile.
    if (m_manager) {
        if (!picture.isEmpty())
            m_manager->hold(picture);
        if (!m_picture.isEmpty())
            m_manager->release(m_picture);
    }
    m_picture = picture;
    Q_EMIT pictureChanged();
}
