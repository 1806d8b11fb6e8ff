#include "ExploreModel.h"

#include "coordinator/AppState.h"

namespace {
QList<Card> cardsOf(const QStringList &names, Card (*make)(const QString &))
{
    QList<Card> cards;
    for (const QString &name : names)
        cards.append(make(name));
    return cards;
}
} // namespace

ExploreModel::ExploreModel(AppState &state, const QStringList &moods, QObject *parent)
    : QObject(parent)
    , m_state(state)
    , m_trending(state)
    , m_genres(state)
    , m_moods(state)
{
    m_genres.setCards(cardsOf(genreNames(), &Card::ofGenre));
    m_moods.setCards(cardsOf(moods, &Card::ofMood));
    connect(&state.search(), &SearchManager::trendingChanged, this, &ExploreModel::updateTrending);
    updateTrending();
}

QString ExploreModel::trendingState() const
{
    switch (m_state.search().trendingPhase()) {
    case SearchManager::SearchPhase::Done: return QStringLiteral("done");
    case SearchManager::SearchPhase::Failed: return QStringLiteral("failed");
    case SearchManager::SearchPhase::Idle:
    case SearchManager::SearchPhase::Loading: break;
    }
    return QStringLiteral("loading");
}

QString ExploreModel::trendingMessage() const
{
    return m_state.search().trendingMessage();
}

const QStringList &ExploreModel::genreNames()
{
    static const QStringList names{QStringLiteral("Pop"),        QStringLiteral("Hip-Hop"),   QStringLiteral("Rock"),
                                   QStringLiteral("Electronic"), QStringLiteral("Lofi"),      QStringLiteral("Jazz"),
                                   QStringLiteral("R&B"),        QStringLiteral("Latin"),     QStringLiteral("Country"),
                                   QStringLiteral("Indie"),      QStringLiteral("Classical"), QStringLiteral("K-Pop"),
                                   QStringLiteral("Metal"),      QStringLiteral("Chill")};
    return names;
}

void ExploreModel::load()
{
    m_state.search().loadTrending();
}

void ExploreModel::updateTrending()
{
    const QList<Track> tracks = m_state.search().trending();
    QList<Card> cards;
    for (const Track &track : tracks)
        cards.append(Card::ofTrack(track));
    m_trending.setCards(cards, tracks);
    Q_EMIT trendingChanged();
}
