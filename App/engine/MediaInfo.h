#pragma once

#include "FormatInfo.h"
#include "PlaylistEntry.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <optional>

// What yt-dlp says a link is: one video with its formats, or a playlist with its entries.
struct MediaInfo
{
    QString id;
    QString title;
    std::optional<double> duration; // seconds
    QString uploader;
    std::optional<QUrl> thumbnail;
    QString webpageURL;
    QString extractor;
    bool isPlaylist = false;
    QString playlistTitle;
    QList<PlaylistEntry> entries;
    QList<FormatInfo> formats; // in yt-dlp's order
    QStringList subtitleLangs;
    QStringList autoCaptionLangs;

    bool operator==(const MediaInfo &) const = default;

    // Formats with video, highest first (by height, then bit rate), without storyboards and
    // "mhtml" pages. Computed on each call.
    [[nodiscard]] QList<FormatInfo> videoFormats() const;
    // Audio-only formats, highest bit rate first.
    [[nodiscard]] QList<FormatInfo> audioFormats() const;
    // The distinct heights of `videoFormats()`, highest first.
    [[nodiscard]] QList<qint64> heights() const;
};
