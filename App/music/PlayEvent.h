#pragma once

#include <QDateTime>
#include <QJsonObject>
#include <QString>

#include <optional>

// One entry of the play log.
struct PlayEvent
{
    QString trackID;
    QDateTime date;
    double listened = 0;            // seconds actually listened
    std::optional<double> duration; // the song's length at the time, when known
    bool completed = false;
    bool skipped = false;

    bool operator==(const PlayEvent &) const = default;

    // A play counts when it was finished or listened to for at least ten seconds.
    [[nodiscard]] bool isCounted() const { return completed || listened >= 10.0; }

    // "duration" is the only key that may be missing.
    [[nodiscard]] QJsonObject toJson() const;
    [[nodiscard]] static std::optional<PlayEvent> fromJson(const QJsonObject &object, QString *error = nullptr);
};
