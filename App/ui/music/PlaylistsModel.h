#pragma once

#include "CardListModel.h"

#include <QObject>

class AppState;

// The Playlists screen: a card per playlist in stored order, and the two ways to make one, each
// asking for its text through the name sheet.
class PlaylistsModel final : public QObject
{
    Q_OBJECT
    Q_PROPERTY(CardListModel *cards READ cards CONSTANT)
    Q_PROPERTY(bool empty READ empty NOTIFY emptyChanged)

public:
    explicit PlaylistsModel(AppState &state, QObject *parent = nullptr);

    [[nodiscard]] CardListModel *cards() { return &m_cards; }
    [[nodiscard]] bool empty() const { return m_cards.rowCount() == 0; }

    // Asks for a name, then opens the new, empty playlist.
    Q_INVOKABLE void newPlaylist();
    // Asks for a link, then imports it in the coordinator's importer.
    Q_INVOKABLE void importPlaylist();

Q_SIGNALS:
    void emptyChanged();

private:
    void update();

    AppState &m_state;
    CardListModel m_cards;
};
