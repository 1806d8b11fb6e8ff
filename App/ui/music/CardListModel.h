#pragma once

#include "Card.h"
#include "KeyedListModel.h"

#include <optional>

class AppState;
class TrackMenu;

// The cards of one shelf or grid, and what a click on each does. A card of the song the player is
// on is marked current; a change of song touches only the cards of the old and the new one.
class CardListModel final : public KeyedListModel
{
    Q_OBJECT

public:
    enum Roles {
        KindRole = Qt::UserRole + 1, // "track", "station", "playlist", "ref", "genre", "mood", "search"
        KeyRole,
        TitleRole,
        SubtitleRole,
        ArtworkRole, // candidate links, best first
        BadgeRole,
        CurrentRole, // a song card of the current song
        HelpRole,
        FromColourRole, // a genre tile's gradient
        ToColourRole,
    };

    explicit CardListModel(AppState &state, QObject *parent = nullptr);

    [[nodiscard]] int rowCount(const QModelIndex &parent = {}) const override;
    [[nodiscard]] QVariant data(const QModelIndex &index, int role) const override;
    [[nodiscard]] QHash<int, QByteArray> roleNames() const override;

    [[nodiscard]] const QList<Card> &cards() const { return m_cards; }
    // Song cards play within `context` when one is given, else alone.
    void setCards(const QList<Card> &cards, const std::optional<QList<Track>> &context = std::nullopt);

    // A click on the card.
    Q_INVOKABLE void activate(int row);
    // A playlist card's menu: the whole playlist from its first song.
    Q_INVOKABLE void play(int row, bool shuffled);
    // A song card's menu, made with its song and the shelf's songs, owned by `owner` (the menu on
    // screen); null for the other cards.
    Q_INVOKABLE TrackMenu *menu(int row, QObject *owner);

private:
    void followCurrent();

    AppState &m_state;
    QList<Card> m_cards;
    std::optional<QList<Track>> m_context;
    QString m_currentID;
};
