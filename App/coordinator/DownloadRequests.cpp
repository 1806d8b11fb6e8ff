#include "DownloadRequests.h"

#include "core/SettingsStore.h"
#include "engine/MediaInfo.h"
#include "engine/PlaylistManager.h"

#include <QDir>

namespace DownloadRequests {

namespace {

// The setting's text, or `fallback` only when the key has no value at all: a stored empty text
// stays empty.
QString stringSetting(const QString &key, const QString &fallback)
{
    const QVariant value = SettingsStore::value(key);
    return value.isValid() ? value.toString() : fallback;
}

// Plain substring tests: a watch link that also names its playlist ("v=" and "list=") is one video.
bool isPlaylistLink(const QString &url)
{
    return (url.contains(u"list=") && !url.contains(u"v=")) || url.contains(u"/playlist");
}

bool preferCompatible()
{
    return SettingsStore::boolean(QStringLiteral("preferCompatible"));
}

// A template that begins with a folder of its own ("~/Videos/%(title)s.%(ext)s", "/srv/%(title)s")
// makes yt-dlp write there, whatever the download folder. That folder becomes the request's, so
// the checks before the download, the row's file, Show in Folder and the history all mean the
// place the files go to; the template keeps the rest.
void placeTemplate(DownloadOptions &options)
{
    QString &outputTemplate = options.outputTemplate;
    const bool home = outputTemplate.startsWith(u"~/");
    if (!home && !outputTemplate.startsWith(u'/'))
        return;
    const qsizetype cut = outputTemplate.left(outputTemplate.indexOf(u"%(")).lastIndexOf(u'/');
    if (cut + 1 >= outputTemplate.size())
        return; // no name at all: yt-dlp says so
    const QString folder = home ? QDir::homePath() + outputTemplate.mid(1, cut - 1) : outputTemplate.left(cut);
    options.folder = QDir::cleanPath(folder.isEmpty() ? QStringLiteral("/") : folder);
    outputTemplate = outputTemplate.mid(cut + 1);
}

} // namespace

DownloadOptions baseOptions(const QString &url, const QString &title)
{
    DownloadOptions options;
    options.url = url;
    options.title = title;
    options.isPlaylist = false;
    options.audioOnly = false;
    options.audioFormat = QStringLiteral("mp3");
    options.container = QStringLiteral("mp4");
    options.folder = stringSetting(QStringLiteral("downloadFolder"), QDir::homePath());
    options.outputTemplate =
        stringSetting(QStringLiteral("outputTemplate"), QStringLiteral("%(title)s [%(id)s].%(ext)s"));
    placeTemplate(options);
    options.embedThumbnail = true;
    options.embedMetadata = true;
    options.subtitles = false;
    options.autoSubs = false;
    options.embedSubs = false;
    options.subLangs = QStringLiteral("en.*");
    options.network = NetworkOptions();
    options.presetName = Presets::rawValue(Preset::Best);
    return options;
}

void apply(const FormatManager::Selection &selection, Preset preset, DownloadOptions &options)
{
    options.formatSelector = selection.format;
    options.formatSort = selection.sort;
    options.audioOnly = selection.audioOnly;
    options.audioFormat = stringSetting(QStringLiteral("audioFormat"), QStringLiteral("mp3"));
    options.container = stringSetting(QStringLiteral("mergeContainer"), QStringLiteral("mp4"));
    options.embedThumbnail = SettingsStore::boolean(QStringLiteral("embedThumbnail"));
    options.embedMetadata = SettingsStore::boolean(QStringLiteral("embedMetadata"));
    options.subtitles = SettingsStore::boolean(QStringLiteral("writeSubs"));
    options.autoSubs = SettingsStore::boolean(QStringLiteral("autoSubs"));
    options.embedSubs = SettingsStore::boolean(QStringLiteral("embedSubs"));
    options.subLangs = stringSetting(QStringLiteral("subLangs"), QStringLiteral("en.*"));
    options.network = SettingsStore::networkSnapshot();
    options.presetName = Presets::rawValue(preset);
}

void applyPlaylist(DownloadOptions &options, const MediaInfo *info, const QSet<int> &items)
{
    options.isPlaylist = true;
    QString folderedTemplate = QStringLiteral("%(playlist_title|Playlist)s/");
    if (SettingsStore::boolean(QStringLiteral("playlistNumbering")))
        folderedTemplate += QStringLiteral("%(playlist_index)03d - ");
    options.outputTemplate = folderedTemplate + options.outputTemplate;
    if (info)
        options.playlistItems = PlaylistManager::itemsString(items, int(info->entries.size()));
}

Preset defaultPreset()
{
    return Presets::fromRawValue(SettingsStore::string(QStringLiteral("defaultPreset"))).value_or(Preset::Best);
}

QList<DownloadOptions> quick(const QStringList &urls)
{
    DownloadOptions single = baseOptions(QString(), QString());
    const Preset preset = defaultPreset();
    // Without a fetch there are no formats to pick from, so "Advanced" cannot mean a choice.
    const Preset choosing = preset == Preset::Custom ? Preset::Best : preset;
    apply(FormatManager::selection(choosing, preferCompatible(), std::nullopt, std::nullopt), preset, single);
    DownloadOptions playlist = single;
    applyPlaylist(playlist, nullptr, {});

    QList<DownloadOptions> requests;
    requests.reserve(urls.size());
    for (const QString &url : urls) {
        requests.append(isPlaylistLink(url) ? playlist : single);
        requests.last().url = url;
    }
    return requests;
}

std::optional<DownloadOptions> fetched(const QString &url, const MediaInfo &info, Preset preset, const QString &videoID,
                                       const QString &audioID, const QSet<int> &items)
{
    if (info.isPlaylist && items.isEmpty())
        return std::nullopt;
    DownloadOptions options = baseOptions(url, info.title);
    options.uploader = info.uploader;
    if (info.thumbnail)
        options.thumbnail = info.thumbnail->toString(QUrl::FullyEncoded);
    apply(FormatManager::selection(preset, preferCompatible(), videoID, audioID), preset, options);
    if (info.isPlaylist)
        applyPlaylist(options, &info, items);
    return options;
}

} // namespace DownloadRequests
