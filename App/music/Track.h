#pragma once

#include <QHashFunctions>
#include <QJsonObject>
#include <QList>
#include <QString>
#include <QUrl>

#include <optional>

class StringPool;

// One song. Its identity is the video site's 11-character video id.
struct Track
{
    QString id;
    QString title;
    QString artist;
    std::optional<double> duration; // seconds
    std::optional<QString> album;
    std::optional<QString> genre; // one of the keywords of MusicText::detectGenre

    bool operator==(const Track &) const = default;

    // A track from one entry of yt-dlp's JSON output; none when the entry has no 11-character
    // string "id". Every other key falls back to a default when missing or of another type.
    [[nodiscard]] static std::optional<Track> from(const QJsonObject &json);

    // The stand-in that link expansion makes for a single video until its stream is resolved,
    // known by its title "Loading…" alone; the library never stores it.
    [[nodiscard]] bool isPlaceholder() const;

    // Thumbnail links to try in turn, best first: three sizes when `large`, else the medium one.
    [[nodiscard]] QList<QUrl> artwork(bool large) const;

    // The stored form: "id", "title", "artist" required; "duration", "album", "genre" left out
    // when absent, and accepted missing or null.
    [[nodiscard]] QJsonObject toJson() const;
    [[nodiscard]] static std::optional<Track> fromJson(const QJsonObject &object, QString *error = nullptr);
    // Makes every text an equal one of the pool already holds share its storage.
    void shareTexts(StringPool &pool);
};

size_t qHash(const Track &track, size_t seed = 0);
