#pragma once

#include <QDateTime>
#include <QHash>
#include <QString>
#include <QStringList>

class LibraryStore;

// What the listener likes, derived afresh from the play log and the likes each time it is needed.
struct ListeningProfile
{
    QHash<QString, double> artists; // artist key to weight; negative when mostly skipped
    QHash<QString, double> genres;  // genre as stored on the track to weight
    double maxArtist = 1.0;         // the largest artist weight, at least 1
    double maxGenre = 1.0;          // the largest genre weight, at least 1
    double skipRate = 0.0;          // skipped events per counted event
    double repeatFactor = -1.0;     // average counted plays per played track minus 1, from -1 to 1

    // Plays weigh less the older they are (a 45-day time constant); likes weigh 2 whatever their
    // age. Events of tracks missing from the catalog count nowhere.
    [[nodiscard]] static ListeningProfile build(const LibraryStore &library, const QDateTime &now);

    // The keys weighing more than `threshold`, heaviest first. Equal weights come in code point
    // order of their keys, so the choice never follows the hash order of the process.
    [[nodiscard]] static QStringList heaviest(const QHash<QString, double> &weights, double threshold);
};
