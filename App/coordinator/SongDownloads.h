#pragma once

#include "engine/DownloadOptions.h"
#include "music/Track.h"

#include <QList>
#include <QObject>
#include <QString>

#include <functional>
#include <optional>

class DownloadManager;
class DownloadTask;
class LibraryStore;
class RecommendationEngine;

// Songs from the music side go through the downloader's queue into "Morvane Music" inside the
// download folder, and every finished audio download of a video-site link joins the library's
// downloaded songs. Main thread only.
class SongDownloads final : public QObject
{
    Q_OBJECT

public:
    // `toolsReady` tells whether every external tool is installed and verified.
    SongDownloads(DownloadManager &downloads, LibraryStore &library, RecommendationEngine &engine,
                  std::function<bool()> toolsReady, QObject *parent = nullptr);

    // Queues one song, into the sub-folder `folderName` of the song folder when given. Quiet keeps
    // every message back except the one about the tools.
    void download(const Track &track, const std::optional<QString> &folderName, bool quiet);
    // Queues the songs not yet downloaded or downloading into one sub-folder, with one message.
    void download(const QList<Track> &tracks, const QString &folderName);
    // The queue's finish callback: files a completed audio download in the library.
    void downloadFinished(const DownloadTask &task);

    // The request for one song, with the settings as they are now.
    [[nodiscard]] static DownloadOptions request(const Track &track, const std::optional<QString> &folderName);
    // "Morvane Music" in the download folder, and the sub-folder when its name leaves anything
    // usable; empty when the download folder is set to nothing.
    [[nodiscard]] static QString songFolder(const std::optional<QString> &folderName);

Q_SIGNALS:
    void toast(const QString &text);

private:
    [[nodiscard]] bool isDownloading(const QString &url) const;

    DownloadManager &m_downloads;
    LibraryStore &m_library;
    RecommendationEngine &m_engine;
    std::function<bool()> m_toolsReady;
};
