#pragma once

#include "CardListModel.h"
#include "KeyedListModel.h"
#include "recommend/HomeSection.h"

#include <QHash>

class AppState;

// The Home screen's shelves, one per recommendation section, keyed by the section's id. New
// sections are brought in place: an unchanged section announces nothing and keeps its cards, a
// changed one edits only what differs.
class HomeSectionsModel final : public KeyedListModel
{
    Q_OBJECT

public:
    enum Roles {
        KeyRole = Qt::UserRole + 1,
        TitleRole,
        SubtitleRole, // empty for none
        CardsRole,    // the shelf's CardListModel
        TilesRole,    // genre tiles rather than cards
    };

    explicit HomeSectionsModel(AppState &state, QObject *parent = nullptr);

    [[nodiscard]] int rowCount(const QModelIndex &parent = {}) const override;
    [[nodiscard]] QVariant data(const QModelIndex &index, int role) const override;
    [[nodiscard]] QHash<int, QByteArray> roleNames() const override;

    // Rebuilds from the engine's sections and the library's playlists.
    void update();
    [[nodiscard]] CardListModel *cards(const QString &sectionID) const { return m_cards.value(sectionID); }

private:
    struct Shelf
    {
        QString id;
        QString title;
        QString subtitle;
        bool tiles = false;
        bool operator==(const Shelf &) const = default;
    };

    // The cards a section shows; a playlist that is gone shows none.
    [[nodiscard]] QList<Card> cardsOf(const SectionContent &content) const;

    AppState &m_state;
    QList<Shelf> m_shelves;
    QHash<QString, CardListModel *> m_cards;
};
