#pragma once

#include "Discovery.h"
#include "PlayEvent.h"
#include "Playlist.h"
#include "Track.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

class StringPool;

// Everything "library.json" holds, as `LibraryStore` keeps it in memory. The containers are
// implicitly shared, so a copy is a cheap snapshot that a writer thread may encode while the
// store goes on editing its own.
struct LibraryData
{
    QStringList likes;                 // newest like first
    QList<PlayEvent> plays;            // oldest first
    QStringList searches;              // newest first
    QList<Playlist> playlists;         // in the order they were made
    QHash<QString, Track> catalog;     // by track id
    QHash<QString, QString> downloads; // track id to audio file path
    QList<Discovery> discoveries;
    QHash<QString, qint64> shown; // track id to times shown on Home

    bool operator==(const LibraryData &) const = default;

    // Compact JSON with the eight keys.
    [[nodiscard]] QByteArray toJson() const;
    // Every key is required and every nested record must decode: one bad value rejects the
    // whole file. Keys beyond the eight are ignored.
    [[nodiscard]] static std::optional<LibraryData> fromJson(const QByteArray &bytes, QString *error = nullptr);
    // Makes every text an equal one of the pool already holds share its storage.
    void shareTexts(StringPool &pool);
};
