#pragma once

#include "FetchState.h"
#include "LinkFetch.h"
#include "LinkIntake.h"
#include "NamePrompt.h"
#include "PlaylistImporter.h"
#include "SidebarItem.h"
#include "SongDownloads.h"
#include "core/Preset.h"
#include "engine/DownloadManager.h"
#include "engine/HistoryStore.h"
#include "engine/MediaInfo.h"
#include "music/ArtworkManager.h"
#include "music/LibraryStore.h"
#include "music/Route.h"
#include "player/AudioBackend.h"
#include "player/MusicCatalog.h"
#include "player/PlayerManager.h"
#include "recommend/RecommendationEngine.h"
#include "search/SearchManager.h"
#include "tools/DependencyManager.h"

#include <QCoroTask>
#include <QNetworkAccessManager>
#include <QObject>
#include <QSet>

#include <memory>
#include <optional>

// The coordinator: owns every long-lived service for the life of the process, holds the interface
// state that the download screen, the music window, the menus and the tray player share, and runs
// the start-up check that keeps downloads and discovery waiting until the tools work. Created once
// by the entry point; main thread only.
class AppState final : public QObject
{
    Q_OBJECT
    Q_PROPERTY(bool showNowPlaying READ showNowPlaying WRITE setShowNowPlaying NOTIFY showNowPlayingChanged)
    Q_PROPERTY(bool showQueue READ showQueue WRITE setShowQueue NOTIFY showQueueChanged)
    Q_PROPERTY(bool setupDone READ setupDone NOTIFY setupDoneChanged)
    Q_PROPERTY(QString urlText READ urlText WRITE setUrlText NOTIFY urlTextChanged)
    Q_PROPERTY(QString videoFormatID READ videoFormatID WRITE setVideoFormatID NOTIFY videoFormatIDChanged)
    Q_PROPERTY(QString audioFormatID READ audioFormatID WRITE setAudioFormatID NOTIFY audioFormatIDChanged)
    Q_PROPERTY(QString toast READ toastText NOTIFY toastChanged)
    Q_PROPERTY(bool canDownload READ canDownload NOTIFY canDownloadChanged)

public:
    // What the music side plays through and searches; the running application passes nothing and
    // gets libmpv and the video site, tests pass stand-ins.
    struct Backends
    {
        std::unique_ptr<MusicCatalog> catalog;
        std::unique_ptr<AudioBackend> audio;
    };

    // Builds the services in a fixed order: later ones use earlier ones. The history and the queue
    // files are read on worker threads meanwhile, so the window need not wait for them; the queue
    // starts nothing before it is restored, and neither is saved before it is read.
    explicit AppState(Backends backends = {}, QObject *parent = nullptr);
    ~AppState() override;

    // The history, the queue and the library are in.
    [[nodiscard]] bool isLoaded() const { return m_downloads.isRestored() && m_library.isLoaded(); }

    [[nodiscard]] QNetworkAccessManager &network() { return m_network; }
    [[nodiscard]] DependencyManager &deps() { return m_deps; }
    [[nodiscard]] HistoryStore &history() { return m_history; }
    [[nodiscard]] DownloadManager &downloads() { return m_downloads; }
    [[nodiscard]] LibraryStore &library() { return m_library; }
    [[nodiscard]] MusicCatalog &catalog() { return *m_catalog; }
    [[nodiscard]] ArtworkManager &artwork() { return m_artwork; }
    [[nodiscard]] RecommendationEngine &engine() { return m_engine; }
    [[nodiscard]] PlayerManager &player() { return m_player; }
    // What the player plays through (its outputs feed the output picker).
    [[nodiscard]] AudioBackend &audio() { return *m_audio; }
    [[nodiscard]] SearchManager &search() { return m_search; }
    // Imports of playlist links, which outlive the screen that starts them.
    [[nodiscard]] PlaylistImporter &importer() { return m_importer; }

    [[nodiscard]] Route route() const { return m_route; }
    void setRoute(const Route &route);
    [[nodiscard]] bool showNowPlaying() const { return m_showNowPlaying; }
    void setShowNowPlaying(bool shown);
    [[nodiscard]] bool showQueue() const { return m_showQueue; }
    void setShowQueue(bool shown);
    [[nodiscard]] const std::optional<NamePrompt> &namePrompt() const { return m_namePrompt; }
    void setNamePrompt(std::optional<NamePrompt> prompt);
    [[nodiscard]] SidebarItem selection() const { return m_selection; }
    void setSelection(SidebarItem item);
    // Every tool is installed and verified; until then the setup screen shows and no download starts.
    [[nodiscard]] bool setupDone() const { return m_setupDone; }
    [[nodiscard]] QString urlText() const { return m_urlText; }
    void setUrlText(const QString &text);
    [[nodiscard]] const FetchState &fetchState() const { return m_fetchState; }
    // What the last successful fetch found.
    [[nodiscard]] const std::optional<MediaInfo> &info() const { return m_info; }
    [[nodiscard]] Preset preset() const { return m_preset; }
    void setPreset(Preset preset);
    // "auto" lets yt-dlp choose.
    [[nodiscard]] QString videoFormatID() const { return m_videoFormatID; }
    void setVideoFormatID(const QString &id);
    [[nodiscard]] QString audioFormatID() const { return m_audioFormatID; }
    void setAudioFormatID(const QString &id);
    // 1-based positions of the playlist entries to download.
    [[nodiscard]] const QSet<int> &selectedItems() const { return m_selectedItems; }
    void setSelectedItems(const QSet<int> &items);
    [[nodiscard]] const std::optional<QString> &toast() const { return m_toast; }
    [[nodiscard]] QString toastText() const { return m_toast.value_or(QString()); }
    void setToast(std::optional<QString> text);

    // Text that may hold links, from the link scheme, a drop, a paste or another program.
    Q_INVOKABLE void receive(const QString &text) { m_intake.receive(text); }
    // The link field's format fetch; the download screen calls it shortly after each edit.
    Q_INVOKABLE void fetch() { m_fetch.fetch(); }
    Q_INVOKABLE void info_reset() { m_fetch.reset(); }
    // Whether the download button is enabled.
    [[nodiscard]] bool canDownload() const { return m_fetch.canDownload(); }
    Q_INVOKABLE void downloadPressed() { m_fetch.downloadPressed(); }
    // The download form's button: the fetched media with the choices made on the screen.
    Q_INVOKABLE void enqueueCurrent() { m_fetch.enqueueCurrent(); }
    // Queues a link at once with the default preset and automatic formats.
    Q_INVOKABLE void quickEnqueue(const QString &url) { m_fetch.quickEnqueue({url}); }

    // The start-up check, rerun each time the main window is shown: installs what is missing and,
    // once every tool works, lets the queue run and starts discovery and the daily update check.
    QCoro::Task<> launch();
    // The setup screen's Retry: the same check, without discovery or the update check.
    QCoro::Task<> retrySetup();
    // Reinstalls every tool; only a repair that leaves them all working changes anything here.
    QCoro::Task<> repairTools();

    // Songs from the music side, queued into the song folder; see SongDownloads.
    void download(const Track &track, const std::optional<QString> &folderName = std::nullopt, bool quiet = false)
    {
        m_songs.download(track, folderName, quiet);
    }
    void download(const QList<Track> &tracks, const QString &folderName) { m_songs.download(tracks, folderName); }

Q_SIGNALS:
    void routeChanged();
    void showNowPlayingChanged();
    void showQueueChanged();
    void namePromptChanged();
    void selectionChanged();
    void setupDoneChanged();
    void urlTextChanged();
    void fetchStateChanged();
    void infoChanged();
    void presetChanged();
    void videoFormatIDChanged();
    void audioFormatIDChanged();
    void selectedItemsChanged();
    void toastChanged();
    void canDownloadChanged();

private:
    friend class LinkFetch;

    QCoro::Task<> loadStored();
    // Publishes whether the tools are ready, and lets the queue run when they are.
    bool settleSetup();
    void setFetchState(const FetchState &state);
    void setInfo(std::optional<MediaInfo> info);

    // Declared in construction order.
    QNetworkAccessManager m_network;
    DependencyManager m_deps;
    HistoryStore m_history;
    DownloadManager m_downloads;
    LibraryStore m_library;
    std::unique_ptr<MusicCatalog> m_catalog;
    std::unique_ptr<AudioBackend> m_audio;
    ArtworkManager m_artwork;
    RecommendationEngine m_engine;
    PlayerManager m_player;
    SearchManager m_search;
    SongDownloads m_songs;

    Route m_route;
    bool m_showNowPlaying = false;
    bool m_showQueue = false;
    std::optional<NamePrompt> m_namePrompt;
    SidebarItem m_selection = SidebarItem::Queue;
    bool m_setupDone = false;
    QString m_urlText;
    FetchState m_fetchState;
    std::optional<MediaInfo> m_info;
    Preset m_preset = Preset::Best;
    QString m_videoFormatID = QStringLiteral("auto");
    QString m_audioFormatID = QStringLiteral("auto");
    QSet<int> m_selectedItems;
    std::optional<QString> m_toast;

    // Last: they work on the state above.
    LinkFetch m_fetch;
    LinkIntake m_intake;
    PlaylistImporter m_importer;
};
