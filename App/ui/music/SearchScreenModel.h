#pragma once

#include "CardListModel.h"
#include "TrackListModel.h"

#include <QObject>
#include <QStringList>

class AppState;
class SearchManager;

// The Search screen: one face per phase of the last search, the recent searches while nothing was
// searched yet, and the results with their actions. Searches start elsewhere; the screen only
// repeats one (Try again, a recent search).
class SearchScreenModel final : public QObject
{
    Q_OBJECT
    // "idle", "loading", "done" or "failed".
    Q_PROPERTY(QString face READ face NOTIFY faceChanged)
    // The loading face's line, the failure's message.
    Q_PROPERTY(QString notice READ notice NOTIFY faceChanged)
    Q_PROPERTY(QString message READ message NOTIFY faceChanged)
    // The newest 12 recent searches; none shows the hint instead.
    Q_PROPERTY(QStringList recents READ recents NOTIFY recentsChanged)
    // The results' title (the link's title wins, even empty) and count line.
    Q_PROPERTY(QString title READ title NOTIFY resultsChanged)
    Q_PROPERTY(QString count READ count NOTIFY resultsChanged)
    // The results are an expanded playlist or mix: Save as Playlist and Download All show.
    Q_PROPERTY(bool fromLink READ fromLink NOTIFY resultsChanged)
    Q_PROPERTY(bool hasPlaylists READ hasPlaylists NOTIFY resultsChanged)
    // The playlists a text search found, as cards: a click expands the playlist here.
    Q_PROPERTY(CardListModel *playlists READ playlists CONSTANT)
    Q_PROPERTY(TrackListModel *tracks READ tracks CONSTANT)

public:
    explicit SearchScreenModel(AppState *state, QObject *parent = nullptr);

    [[nodiscard]] QString face() const;
    [[nodiscard]] QString notice() const;
    [[nodiscard]] QString message() const;
    [[nodiscard]] QStringList recents() const { return m_recents; }
    [[nodiscard]] QString title() const;
    [[nodiscard]] QString count() const;
    [[nodiscard]] bool fromLink() const;
    [[nodiscard]] bool hasPlaylists() const;
    [[nodiscard]] CardListModel *playlists() { return &m_playlists; }
    [[nodiscard]] TrackListModel *tracks() { return &m_tracks; }

    Q_INVOKABLE void play();
    Q_INVOKABLE void shuffle();
    Q_INVOKABLE void startRadio();
    Q_INVOKABLE void saveAsPlaylist();
    Q_INVOKABLE void downloadAll();
    // Searches the text again: Try again with the last one, or a recent search.
    Q_INVOKABLE void search(const QString &text);
    Q_INVOKABLE void tryAgain();
    Q_INVOKABLE void clearRecents();

Q_SIGNALS:
    void faceChanged();
    void recentsChanged();
    void resultsChanged();

private:
    void updateRecents();
    void updateResults();
    // The link's title, or the folder and playlist name of a list without one.
    [[nodiscard]] QString listName() const;

    AppState *m_state;
    SearchManager *m_search;
    CardListModel m_playlists;
    TrackListModel m_tracks;
    QStringList m_recents;
};
