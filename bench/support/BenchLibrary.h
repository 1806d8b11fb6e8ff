#pragma once

#include "music/LibraryData.h"

#include <QDateTime>
#include <QString>

#include <functional>
#include <vector>

// How big a generated library is; the defaults fill every size limit of the store at once.
struct LibraryShape
{
    QDateTime start = QDateTime::currentDateTimeUtc().addDays(-400); // the first play; then one every 10 min
    int catalog = 4000;
    int plays = 6000;
    int searches = 40;
    int playlists = 50;
    int tracksPerPlaylist = 100;
    int discoveries = 60;
    int idsPerDiscovery = 25;
    int shown = 1500;
    int likes = 0;
    int downloads = 300;
    QString downloadFolder = QStringLiteral("/home/user/Music/Morvane Music");
};

// Library data and timing for the benchmarks.
namespace BenchLibrary {

// Eleven characters, like a video id; `n` picks a distinct one.
[[nodiscard]] QString idOf(int n);
// Tracks of 300 artists; every third play finished, every seventh skipped; downloads at
// "<downloadFolder>/Song <n>.m4a" (the files are not written).
[[nodiscard]] LibraryData build(const LibraryShape &shape = {});

// Times `rounds` runs of `work` and prints the median and the worst in milliseconds.
void report(const char *what, int rounds, const std::function<void()> &work);
// Prints the median and the worst of times measured elsewhere.
void print(const char *what, std::vector<double> milliseconds);

} // namespace BenchLibrary
