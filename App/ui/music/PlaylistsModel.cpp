#include "PlaylistsModel.h"

#include "coordinator/AppState.h"

PlaylistsModel::PlaylistsModel(AppState &state, QObject *parent)
    : QObject(parent)
    , m_state(state)
    , m_cards(state)
{
    connect(&state.library(), &LibraryStore::libraryChanged, this, &PlaylistsModel::update);
    update();
}

void PlaylistsModel::newPlaylist()
{
    NamePrompt prompt;
    prompt.title = QStringLiteral("New Playlist");
    prompt.action = QStringLiteral("Create");
    // The sheet may answer after this screen is gone: only the coordinator is held.
    AppState *state = &m_state;
    prompt.done = [state](const QString &name) {
        const Playlist playlist = state->library().createPlaylist(name, {});
        state->setRoute(Route::playlist(playlist.id));
    };
    m_state.setNamePrompt(prompt);
}

void PlaylistsModel::importPlaylist()
{
    NamePrompt prompt;
    prompt.title = QStringLiteral("Paste a YouTube playlist or mix link");
    prompt.action = QStringLiteral("Import");
    PlaylistImporter *importer = &m_state.importer();
    prompt.done = [importer](const QString &link) { importer->import(link); };
    m_state.setNamePrompt(prompt);
}

void PlaylistsModel::update()
{
    const bool wasEmpty = empty();
    QList<Card> cards;
    for (const Playlist &playlist : m_state.library().playlists())
        cards.append(Card::ofPlaylist(playlist));
    m_cards.setCards(cards);
    if (empty() != wasEmpty)
        Q_EMIT emptyChanged();
}
