#include "MusicShellRig.h"
#include "music/LibraryStore.h"
#include "player/PlayerManager.h"
#include "ui/music/TrackListModel.h"

#include <QAbstractItemModelTester>
#include <QFile>
#include <QSignalSpy>
#include <QTest>

namespace {
Track song(const char *id, std::optional<double> duration = 200)
{
    Track track;
    track.id = QString::fromLatin1(id);
    track.title = QStringLiteral("Song ") + track.id;
    track.artist = QStringLiteral("Artist");
    track.duration = duration;
    return track;
}

const Track a = song("aaaaaaaaaaa");
const Track b = song("bbbbbbbbbbb");
const Track c = song("ccccccccccc");
// b stands twice, so every update must reach both of its rows.
const QList<Track> list{a, b, c, b};

// Every change a view hears, as (first row, roles); resets and layout changes count apart.
struct Changes
{
    explicit Changes(QAbstractItemModel *model)
        : data(model, &QAbstractItemModel::dataChanged)
        , reset(model, &QAbstractItemModel::modelReset)
        , layout(model, &QAbstractItemModel::layoutChanged)
    {}
    // The rows announced, each once per signal, with the roles of the signal.
    [[nodiscard]] QList<int> rows(int role) const
    {
        QList<int> rows;
        for (const QList<QVariant> &signal : data) {
            const QModelIndex first = signal.at(0).toModelIndex();
            const QModelIndex last = signal.at(1).toModelIndex();
            if (signal.at(2).value<QList<int>>() != QList<int>{role})
                return {-1}; // another role announced: fails any comparison
            for (int row = first.row(); row <= last.row(); ++row)
                rows.append(row);
        }
        std::sort(rows.begin(), rows.end());
        return rows;
    }
    QSignalSpy data, reset, layout;
};

QList<QString> ids(const TrackListModel &model)
{
    QList<QString> result;
    for (const Track &track : model.tracks())
        result.append(track.id);
    return result;
}

QList<Track> songs(const QString &letters)
{
    QList<Track> tracks;
    for (const QChar letter : letters)
        tracks.append(song(QString(11, letter).toLatin1().constData()));
    return tracks;
}

QList<bool> flags(const TrackListModel &model, int role)
{
    QList<bool> values;
    for (int row = 0; row < model.rowCount(); ++row)
        values.append(model.index(row).data(role).toBool());
    return values;
}
} // namespace

class TestTrackListModel : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void texts_data()
    {
        QTest::addColumn<std::optional<double>>("duration");
        QTest::addColumn<QString>("text");
        QTest::newRow("absent") << std::optional<double>() << QString();
        QTest::newRow("zero") << std::optional<double>(0) << QStringLiteral("0:00");
        QTest::newRow("minutes") << std::optional<double>(185.4) << QStringLiteral("3:05");
        QTest::newRow("hours") << std::optional<double>(3725) << QStringLiteral("1:02:05");
    }
    void texts()
    {
        QFETCH(std::optional<double>, duration);
        QFETCH(QString, text);
        MusicShellRig rig;
        TrackListModel model(rig.state.get());
        QAbstractItemModelTester tester(&model);
        model.setTracks({a, song("ddddddddddd", duration)});
        const QModelIndex row = model.index(1);
        QCOMPARE(row.data(TrackListModel::DurationRole).toString(), text);
        QCOMPARE(row.data(TrackListModel::NumberRole).toInt(), 2);
        QCOMPARE(row.data(TrackListModel::TitleRole).toString(), QStringLiteral("Song ddddddddddd"));
        QCOMPARE(row.data(TrackListModel::MenuNameRole).toString(), QStringLiteral("More, Song ddddddddddd"));
        QCOMPARE(row.data(TrackListModel::ArtistRole).toString(), QStringLiteral("Artist"));
        // Typed as the artwork view's list, so QML hands it on unchanged.
        QCOMPARE(row.data(TrackListModel::ArtworkRole).value<QList<QUrl>>(), model.track(1).artwork(false));
    }

    // A new list arrives as the row edits a view can follow without losing its place: never a
    // reset, and the numbers of the rows that moved announced.
    void edits_data()
    {
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");
        QTest::addColumn<int>("removals");
        QTest::addColumn<int>("insertions");
        QTest::addColumn<int>("moves");
        QTest::newRow("unchanged") << "abcd"
                                   << "abcd" << 0 << 0 << 0;
        QTest::newRow("an unlike removes its row") << "abcd"
                                                   << "acd" << 1 << 0 << 0;
        QTest::newRow("a replay moves its row up") << "abcd"
                                                   << "cabd" << 0 << 0 << 1;
        QTest::newRow("a new play in front, the oldest out") << "abc"
                                                             << "eab" << 1 << 1 << 0;
        QTest::newRow("one copy of a song twice") << "aba"
                                                  << "ba" << 1 << 0 << 0;
        QTest::newRow("a song added twice") << "ab"
                                            << "abb" << 0 << 1 << 0;
        QTest::newRow("new results") << "abc"
                                     << "defg" << 1 << 1 << 0;
        QTest::newRow("cleared") << "abc"
                                 << "" << 1 << 0 << 0;
        QTest::newRow("filled") << ""
                                << "abc" << 0 << 1 << 0;
        QTest::newRow("the last row dragged to the top") << "abcb"
                                                         << "babc" << 0 << 0 << 2;
    }
    void edits()
    {
        QFETCH(QString, from);
        QFETCH(QString, to);
        QFETCH(int, removals);
        QFETCH(int, insertions);
        QFETCH(int, moves);
        MusicShellRig rig;
        TrackListModel model(rig.state.get());
        QAbstractItemModelTester tester(&model);
        model.setTracks(songs(from));
        QSignalSpy removed(&model, &QAbstractItemModel::rowsRemoved);
        QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
        QSignalSpy moved(&model, &QAbstractItemModel::rowsMoved);
        QSignalSpy reset(&model, &QAbstractItemModel::modelReset);
        model.setTracks(songs(to));
        QCOMPARE(model.tracks(), songs(to));
        QCOMPARE(removed.size(), removals);
        QCOMPARE(inserted.size(), insertions);
        QCOMPARE(moved.size(), moves);
        QCOMPARE(reset.size(), 0);
        for (int row = 0; row < model.rowCount(); ++row)
            QCOMPARE(model.index(row).data(TrackListModel::NumberRole).toInt(), row + 1);
    }

    // Fuller details of a song already shown change its row in place; the current mark and the
    // id index follow the edits.
    void editsKeepMarks()
    {
        MusicShellRig rig;
        TrackListModel model(rig.state.get());
        QAbstractItemModelTester tester(&model);
        model.setTracks(list);
        model.play(1);
        Track renamed = c;
        renamed.title = QStringLiteral("Fuller title");
        Changes changes(&model);
        model.setTracks({b, renamed, a});
        QCOMPARE(ids(model), (QList<QString>{b.id, c.id, a.id}));
        QCOMPARE(model.index(1).data(TrackListModel::TitleRole).toString(), QStringLiteral("Fuller title"));
        QCOMPARE(flags(model, TrackListModel::CurrentRole), (QList<bool>{true, false, false}));
        rig.state->player().play(a);
        QCOMPARE(flags(model, TrackListModel::CurrentRole), (QList<bool>{false, false, true}));
    }

    // A double click plays the whole list from the song's first occurrence; both rows of the
    // current song are marked, and a new current song touches only its rows and the old one's.
    void current()
    {
        MusicShellRig rig;
        PlayerManager &player = rig.state->player();
        TrackListModel model(rig.state.get());
        QAbstractItemModelTester tester(&model);
        model.setTracks(list);
        Changes changes(&model);

        model.play(3);
        QCOMPARE(player.index(), std::optional<int>(1));
        QCOMPARE(player.queue().size(), list.size());
        QCOMPARE(flags(model, TrackListModel::CurrentRole), (QList<bool>{false, true, false, true}));
        QCOMPARE(changes.rows(TrackListModel::CurrentRole), (QList<int>{1, 3}));

        changes.data.clear();
        player.play(list, 2, false);
        QCOMPARE(flags(model, TrackListModel::CurrentRole), (QList<bool>{false, false, true, false}));
        QCOMPARE(changes.rows(TrackListModel::CurrentRole), (QList<int>{1, 2, 3}));
        QCOMPARE(changes.reset.size() + changes.layout.size(), 0);

        // Songs outside the list: the old current rows go dark, then nothing changes.
        changes.data.clear();
        player.play(QList<Track>{song("eeeeeeeeeee")}, 0, false);
        QCOMPARE(changes.rows(TrackListModel::CurrentRole), QList<int>{2});
        changes.data.clear();
        player.play(QList<Track>{song("fffffffffff")}, 0, false);
        QCOMPARE(changes.data.size(), 0);
        QCOMPARE(flags(model, TrackListModel::CurrentRole), QList<bool>(list.size(), false));
    }

    // A like touches its song's rows and the liked role alone; plays, searches and saves none.
    void likes()
    {
        MusicShellRig rig;
        LibraryStore &library = rig.state->library();
        TrackListModel model(rig.state.get());
        QAbstractItemModelTester tester(&model);
        model.setTracks(list);
        Changes changes(&model);

        model.toggleLike(3);
        QCOMPARE(flags(model, TrackListModel::LikedRole), (QList<bool>{false, true, false, true}));
        QCOMPARE(changes.rows(TrackListModel::LikedRole), (QList<int>{1, 3}));

        changes.data.clear();
        library.toggleLike(a);
        library.toggleLike(b);
        QCOMPARE(flags(model, TrackListModel::LikedRole), (QList<bool>{true, false, false, false}));
        QCOMPARE(changes.rows(TrackListModel::LikedRole), (QList<int>{0, 1, 3}));

        changes.data.clear();
        library.recordSearch(QStringLiteral("lofi"));
        library.createPlaylist(QStringLiteral("Kept"), list);
        library.saveNow();
        QCOMPARE(changes.data.size(), 0);
        QCOMPARE(changes.reset.size() + changes.layout.size(), 0);
    }

    // The mark follows the file: it shows once recorded, and goes when the file is deleted and
    // the screen is shown again.
    void downloaded()
    {
        MusicShellRig rig;
        LibraryStore &library = rig.state->library();
        const QString path = rig.env.root() + QStringLiteral("/b.m4a");
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        TrackListModel model(rig.state.get());
        QAbstractItemModelTester tester(&model);
        model.setTracks(list);
        Changes changes(&model);

        library.recordDownload(b.id, path);
        QCOMPARE(flags(model, TrackListModel::DownloadedRole), (QList<bool>{false, true, false, true}));
        QCOMPARE(changes.rows(TrackListModel::DownloadedRole), (QList<int>{1, 3}));

        changes.data.clear();
        QVERIFY(QFile::remove(path));
        QCOMPARE(flags(model, TrackListModel::DownloadedRole), (QList<bool>{false, true, false, true})); // cached
        model.refreshDownloads();
        QCOMPARE(flags(model, TrackListModel::DownloadedRole), (QList<bool>{false, false, false, false}));
        QCOMPARE(changes.rows(TrackListModel::DownloadedRole), (QList<int>{1, 3}));

        // A list set after the file went does not show it either.
        model.setTracks(list);
        QCOMPARE(flags(model, TrackListModel::DownloadedRole), (QList<bool>{false, false, false, false}));
    }
};

QTEST_GUILESS_MAIN(TestTrackListModel)
#include "tst_tracklistmodel.moc"
