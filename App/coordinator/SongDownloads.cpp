#include "SongDownloads.h"

#include "core/SettingsStore.h"
#include "engine/DownloadManager.h"
#include "engine/DownloadTask.h"
#include "music/LibraryStore.h"
#include "music/VideoSite.h"
#include "music/YTMusic.h"
#include "recommend/RecommendationEngine.h"

#include <QDir>
#include <QUrl>
#include <QUrlQuery>

#include <algorithm>

namespace {

const QString toolsMessage = QStringLiteral("Tools are still being installed.");
// Leaves room below the usual 255-byte file name limit for what the file system may add.
constexpr qsizetype maxFolderNameBytes = 200;

QString stringSetting(const QString &key, const QString &fallback)
{
    const QVariant value = SettingsStore::value(key);
    return value.isValid() ? value.toString() : fallback;
}

// The whole code points of `text` that fit in `maxBytes` of UTF-8.
QString truncatedUtf8(const QString &text, qsizetype maxBytes)
{
    qsizetype bytes = 0;
    qsizetype end = 0;
    while (end < text.size()) {
        const char32_t code = text.at(end).isHighSurrogate() && end + 1 < text.size()
                                  ? QChar::surrogateToUcs4(text.at(end), text.at(end + 1))
                                  : text.at(end).unicode();
        const qsizetype length = code < 0x80 ? 1 : code < 0x800 ? 2 : code < 0x10000 ? 3 : 4;
        if (bytes + length > maxBytes)
            break;
        bytes += length;
        end += QChar::requiresSurrogates(code) ? 2 : 1;
    }
    return text.left(end);
}

// The name as one folder level: no path separators, no control characters, no surrounding blanks,
// short enough for the file system; empty when nothing usable is left ("..", blanks).
QString folderLevel(QString name)
{
    name.replace(QLatin1Char('/'), QLatin1Char('-')).replace(QLatin1Char(':'), QLatin1Char('-'));
    name.removeIf([](QChar c) { return c.category() == QChar::Other_Control; });
    name = truncatedUtf8(name.trimmed(), maxFolderNameBytes).trimmed();
    const bool onlyDots = std::all_of(name.cbegin(), name.cend(), [](QChar c) { return c == QLatin1Char('.'); });
    return onlyDots ? QString() : name;
}

// Downloads of other sites carry "v" items of their own meaning; only the video site's are ids.
bool isVideoSiteLink(const QUrl &url)
{
    return YTMusic::isYouTubeURL(url.toString(QUrl::FullyEncoded)) ||
           (!url.host().isEmpty() && url.host().compare(QUrl(VideoSite::webBase()).host(), Qt::CaseInsensitive) == 0);
}

} // namespace

SongDownloads::SongDownloads(DownloadManager &downloads, LibraryStore &library, RecommendationEngine &engine,
                             std::function<bool()> toolsReady, QObject *parent)
    : QObject(parent)
    , m_downloads(downloads)
    , m_library(library)
    , m_engine(engine)
    , m_toolsReady(std::move(toolsReady))
{}

void SongDownloads::download(const Track &track, const std::optional<QString> &folderName, bool quiet)
{
    if (!m_toolsReady()) {
        Q_EMIT toast(toolsMessage);
        return;
    }
    if (m_library.downloadedPath(track.id)) {
        if (!quiet)
            Q_EMIT toast(QStringLiteral("Already downloaded"));
        return;
    }
    const DownloadOptions options = request(track, folderName);
    if (isDownloading(options.url)) {
        if (!quiet)
            Q_EMIT toast(QStringLiteral("Already downloading"));
        return;
    }
    m_library.registerTracks({track});
    m_downloads.enqueue(options);
    if (!quiet)
        Q_EMIT toast(QStringLiteral("Downloading \u201C") + track.title + QStringLiteral("\u201D"));
}

void SongDownloads::download(const QList<Track> &tracks, const QString &folderName)
{
    // One message for the whole list, not one per song.
    if (!m_toolsReady()) {
        Q_EMIT toast(toolsMessage);
        return;
    }
    for (const Track &track : tracks)
        download(track, folderName, true);
    Q_EMIT toast(QStringLiteral("Downloading %1 songs").arg(tracks.size()));
}

void SongDownloads::downloadFinished(const DownloadTask &task)
{
    if (task.status() != TaskStatus::Completed || !task.options().audioOnly || task.outputFiles().isEmpty())
        return;
    const QUrl url(task.options().url);
    if (!url.isValid() || !isVideoSiteLink(url))
        return;
    const QString id = QUrlQuery(url).queryItemValue(QStringLiteral("v"), QUrl::FullyDecoded);
    if (id.isEmpty())
        return;
    m_library.recordDownload(id, task.outputFiles().constLast());
    m_engine.refresh(false);
}

DownloadOptions SongDownloads::request(const Track &track, const std::optional<QString> &folderName)
{
    const QList<QUrl> artwork = track.artwork(false);
    DownloadOptions options;
    options.url = VideoSite::watchLink(track.id);
    options.title = track.title;
    options.uploader = track.artist;
    options.thumbnail =
        artwork.isEmpty() ? std::nullopt : std::optional<QString>(artwork.constFirst().toString(QUrl::FullyEncoded));
    options.isPlaylist = false;
    options.formatSelector = QStringLiteral("bestaudio/best");
    options.audioOnly = true;
    options.audioFormat = stringSetting(QStringLiteral("audioFormat"), QStringLiteral("mp3"));
    options.folder = songFolder(folderName);
    options.outputTemplate = QStringLiteral("%(artist,uploader)s - %(title)s [%(id)s].%(ext)s");
    options.embedThumbnail = SettingsStore::boolean(QStringLiteral("embedThumbnail"));
    options.embedMetadata = SettingsStore::boolean(QStringLiteral("embedMetadata"));
    options.subLangs = QStringLiteral("en.*");
    options.network = SettingsStore::networkSnapshot();
    options.presetName = QStringLiteral("Audio Only");
    return options;
}

QString SongDownloads::songFolder(const std::optional<QString> &folderName)
{
    // A folder set to nothing stays nothing, so the queue's check names the setting instead of
    // the songs landing in a relative "Morvane Music".
    const QString base = stringSetting(QStringLiteral("downloadFolder"), QDir::homePath());
    if (base.isEmpty())
        return {};
    QString folder = QDir(base).filePath(QStringLiteral("Morvane Music"));
    if (folderName) {
        if (const QString level = folderLevel(*folderName); !level.isEmpty())
            folder = QDir(folder).filePath(level);
    }
    return folder;
}

bool SongDownloads::isDownloading(const QString &url) const
{
    return std::any_of(m_downloads.tasks().cbegin(), m_downloads.tasks().cend(), [&url](const DownloadTask *task) {
        return task->options().url == url && !TaskStatuses::isFinished(task->status());
    });
}
