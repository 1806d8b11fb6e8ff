#include "PlaylistDetailModel.h"

#include "coordinator/AppState.h"
#include "music/LibraryStore.h"

PlaylistDetailModel::PlaylistDetailModel(AppState *state, const QUuid &id, QObject *parent)
    : SongListScreenModel(state, QStringLiteral("music.note.list"),
                          QStringLiteral("Add songs with “Add to Playlist” on any track."), parent)
    , m_id(id)
{
    tracks()->setPlaylistID(id);
    connect(&state->library(), &LibraryStore::libraryChanged, this, &PlaylistDetailModel::update);
    update();
}

QString PlaylistDetailModel::title() const
{
    return m_playlist ? m_playlist->name : QString();
}

void PlaylistDetailModel::setPlaylistID(const QUuid &id)
{
    m_id = id;
    tracks()->setPlaylistID(id);
    update();
}

void PlaylistDetailModel::rename()
{
    NamePrompt prompt;
    prompt.title = QStringLiteral("Rename Playlist");
    prompt.initial = title();
    prompt.action = QStringLiteral("Rename");
    // The sheet may outlive this screen (a shortcut changes the route): the id by value and the
    // application's state only.
    prompt.done = [state = m_state, id = m_id](const QString &name) { state->library().renamePlaylist(id, name); };
    m_state->setNamePrompt(std::move(prompt));
}

void PlaylistDetailModel::deletePlaylist()
{
    m_state->library().deletePlaylist(m_id);
    m_state->setRoute(Route{Route::Kind::Playlists, {}});
}

void PlaylistDetailModel::move(int source, int destination)
{
    m_state->library().move(m_id, {source}, destination);
}

QList<Track> PlaylistDetailModel::read() const
{
    return m_playlist ? m_playlist->tracks : QList<Track>();
}

QString PlaylistDetailModel::subtitle() const
{
    return m_playlist && m_playlist->sourceURL ? QStringLiteral("Imported playlist") : QStringLiteral("Playlist");
}

void PlaylistDetailModel::update()
{
    m_playlist = m_state->library().playlist(m_id);
    reload();
}
