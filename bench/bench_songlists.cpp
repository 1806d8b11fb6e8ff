// Figures for the song lists' view models over 6 000 songs (the C++ side of a screen's first frame
// and of a like):
//   like     a 6 000-row list holding one song 3 times: the time from toggleLike to the rows
//            announced, and what was announced (rows, roles, resets, layout changes).
//   liked    Liked Songs with 6 000 likes: making the screen's model (read, rows, header).
//   recent   Recently Played over 6 000 plays: making the screen's model.
//   replay   the oldest of the 100 recent songs played again: the row edits that follow.
// Runs in a temporary home of its own; build with `cmake --build build --target benchmarks`.
#include "BenchLibrary.h"
#include "MusicShellRig.h"
#include "music/LibraryStore.h"
#include "ui/music/LibrarySongsModel.h"
#include "ui/music/TrackListModel.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QSignalSpy>

#include <cstdio>

namespace {
Track song(int n)
{
    Track track;
    track.id = BenchLibrary::idOf(n);
    track.title = QStringLiteral("Song %1").arg(n);
    track.artist = QStringLiteral("Artist %1").arg(n % 300);
    track.duration = 180 + n % 120;
    return track;
}

QList<Track> songs(int count)
{
    QList<Track> tracks;
    for (int n = 0; n < count; ++n)
        tracks.append(song(n));
    return tracks;
}
} // namespace

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    MusicShellRig rig;
    LibraryStore &library = rig.state->library();
    const QList<Track> all = songs(6000);
    library.registerTracks(all);

    {
        QList<Track> rows = all;
        rows[2000] = all[10];
        rows[4000] = all[10];
        TrackListModel model(rig.state.get());
        model.setTracks(rows);
        QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
        QSignalSpy reset(&model, &QAbstractItemModel::modelReset);
        QSignalSpy layout(&model, &QAbstractItemModel::layoutChanged);
        std::vector<double> times;
        for (int round = 0; round < 20; ++round) {
            changed.clear();
            QElapsedTimer timer;
            timer.start();
            model.toggleLike(10);
            times.push_back(double(timer.nsecsElapsed()) / 1e6);
        }
        BenchLibrary::print("like: toggleLike to rows announced", times);
        QStringList announced;
        for (const QList<QVariant> &signal : changed)
            announced.append(QStringLiteral("row %1 roles %2")
                                 .arg(signal.at(0).toModelIndex().row())
                                 .arg(signal.at(2).value<QList<int>>().size()));
        std::printf("like: %s; resets %lld, layout changes %lld\n", qPrintable(announced.join(QStringLiteral(", "))),
                    qlonglong(reset.size()), qlonglong(layout.size()));
    }

    for (const Track &track : all)
        library.toggleLike(track);
    BenchLibrary::report("liked: 6 000 likes, the screen's model made", 20,
                         [&rig] { LibrarySongsModel model(rig.state.get(), LibrarySongsModel::Source::Liked); });

    for (int n = 0; n < 6000; ++n) {
        PlayEvent play;
        play.trackID = all.at(n % 400).id;
        play.date = QDateTime::currentDateTimeUtc().addSecs(n - 6000);
        play.completed = true;
        library.record(play);
    }
    BenchLibrary::report("recent: 6 000 plays, the screen's model made", 20,
                         [&rig] { LibrarySongsModel model(rig.state.get(), LibrarySongsModel::Source::Recent); });

    LibrarySongsModel recent(rig.state.get(), LibrarySongsModel::Source::Recent);
    QSignalSpy moved(recent.tracks(), &QAbstractItemModel::rowsMoved);
    QSignalSpy inserted(recent.tracks(), &QAbstractItemModel::rowsInserted);
    QSignalSpy removed(recent.tracks(), &QAbstractItemModel::rowsRemoved);
    PlayEvent replay;
    replay.trackID = recent.tracks()->track(99).id;
    replay.date = QDateTime::currentDateTimeUtc();
    replay.completed = true;
    QElapsedTimer timer;
    timer.start();
    library.record(replay);
    std::printf("replay: %.2f ms; moves %lld, insertions %lld, removals %lld\n", double(timer.nsecsElapsed()) / 1e6,
                qlonglong(moved.size()), qlonglong(inserted.size()), qlonglong(removed.size()));
    return 0;
}
