#include "SearchManager.h"

#include "music/LibraryStore.h"
#include "music/YTMusic.h"
#include "player/MusicCatalog.h"
#include "player/PlayerManager.h"

namespace {

constexpr int linkLimit = 200;
constexpr int searchCount = 25;
constexpr int trendingCount = 20;

} // namespace

SearchManager::SearchManager(LibraryStore *library, MusicCatalog *catalog, QObject *parent)
    : QObject(parent)
    , m_library(library)
    , m_catalog(catalog)
{}

void SearchManager::setQuery(const QString &query)
{
    if (m_query == query)
        return;
    m_query = query;
    Q_EMIT queryChanged();
}

void SearchManager::setResults(const QList<Track> &tracks, const QList<PlaylistRef> &playlists,
                               const std::optional<QString> &linkTitle)
{
    m_tracks = tracks;
    m_playlists = playlists;
    m_linkTitle = linkTitle;
    Q_EMIT resultsChanged();
}

void SearchManager::setPhase(SearchPhase phase, const QString &message)
{
    m_phase = phase;
    m_message = message;
    Q_EMIT phaseChanged();
}

void SearchManager::submit(const std::optional<QString> &text, PlayerManager *player)
{
    const QString q = text.value_or(m_query).trimmed();
    if (q.isEmpty())
        return;
    setQuery(q);
    m_submitted = q;
    Q_EMIT submittedChanged();
    m_cancel.cancel();
    m_cancel = CancelToken();
    setResults({}, {}, std::nullopt);
    setPhase(SearchPhase::Loading);
    if (YTMusic::isYouTubeURL(q)) {
        runLink(q, player, m_cancel);
    } else {
        m_library->recordSearch(q);
        runSearch(q, m_cancel);
    }
}

QCoro::Task<> SearchManager::runLink(QString link, QPointer<PlayerManager> player, CancelToken cancel)
{
    const QPointer<SearchManager> self(this);
    const MusicResult<YTMusic::Expansion> expanded = co_await m_catalog->expand(link, linkLimit, cancel);
    if (!self || cancel.isCancelled())
        co_return;
    if (!expanded.ok()) {
        setPhase(SearchPhase::Failed, expanded.error().message);
        co_return;
    }
    const YTMusic::Expansion &list = expanded.value();
    // A single video comes back as one untitled placeholder: it plays at once.
    if (list.tracks.size() == 1 && list.title.isEmpty()) {
        if (player)
            player->play(list.tracks, 0, false);
        setResults(list.tracks, {}, std::nullopt);
    } else {
        m_library->registerTracks(list.tracks);
        setResults(list.tracks, {}, list.title);
    }
    setPhase(SearchPhase::Done);
}

QCoro::Task<> SearchManager::runSearch(QString text, CancelToken cancel)
{
    const QPointer<SearchManager> self(this);
    // Started first so the playlist search runs beside the track search.
    QCoro::Task<QList<PlaylistRef>> playlistSearch =
        m_catalog->searchPlaylists(text + QStringLiteral(" playlist"), cancel);

    QList<Track> tracks;
    QString error;
    // An empty answer is often a passing hiccup of the site: one more try.
    for (int attempt = 0; attempt < 2 && tracks.isEmpty(); ++attempt) {
        const MusicResult<QList<Track>> found = co_await m_catalog->search(text, searchCount, cancel);
        if (!self || cancel.isCancelled())
            co_return;
        if (found.ok())
            tracks = found.value();
        else
            error = found.error().message;
    }

    const QList<PlaylistRef> playlists = co_await playlistSearch;
    if (!self || cancel.isCancelled())
        co_return;
    m_library->registerTracks(tracks);
    setResults(tracks, playlists, std::nullopt);
    if (!tracks.isEmpty())
        setPhase(SearchPhase::Done);
    else if (!error.isEmpty())
        setPhase(SearchPhase::Failed, error);
    else
        setPhase(SearchPhase::Failed, QStringLiteral("No results for \u201C%1\u201D.").arg(text));
}

void SearchManager::loadTrending()
{
    if (m_trendingPhase == SearchPhase::Loading || m_trendingPhase == SearchPhase::Done)
        return;
    m_trendingPhase = SearchPhase::Loading;
    m_trendingMessage.clear();
    Q_EMIT trendingChanged();
    runTrending();
}

QCoro::Task<> SearchManager::runTrending()
{
    const QPointer<SearchManager> self(this);
    const MusicResult<QList<Track>> found =
        co_await m_catalog->search(QStringLiteral("top music hits this week"), trendingCount, CancelToken());
    if (!self)
        co_return;
    if (found.ok()) {
        m_library->registerTracks(found.value());
        m_trending = found.value();
        m_trendingPhase = SearchPhase::Done;
    } else {
        // The shelf keeps what it showed before.
        m_trendingPhase = SearchPhase::Failed;
        m_trendingMessage = found.error().message;
    }
    Q_EMIT trendingChanged();
}
