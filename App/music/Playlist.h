#pragma once

#include "Track.h"

#include <QDateTime>
#include <QJsonObject>
#include <QList>
#include <QUuid>

#include <optional>

// A playlist of the user.
struct Playlist
{
    QUuid id;
    QString name;
    QList<Track> tracks; // in play order
    QDateTime created;
    std::optional<QString> sourceURL; // the link it was imported from; absent when made by hand

    bool operator==(const Playlist &) const = default;

    // "sourceURL" is the only key that may be missing; one bad track fails the playlist.
    [[nodiscard]] QJsonObject toJson() const;
    [[nodiscard]] static std::optional<Playlist> fromJson(const QJsonObject &object, QString *error = nullptr);
};

size_t qHash(const Playlist &playlist, size_t seed = 0);
