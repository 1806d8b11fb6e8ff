#pragma once

#include "core/NetworkOptions.h"

#include <QJsonObject>
#include <QString>

#include <optional>

class StringPool;

// One complete download request: what to fetch, where to put it, how to post-process it and the
// network settings in force when it was queued. A task keeps its request unchanged for its whole
// life, retries and restarts included.
struct DownloadOptions
{
    QString url;
    QString title;
    QString uploader;
    std::optional<QString> thumbnail;
    bool isPlaylist = false;
    // Item runs such as "1-3,7"; absent means every item.
    std::optional<QString> playlistItems;
    // A "+" in the selector means separate video and audio streams that yt-dlp merges.
    std::optional<QString> formatSelector;
    std::optional<QString> formatSort;
    bool audioOnly = false;
    QString audioFormat;
    QString container;
    QString folder;
    QString outputTemplate;
    bool embedThumbnail = false;
    bool embedMetadata = false;
    bool subtitles = false;
    bool autoSubs = false;
    bool embedSubs = false;
    QString subLangs;
    NetworkOptions network;
    QString presetName;

    bool operator==(const DownloadOptions &) const = default;

    // Absent optionals are left out, never written as null.
    [[nodiscard]] QJsonObject toJson() const;
    // Every non-optional key is required; the first missing, null or mistyped one fails the value.
    [[nodiscard]] static std::optional<DownloadOptions> fromJson(const QJsonObject &object, QString *error = nullptr);
    // Makes every text an equal one of the pool already holds share its storage.
    void shareTexts(StringPool &pool);
};
