#include "HomeSectionsModel.h"

#include "coordinator/AppState.h"

HomeSectionsModel::HomeSectionsModel(AppState &state, QObject *parent)
    : KeyedListModel(parent)
    , m_state(state)
{
    update();
}

int HomeSectionsModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_shelves.size());
}

QVariant HomeSectionsModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const Shelf &shelf = m_shelves[index.row()];
    switch (role) {
    case KeyRole: return shelf.id;
    case TitleRole: return shelf.title;
    case SubtitleRole: return shelf.subtitle;
    case CardsRole: return QVariant::fromValue(m_cards.value(shelf.id));
    case TilesRole: return shelf.tiles;
    default: return {};
    }
}

QHash<int, QByteArray> HomeSectionsModel::roleNames() const
{
    return {
        {KeyRole, "key"}, {TitleRole, "title"}, {SubtitleRole, "subtitle"}, {CardsRole, "cards"}, {TilesRole, "tiles"}};
}

void HomeSectionsModel::update()
{
    const QList<HomeSection> sections = m_state.engine().sections();
    QList<Shelf> shelves;
    QSet<QString> ids;
    for (const HomeSection &section : sections) {
        const SectionContent &content = section.content;
        shelves.append({section.id, section.title, section.subtitle.value_or(QString()),
                        content.kind == SectionContent::Kind::Genres});
        ids.insert(section.id);
        // The cards are in place before a new shelf is announced.
        CardListModel *&cards = m_cards[section.id];
        if (!cards)
            cards = new CardListModel(m_state, this);
        const bool songs = content.kind == SectionContent::Kind::Tracks || content.kind == SectionContent::Kind::Resume;
        cards->setCards(cardsOf(content), songs ? std::optional(content.tracks) : std::nullopt);
    }
    sync(
        m_shelves, shelves, [](const Shelf &shelf) { return shelf.id; },
        [this](int row, const Shelf &) {
            Q_EMIT dataChanged(index(row), index(row), {TitleRole, SubtitleRole, TilesRole});
        });
    for (auto it = m_cards.begin(); it != m_cards.end();) {
        if (ids.contains(it.key())) {
            ++it;
            continue;
        }
        it.value()->deleteLater();
        it = m_cards.erase(it);
    }
}

QList<Card> HomeSectionsModel::cardsOf(const SectionContent &content) const
{
    QList<Card> cards;
    switch (content.kind) {
    case SectionContent::Kind::Tracks:
    case SectionContent::Kind::Resume:
        for (const Track &track : content.tracks)
            cards.append(Card::ofTrack(track));
        break;
    case SectionContent::Kind::Stations:
        for (const Station &station : content.stations)
            cards.append(Card::ofStation(station));
        break;
    case SectionContent::Kind::Playlists:
        for (const QUuid &id : content.playlists) {
            if (const std::optional<Playlist> playlist = m_state.library().playlist(id))
                cards.append(Card::ofPlaylist(*playlist));
        }
        break;
    case SectionContent::Kind::Genres:
        for (const QString &name : content.genres)
            cards.append(Card::ofGenre(name));
        break;
    }
    return cards;
}
