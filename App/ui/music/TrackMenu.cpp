#include "TrackMenu.h"

#include "coordinator/AppState.h"

namespace {
QVariantMap entry(const QString &key, const QString &text = {}, const QString &symbol = {})
{
    return {{QStringLiteral("key"), key}, {QStringLiteral("text"), text}, {QStringLiteral("symbol"), symbol}};
}

QVariantMap divider()
{
    return entry(QStringLiteral("divider"));
}

const QString playlistPrefix = QStringLiteral("playlist:");
} // namespace

TrackMenu::TrackMenu(AppState *state, Track track, std::optional<QList<Track>> context, std::optional<QUuid> playlistID,
                     QObject *parent)
    : QObject(parent)
    , m_state(state)
    , m_track(std::move(track))
    , m_context(std::move(context))
    , m_playlistID(playlistID)
{
    const bool liked = state->library().likes().contains(m_track.id);
    m_entries = {
        entry(QStringLiteral("play"), QStringLiteral("Play"), QStringLiteral("play.fill")),
        entry(QStringLiteral("radio"), QStringLiteral("Start Radio"), QStringLiteral("dot.radiowaves.left.and.right")),
        entry(QStringLiteral("next"), QStringLiteral("Play Next"), QStringLiteral("text.insert")),
        entry(QStringLiteral("queue"), QStringLiteral("Add to Queue"), QStringLiteral("text.append")),
        entry(QStringLiteral("playlists"), QStringLiteral("Add to Playlist"), QStringLiteral("music.note.list")),
        liked ? entry(QStringLiteral("like"), QStringLiteral("Remove from Liked Songs"), QStringLiteral("heart.slash"))
              : entry(QStringLiteral("like"), QStringLiteral("Add to Liked Songs"), QStringLiteral("heart")),
        entry(QStringLiteral("download"), QStringLiteral("Download"), QStringLiteral("arrow.down.circle")),
    };
    if (m_playlistID) {
        m_entries.append(divider());
        m_entries.append(
            entry(QStringLiteral("remove"), QStringLiteral("Remove from Playlist"), QStringLiteral("minus.circle")));
    }

    const QList<Playlist> playlists = state->library().playlists();
    for (const Playlist &playlist : playlists) {
        m_playlistEntries.append(entry(playlistPrefix + QString::number(m_playlistIDs.size()), playlist.name));
        m_playlistIDs.append(playlist.id);
        m_playlistNames.append(playlist.name);
    }
    if (!playlists.isEmpty())
        m_playlistEntries.append(divider());
    m_playlistEntries.append(entry(QStringLiteral("newPlaylist"), QStringLiteral("New Playlist…")));
}

void TrackMenu::choose(const QString &key)
{
    LibraryStore &library = m_state->library();
    PlayerManager &player = m_state->player();
    if (key == QLatin1String("play")) {
        player.play(m_track, m_context);
    } else if (key == QLatin1String("radio")) {
        player.startRadio(m_track);
    } else if (key == QLatin1String("next")) {
        player.playNext(m_track);
        m_state->setToast(QStringLiteral("Will play next"));
    } else if (key == QLatin1String("queue")) {
        player.enqueue({m_track});
        m_state->setToast(QStringLiteral("Added to queue"));
    } else if (key == QLatin1String("like")) {
        library.toggleLike(m_track);
    } else if (key == QLatin1String("download")) {
        m_state->download(m_track);
    } else if (key == QLatin1String("remove") && m_playlistID) {
        library.remove(m_track.id, *m_playlistID);
    } else if (key == QLatin1String("newPlaylist")) {
        promptNewPlaylist();
    } else if (key.startsWith(playlistPrefix)) {
        bool ok = false;
        const int number = key.mid(playlistPrefix.size()).toInt(&ok);
        if (ok && number >= 0 && number < m_playlistIDs.size())
            addToPlaylist(m_playlistIDs.at(number), m_playlistNames.at(number));
    }
}

void TrackMenu::addToPlaylist(const QUuid &id, const QString &name)
{
    m_state->library().add({m_track}, id);
    m_state->setToast(QStringLiteral("Added to ") + name);
}

void TrackMenu::promptNewPlaylist()
{
    NamePrompt prompt;
    prompt.title = QStringLiteral("New Playlist");
    prompt.action = QStringLiteral("Create");
    // The prompt outlives this menu: it holds the song by value and the application state only.
    AppState *state = m_state;
    prompt.done = [state, track = m_track](const QString &name) {
        const Playlist created = state->library().createPlaylist(name, {track});
        state->setToast(QStringLiteral("Added to ") + created.name);
    };
    m_state->setNamePrompt(std::move(prompt));
}
