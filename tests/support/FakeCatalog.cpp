#include "FakeCatalog.h"

#include <QCoroTimer>
#include <QTimer>

QCoro::Task<MusicResult<StreamInfo>> FakeCatalog::resolve(Track track, int attempt, CancelToken cancel)
{
    const QString call = track.id + QLatin1Char('#') + QString::number(attempt);
    resolved.append(call);
    const MusicResult<StreamInfo> answer =
        answers.value(call, answers.value(track.id, StreamInfo{QUrl(QStringLiteral("http://127.0.0.1:9/") + track.id),
                                                               {},
                                                               track,
                                                               QDateTime::currentDateTimeUtc()}));
    if (delay.count() > 0)
        co_await QCoro::sleepFor(delay);
    // As the real resolution ends when its child is killed.
    if (cancel.isCancelled()) {
        cancelled.append(call);
        co_return MusicError{QStringLiteral("Cancelled.")};
    }
    co_return answer;
}

QCoro::Task<bool> FakeCatalog::enter(QString call, CancelToken cancel)
{
    calls.append(call);
    if (!holding)
        co_return true;
    if (cancel.isCancelled()) {
        cancelled.append(call);
        co_return false;
    }
    const int id = m_nextHeld++;
    const int subscription = cancel.subscribe([this, id] { wake(id); });
    co_await HeldCall{this, id};
    cancel.unsubscribe(subscription);
    if (cancel.isCancelled()) {
        cancelled.append(call);
        co_return false;
    }
    co_return true;
}

void FakeCatalog::wake(int id)
{
    const auto held = m_held.find(id);
    if (held == m_held.end())
        return;
    const std::coroutine_handle<> handle = held->second;
    m_held.erase(held);
    // Later, as a child's answer would come: never inside the caller's own cancel or release.
    QTimer::singleShot(0, &m_alive, [handle] { handle.resume(); });
}

void FakeCatalog::release()
{
    while (!m_held.empty())
        wake(m_held.begin()->first);
}

void FakeCatalog::releaseNewest()
{
    if (!m_held.empty())
        wake(m_held.rbegin()->first);
}

MusicResult<QList<Track>> FakeCatalog::take(const QString &key)
{
    auto queued = listings.find(key);
    if (queued == listings.end() || queued->isEmpty())
        return QList<Track>();
    return queued->size() > 1 ? queued->takeFirst() : queued->first();
}

QCoro::Task<MusicResult<QList<Track>>> FakeCatalog::listing(QString key, int count, CancelToken cancel)
{
    const QString call = key + QLatin1Char(' ') + QString::number(count);
    const bool entered = co_await enter(call, cancel);
    if (!entered)
        co_return MusicError{QStringLiteral("Cancelled.")};
    co_return take(key);
}

QCoro::Task<MusicResult<QList<Track>>> FakeCatalog::search(QString query, int count, CancelToken cancel)
{
    return listing(QStringLiteral("search ") + query, count, cancel);
}

QCoro::Task<MusicResult<QList<Track>>> FakeCatalog::radio(QString seed, int limit, CancelToken cancel)
{
    return listing(QStringLiteral("radio ") + seed, limit, cancel);
}

QCoro::Task<MusicResult<QList<Track>>> FakeCatalog::searchNewest(QString artist, int count, CancelToken cancel)
{
    return listing(QStringLiteral("newest ") + artist, count, cancel);
}

QCoro::Task<QList<PlaylistRef>> FakeCatalog::searchPlaylists(QString query, CancelToken cancel)
{
    const QString call = QStringLiteral("playlists %1").arg(query);
    const bool entered = co_await enter(call, cancel);
    if (!entered)
        co_return QList<PlaylistRef>();
    co_return playlists.value(query);
}

QCoro::Task<MusicResult<YTMusic::Expansion>> FakeCatalog::expand(QString url, int limit, CancelToken cancel)
{
    const QString call = QStringLiteral("expand %1 %2").arg(url).arg(limit);
    const bool entered = co_await enter(call, cancel);
    if (!entered)
        co_return MusicError{QStringLiteral("Cancelled.")};
    co_return expansions.value(url, MusicError{QStringLiteral("That link isn\u2019t a playlist.")});
}
