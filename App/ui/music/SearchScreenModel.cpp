#include "SearchScreenModel.h"

#include "coordinator/AppState.h"
#include "music/LibraryStore.h"
#include "player/PlayerManager.h"
#include "search/SearchManager.h"

namespace {
constexpr int shownRecents = 12;
}

SearchScreenModel::SearchScreenModel(AppState *state, QObject *parent)
    : QObject(parent)
    , m_state(state)
    , m_search(&state->search())
    , m_playlists(*state)
    , m_tracks(state)
{
    connect(m_search, &SearchManager::phaseChanged, this, &SearchScreenModel::faceChanged);
    connect(m_search, &SearchManager::submittedChanged, this, &SearchScreenModel::faceChanged);
    connect(m_search, &SearchManager::resultsChanged, this, &SearchScreenModel::updateResults);
    connect(&state->library(), &LibraryStore::libraryChanged, this, &SearchScreenModel::updateRecents);
    m_recents = state->library().searches().mid(0, shownRecents);
    updateResults();
}

QString SearchScreenModel::face() const
{
    switch (m_search->phase()) {
    case SearchManager::SearchPhase::Idle: return QStringLiteral("idle");
    case SearchManager::SearchPhase::Loading: return QStringLiteral("loading");
    case SearchManager::SearchPhase::Done: return QStringLiteral("done");
    case SearchManager::SearchPhase::Failed: break;
    }
    return QStringLiteral("failed");
}

QString SearchScreenModel::notice() const
{
    return QStringLiteral("Searching YouTube for “") + m_search->submitted() + QStringLiteral("”…");
}

QString SearchScreenModel::message() const
{
    return m_search->message();
}

QString SearchScreenModel::title() const
{
    if (const std::optional<QString> link = m_search->linkTitle())
        return *link;
    return QStringLiteral("Results for “") + m_search->submitted() + QStringLiteral("”");
}

QString SearchScreenModel::count() const
{
    return QString::number(m_tracks.rowCount()) + QStringLiteral(" songs");
}

bool SearchScreenModel::fromLink() const
{
    return m_search->linkTitle().has_value();
}

bool SearchScreenModel::hasPlaylists() const
{
    return m_playlists.rowCount() > 0;
}

void SearchScreenModel::play()
{
    m_state->player().play(m_tracks.tracks(), 0, false);
}

void SearchScreenModel::shuffle()
{
    m_state->player().play(m_tracks.tracks(), 0, true);
}

void SearchScreenModel::startRadio()
{
    if (!m_tracks.tracks().isEmpty())
        m_state->player().startRadio(m_tracks.tracks().constFirst());
}

void SearchScreenModel::saveAsPlaylist()
{
    // Not trimmed: a title of blanks stays as the site gave it.
    QString name = listName();
    if (name.isEmpty())
        name = QStringLiteral("New Playlist");
    m_state->library().createPlaylist(name, m_tracks.tracks(), m_search->submitted());
    m_state->setToast(QStringLiteral("Saved “") + name + QStringLiteral("”"));
}

void SearchScreenModel::downloadAll()
{
    m_state->download(m_tracks.tracks(), listName());
}

void SearchScreenModel::search(const QString &text)
{
    m_search->submit(text, &m_state->player());
}

void SearchScreenModel::tryAgain()
{
    search(m_search->submitted());
}

void SearchScreenModel::clearRecents()
{
    m_state->library().clearSearches();
}

void SearchScreenModel::updateRecents()
{
    const QStringList recents = m_state->library().searches().mid(0, shownRecents);
    if (recents == m_recents)
        return;
    m_recents = recents;
    Q_EMIT recentsChanged();
}

void SearchScreenModel::updateResults()
{
    QList<Card> cards;
    for (const PlaylistRef &ref : m_search->playlists())
        cards.append(Card::ofRef(ref));
    m_playlists.setCards(cards);
    m_tracks.setTracks(m_search->tracks());
    Q_EMIT resultsChanged();
}

QString SearchScreenModel::listName() const
{
    return m_search->linkTitle().value_or(QStringLiteral("YouTube Playlist"));
}
