#include "CardListModel.h"

#include "TrackMenu.h"
#include "coordinator/AppState.h"

CardListModel::CardListModel(AppState &state, QObject *parent)
    : KeyedListModel(parent)
    , m_state(state)
{
    PlayerManager &player = state.player();
    if (const std::optional<Track> current = player.current())
        m_currentID = current->id;
    // The current song changes with the index and with a queue replaced under the same index.
    connect(&player, &PlayerManager::indexChanged, this, &CardListModel::followCurrent);
    QueueModel *queue = player.queueModel();
    connect(queue, &QAbstractItemModel::rowsInserted, this, &CardListModel::followCurrent);
    connect(queue, &QAbstractItemModel::rowsRemoved, this, &CardListModel::followCurrent);
    connect(queue, &QAbstractItemModel::modelReset, this, &CardListModel::followCurrent);
}

int CardListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_cards.size());
}

QVariant CardListModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const Card &card = m_cards[index.row()];
    switch (role) {
    case KindRole: return card.kindName();
    case KeyRole: return card.key();
    case TitleRole: return card.title();
    case SubtitleRole: return card.subtitle();
    case ArtworkRole: return QVariant::fromValue(card.artwork());
    case BadgeRole: return card.badge();
    case CurrentRole: return card.kind == Card::Kind::Track && !m_currentID.isEmpty() && card.track.id == m_currentID;
    case HelpRole: return card.help();
    case FromColourRole: return Card::genreColours(card.name).first;
    case ToColourRole: return Card::genreColours(card.name).second;
    default: return {};
    }
}

QHash<int, QByteArray> CardListModel::roleNames() const
{
    return {{KindRole, "kind"},         {KeyRole, "key"},         {TitleRole, "title"},
            {SubtitleRole, "subtitle"}, {ArtworkRole, "artwork"}, {BadgeRole, "badge"},
            {CurrentRole, "current"},   {HelpRole, "help"},       {FromColourRole, "fromColour"},
            {ToColourRole, "toColour"}};
}

void CardListModel::setCards(const QList<Card> &cards, const std::optional<QList<Track>> &context)
{
    m_context = context;
    sync(
        m_cards, cards, [](const Card &card) { return card.key(); },
        [this](int row, const Card &) { Q_EMIT dataChanged(index(row), index(row)); });
}

void CardListModel::activate(int row)
{
    if (row < 0 || row >= m_cards.size())
        return;
    const Card card = m_cards[row];
    PlayerManager &player = m_state.player();
    switch (card.kind) {
    case Card::Kind::Track: player.play(card.track, m_context); return;
    case Card::Kind::Station:
        if (card.station.query)
            player.startQuery(*card.station.query);
        else
            player.startRadio(card.station.seed);
        return;
    // Opening a playlist only navigates; playing is its menu's and its screen's.
    case Card::Kind::Playlist: m_state.setRoute(Route::playlist(card.playlist.id)); return;
    // The search screen expands the link and plays it; the route stays.
    case Card::Kind::PlaylistRef: m_state.search().submit(card.ref.url, &player); return;
    case Card::Kind::Genre:
        m_state.setRoute(Route{Route::Kind::Search, {}});
        m_state.search().submit(card.name + QStringLiteral(" music"), &player);
        return;
    case Card::Kind::Mood: player.startQuery(card.name + QStringLiteral(" music mix")); return;
    case Card::Kind::Search:
        m_state.setRoute(Route{Route::Kind::Search, {}});
        m_state.search().submit(card.name, &player);
        return;
    }
}

void CardListModel::play(int row, bool shuffled)
{
    if (row < 0 || row >= m_cards.size() || m_cards[row].kind != Card::Kind::Playlist)
        return;
    // An empty playlist changes nothing: the player ignores an empty list.
    m_state.player().play(m_cards[row].playlist.tracks, 0, shuffled);
}

TrackMenu *CardListModel::menu(int row, QObject *owner)
{
    if (row < 0 || row >= m_cards.size() || m_cards[row].kind != Card::Kind::Track)
        return nullptr;
    return new TrackMenu(&m_state, m_cards[row].track, m_context, std::nullopt, owner);
}

void CardListModel::followCurrent()
{
    const std::optional<Track> current = m_state.player().current();
    const QString id = current ? current->id : QString();
    if (id == m_currentID)
        return;
    const QString before = std::exchange(m_currentID, id);
    for (qsizetype row = 0; row < m_cards.size(); ++row) {
        const Card &card = m_cards[row];
        if (card.kind == Card::Kind::Track && (card.track.id == before || card.track.id == id))
            Q_EMIT dataChanged(index(int(row)), index(int(row)), {CurrentRole});
    }
}
