#include "LibrarySongsModel.h"

#include "coordinator/AppState.h"
#include "music/LibraryStore.h"

namespace {
QString symbolOf(LibrarySongsModel::Source source)
{
    switch (source) {
    case LibrarySongsModel::Source::Liked: return QStringLiteral("heart.fill");
    case LibrarySongsModel::Source::Recent: return QStringLiteral("clock.fill");
    case LibrarySongsModel::Source::Downloaded: break;
    }
    return QStringLiteral("arrow.down.circle.fill");
}

QString emptyMessageOf(LibrarySongsModel::Source source)
{
    switch (source) {
    case LibrarySongsModel::Source::Liked: return QStringLiteral("Tap the heart on any song to keep it here.");
    case LibrarySongsModel::Source::Recent: return QStringLiteral("Songs you play will show up here.");
    case LibrarySongsModel::Source::Downloaded: break;
    }
    return QStringLiteral("Download a song from its ••• menu or the player bar and it will appear here.");
}
} // namespace

LibrarySongsModel::LibrarySongsModel(AppState *state, Source source, QObject *parent)
    : SongListScreenModel(state, symbolOf(source), emptyMessageOf(source), parent)
    , m_source(source)
{
    LibraryStore *library = &state->library();
    // Every file is looked at for the downloaded list, so only when a download is recorded.
    if (source == Source::Downloaded)
        connect(library, &LibraryStore::downloadsChanged, this, &LibrarySongsModel::reload);
    else
        connect(library, &LibraryStore::libraryChanged, this, &LibrarySongsModel::reload);
    reload();
}

QString LibrarySongsModel::title() const
{
    switch (m_source) {
    case Source::Liked: return QStringLiteral("Liked Songs");
    case Source::Recent: return QStringLiteral("Recently Played");
    case Source::Downloaded: break;
    }
    return QStringLiteral("Downloaded Songs");
}

void LibrarySongsModel::clearHistory()
{
    m_state->library().clearHistory();
}

QList<Track> LibrarySongsModel::read() const
{
    const LibraryStore &library = m_state->library();
    switch (m_source) {
    case Source::Liked: return library.tracks(library.likes()); // newest like first
    case Source::Recent: return library.recentTracks(100);
    case Source::Downloaded: break;
    }
    return library.downloadedTracks();
}

QString LibrarySongsModel::subtitle() const
{
    return m_source == Source::Downloaded ? QStringLiteral("Available offline") : QString();
}
