#pragma once

#include <QString>

#include <optional>

// One downloadable format of a link, as yt-dlp lists it. A codec of "none" (or empty) means the
// format carries no such stream.
struct FormatInfo
{
    QString id = QStringLiteral("?");
    QString ext;
    std::optional<qint64> height;
    std::optional<qint64> width;
    std::optional<double> fps;
    QString vcodec = QStringLiteral("none");
    QString acodec = QStringLiteral("none");
    std::optional<qint64> filesize;
    std::optional<double> tbr; // total bit rate in kbit/s
    QString note;
    QString proto;

    bool operator==(const FormatInfo &) const = default;

    [[nodiscard]] bool hasVideo() const;
    [[nodiscard]] bool hasAudio() const;
    // The picker line, such as "137 · mp4 · 1080p60 · avc1 · 1.2 GB · 1080p60".
    [[nodiscard]] QString label() const;
};
