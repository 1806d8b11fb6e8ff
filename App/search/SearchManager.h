#pragma once

#include "core/CancelToken.h"
#include "music/PlaylistRef.h"
#include "music/Track.h"

#include <QCoroTask>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>

#include <optional>

class LibraryStore;
class MusicCatalog;
class PlayerManager;

// The model behind the music search box: submitted text becomes track and playlist results from
// the catalogue, a pasted link becomes a list (a single video plays at once), and the Explore
// screen's trending shelf is filled once.
//
// A newer submission cancels the running one, whose results never appear; the trending shelf
// loads on its own and is never cancelled.
class SearchManager final : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString query READ query WRITE setQuery NOTIFY queryChanged)
    Q_PROPERTY(QString submitted READ submitted NOTIFY submittedChanged)
    Q_PROPERTY(QList<Track> tracks READ tracks NOTIFY resultsChanged)
    Q_PROPERTY(QList<PlaylistRef> playlists READ playlists NOTIFY resultsChanged)
    Q_PROPERTY(QString linkTitle READ linkTitleText NOTIFY resultsChanged)
    Q_PROPERTY(SearchPhase phase READ phase NOTIFY phaseChanged)
    Q_PROPERTY(QString message READ message NOTIFY phaseChanged)
    Q_PROPERTY(QList<Track> trending READ trending NOTIFY trendingChanged)
    Q_PROPERTY(SearchPhase trendingPhase READ trendingPhase NOTIFY trendingChanged)
    Q_PROPERTY(QString trendingMessage READ trendingMessage NOTIFY trendingChanged)

public:
    // A failed phase carries the message shown to the user.
    enum class SearchPhase { Failed, Idle, Loading, Done };
    Q_ENUM(SearchPhase)

    SearchManager(LibraryStore *library, MusicCatalog *catalog, QObject *parent = nullptr);

    [[nodiscard]] QString query() const { return m_query; }
    void setQuery(const QString &query);
    [[nodiscard]] QString submitted() const { return m_submitted; }
    [[nodiscard]] QList<Track> tracks() const { return m_tracks; }
    [[nodiscard]] QList<PlaylistRef> playlists() const { return m_playlists; }
    // The title of an expanded playlist or mix link; none for searches and single videos.
    [[nodiscard]] std::optional<QString> linkTitle() const { return m_linkTitle; }
    [[nodiscard]] QString linkTitleText() const { return m_linkTitle.value_or(QString()); }
    [[nodiscard]] SearchPhase phase() const { return m_phase; }
    [[nodiscard]] QString message() const { return m_message; }
    [[nodiscard]] QList<Track> trending() const { return m_trending; }
    [[nodiscard]] SearchPhase trendingPhase() const { return m_trendingPhase; }
    [[nodiscard]] QString trendingMessage() const { return m_trendingMessage; }

    // Searches for the text (the current query when none is given), or expands it when it is a
    // video-site link. Blank text changes nothing. Results arrive later through the properties.
    void submit(const std::optional<QString> &text, PlayerManager *player);
    // Fills the trending shelf unless it is loading or already loaded.
    void loadTrending();

Q_SIGNALS:
    void queryChanged();
    void submittedChanged();
    void resultsChanged();
    void phaseChanged();
    void trendingChanged();

private:
    QCoro::Task<> runLink(QString link, QPointer<PlayerManager> player, CancelToken cancel);
    QCoro::Task<> runSearch(QString text, CancelToken cancel);
    QCoro::Task<> runTrending();
    void setResults(const QList<Track> &tracks, const QList<PlaylistRef> &playlists,
                    const std::optional<QString> &linkTitle);
    void setPhase(SearchPhase phase, const QString &message = QString());

    LibraryStore *m_library;
    MusicCatalog *m_catalog;
    QString m_query;
    QString m_submitted;
    QList<Track> m_tracks;
    QList<PlaylistRef> m_playlists;
    std::optional<QString> m_linkTitle;
    SearchPhase m_phase = SearchPhase::Idle;
    QString m_message;
    QList<Track> m_trending;
    SearchPhase m_trendingPhase = SearchPhase::Idle;
    QString m_trendingMessage;
    // The latest submission's; cancelling it kills that submission's yt-dlp children.
    CancelToken m_cancel;
};
