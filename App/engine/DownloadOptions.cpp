#include "DownloadOptions.h"

#include "core/Json.h"
#include "core/StringPool.h"

QJsonObject DownloadOptions::toJson() const
{
    QJsonObject object{
        {QStringLiteral("url"), url},
        {QStringLiteral("title"), title},
        {QStringLiteral("uploader"), uploader},
        {QStringLiteral("isPlaylist"), isPlaylist},
        {QStringLiteral("audioOnly"), audioOnly},
        {QStringLiteral("audioFormat"), audioFormat},
        {QStringLiteral("container"), container},
        {QStringLiteral("folder"), folder},
        {QStringLiteral("outputTemplate"), outputTemplate},
        {QStringLiteral("embedThumbnail"), embedThumbnail},
        {QStringLiteral("embedMetadata"), embedMetadata},
        {QStringLiteral("subtitles"), subtitles},
        {QStringLiteral("autoSubs"), autoSubs},
        {QStringLiteral("embedSubs"), embedSubs},
        {QStringLiteral("subLangs"), subLangs},
        {QStringLiteral("network"), network.toJson()},
        {QStringLiteral("presetName"), presetName},
    };
    Json::insertOptional(object, QStringLiteral("thumbnail"), thumbnail);
    Json::insertOptional(object, QStringLiteral("playlistItems"), playlistItems);
    Json::insertOptional(object, QStringLiteral("formatSelector"), formatSelector);
    Json::insertOptional(object, QStringLiteral("formatSort"), formatSort);
    return object;
}

std::optional<DownloadOptions> DownloadOptions::fromJson(const QJsonObject &object, QString *error)
{
    // Keys are read in field order so that the error names the first offending field.
    Json::Reader read(object);
    DownloadOptions options;
    options.url = read.string(QStringLiteral("url"));
    options.title = read.string(QStringLiteral("title"));
    options.uploader = read.string(QStringLiteral("uploader"));
    options.thumbnail = read.optionalString(QStringLiteral("thumbnail"));
    options.isPlaylist = read.boolean(QStringLiteral("isPlaylist"));
    options.playlistItems = read.optionalString(QStringLiteral("playlistItems"));
    options.formatSelector = read.optionalString(QStringLiteral("formatSelector"));
    options.formatSort = read.optionalString(QStringLiteral("formatSort"));
    options.audioOnly = read.boolean(QStringLiteral("audioOnly"));
    options.audioFormat = read.string(QStringLiteral("audioFormat"));
    options.container = read.string(QStringLiteral("container"));
    options.folder = read.string(QStringLiteral("folder"));
    options.outputTemplate = read.string(QStringLiteral("outputTemplate"));
    options.embedThumbnail = read.boolean(QStringLiteral("embedThumbnail"));
    options.embedMetadata = read.boolean(QStringLiteral("embedMetadata"));
    options.subtitles = read.boolean(QStringLiteral("subtitles"));
    options.autoSubs = read.boolean(QStringLiteral("autoSubs"));
    options.embedSubs = read.boolean(QStringLiteral("embedSubs"));
    options.subLangs = read.string(QStringLiteral("subLangs"));
    const QJsonObject network = read.object(QStringLiteral("network"));
    if (read.ok()) {
        QString networkError;
        if (const auto decoded = NetworkOptions::fromJson(network, &networkError))
            options.network = *decoded;
        else
            read.fail(QStringLiteral("network: ") + networkError);
    }
    options.presetName = read.string(QStringLiteral("presetName"));
    return read.result(std::move(options), error);
}

void DownloadOptions::shareTexts(StringPool &pool)
{
    for (QString *text :
         {&url, &title, &uploader, &audioFormat, &container, &folder, &outputTemplate, &subLangs, &presetName,
          &network.cookiesBrowser, &network.userAgent, &network.proxy, &network.rateLimit, &network.extraArgs})
        pool.share(*text);
    for (std::optional<QString> *text : {&thumbnail, &playlistItems, &formatSelector, &formatSort})
        pool.share(*text);
}
