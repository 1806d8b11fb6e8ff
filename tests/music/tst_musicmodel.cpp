#include "music/Discovery.h"
#include "music/MusicText.h"
#include "music/PlayEvent.h"
#include "music/Playlist.h"
#include "music/QueueItem.h"
#include "music/RepeatMode.h"
#include "music/Route.h"
#include "music/Track.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QSet>
#include <QTest>

#include <cmath>
#include <limits>

using OptionalText = std::optional<QString>;
using OptionalNumber = std::optional<double>;
Q_DECLARE_METATYPE(OptionalText)
Q_DECLARE_METATYPE(OptionalNumber)

namespace {

QJsonObject object(const char *json)
{
    return QJsonDocument::fromJson(json).object();
}

Track track(const QString &id, const QString &title, const QString &artist, OptionalNumber duration = {},
            OptionalText album = {}, OptionalText genre = {})
{
    return Track{id, title, artist, duration, album, genre};
}

QDateTime at(const char *iso)
{
    return QDateTime::fromString(QLatin1String(iso), Qt::ISODate);
}

} // namespace

class TestMusicModel : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void trackFrom_data()
    {
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("artist");
        QTest::addColumn<OptionalNumber>("duration");
        QTest::addColumn<OptionalText>("album");
        QTest::addColumn<OptionalText>("genre");
        const OptionalNumber noDuration;
        const OptionalText none;

        QTest::newRow("title carries the artist")
            << QByteArray(R"({"id":"abcdefghijk","title":"Daft Punk - One More Time"})") << "One More Time"
            << "Daft Punk" << noDuration << none << none;
        QTest::newRow("artist key: first credited, title whole")
            << QByteArray(R"({"id":"abcdefghijk","title":"Daft Punk - One More Time","artist":"X, Y"})")
            << "Daft Punk - One More Time"
            << "X" << noDuration << none << none;
        QTest::newRow("null artist falls back to the channel, no split")
            << QByteArray(R"({"id":"abcdefghijk","title":"A - B","artist":null,"channel":"Massive - Topic"})")
            << "A - B"
            << "Massive" << noDuration << none << none;
        QTest::newRow("leading commas dropped")
            << QByteArray(R"({"id":"abcdefghijk","title":"t","artist":",, Solo ,Other"})") << "t"
            << "Solo" << noDuration << none << none;
        QTest::newRow("nothing before the dash")
            << QByteArray(R"({"id":"abcdefghijk","title":" - Song","uploader":"U"})") << " - Song"
            << "U" << noDuration << none << none;
        QTest::newRow("nothing after the dash")
            << QByteArray(R"({"id":"abcdefghijk","title":"Band - ","uploader":"U"})") << "Band - "
            << "U" << noDuration << none << none;
        QTest::newRow("dash at character 39 splits")
            << QByteArray(R"({"id":"abcdefghijk","title":"aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa - x"})") << "x"
            << QString(39, QLatin1Char('a')) << noDuration << none << none;
        QTest::newRow("dash at character 40 does not")
            << QByteArray(R"({"id":"abcdefghijk","title":"aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa - x"})")
            << QString(40, QLatin1Char('a')) + QStringLiteral(" - x") << "Unknown artist" << noDuration << none << none;
        // 25 letters each followed by a combining accent: 50 code units, 25 characters.
        const QString accented = QStringLiteral(u"e\u0301").repeated(25);
        QTest::newRow("accents count as one character each")
            << QJsonDocument(QJsonObject{{u"id"_qs, u"abcdefghijk"_qs}, {u"title"_qs, accented + u" - x"_qs}}).toJson()
            << "x" << accented << noDuration << none << none;
        QTest::newRow("line breaks are not trimmed")
            << QByteArray(R"({"id":"abcdefghijk","title":"Band\n - Song\t"})") << "Song"
            << "Band\n"
            << noDuration << none << none;
        // Escaped: Qt's JSON reader drops a raw mark inside a string but keeps an escaped one.
        QTest::newRow("leading byte order marks dropped")
            << QByteArray(R"({"id":"abcdefghijk","title":"\ufeffSong","artist":"\ufeffBand","album":"\ufeffLP"})")
            << "Song"
            << "Band" << noDuration << OptionalText(QStringLiteral("LP")) << none;
        QTest::newRow("only an id") << QByteArray(R"({"id":"abcdefghijk"})") << "Untitled"
                                    << "Unknown artist" << noDuration << none << none;
        QTest::newRow("track beats title, creator beats channel")
            << QByteArray(R"({"id":"abcdefghijk","track":"Song","title":"A - B","creator":"C","channel":"D",)"
                          R"("artist":7})")
            << "Song"
            << "C" << noDuration << none << none;
        QTest::newRow("integer duration, album")
            << QByteArray(R"({"id":"abcdefghijk","title":"t","artist":"a","duration":215,"album":"LP"})") << "t"
            << "a" << OptionalNumber(215) << OptionalText(QStringLiteral("LP")) << none;
        QTest::newRow("fractional duration")
            << QByteArray(R"({"id":"abcdefghijk","title":"t","artist":"a","duration":215.5,"album":3})") << "t"
            << "a" << OptionalNumber(215.5) << none << none;
        QTest::newRow("duration as text is none")
            << QByteArray(R"({"id":"abcdefghijk","title":"t","artist":"a","duration":"215"})") << "t"
            << "a" << noDuration << none << none;
        QTest::newRow("genre holds no keyword, first tag does")
            << QByteArray(R"({"id":"abcdefghijk","title":"t","artist":"a","genre":"Music",)"
                          R"("tags":["Lo-Fi beats","jazz"]})")
            << "t"
            << "a" << noDuration << none << OptionalText(QStringLiteral("lofi"));
        QTest::newRow("genre pop rock") << QByteArray(
                                               R"({"id":"abcdefghijk","title":"t","artist":"a","genre":"Pop Rock"})")
                                        << "t"
                                        << "a" << noDuration << none << OptionalText(QStringLiteral("pop"));
        QTest::newRow("trap tag") << QByteArray(
                                         R"({"id":"abcdefghijk","title":"t","artist":"a","tags":["trap music"]})")
                                  << "t"
                                  << "a" << noDuration << none << OptionalText(QStringLiteral("trap"));
        QTest::newRow("tags with a non-string count as none")
            << QByteArray(R"({"id":"abcdefghijk","title":"t","artist":"a","tags":["rock",1]})") << "t"
            << "a" << noDuration << none << none;
    }

    void trackFrom()
    {
        QFETCH(QByteArray, json);
        QFETCH(QString, title);
        QFETCH(QString, artist);
        QFETCH(OptionalNumber, duration);
        QFETCH(OptionalText, album);
        QFETCH(OptionalText, genre);
        const auto result = Track::from(QJsonDocument::fromJson(json).object());
        QVERIFY(result);
        QCOMPARE(result->id, QStringLiteral("abcdefghijk"));
        QCOMPARE(result->title, title);
        QCOMPARE(result->artist, artist);
        QCOMPARE(result->duration, duration);
        QCOMPARE(result->album, album);
        QCOMPARE(result->genre, genre);
    }

    void trackFromRejectsIds_data()
    {
        QTest::addColumn<QByteArray>("json");
        QTest::newRow("10 characters") << QByteArray(R"({"id":"abcdefghij","title":"t"})");
        QTest::newRow("12 characters") << QByteArray(R"({"id":"abcdefghijkl","title":"t"})");
        QTest::newRow("numeric") << QByteArray(R"({"id":12345678901,"title":"t"})");
        QTest::newRow("missing") << QByteArray(R"({"title":"t"})");
        QTest::newRow("11 code units, 10 characters") << QByteArray(R"({"id":"abcdefghi\u0065\u0301"})");
    }

    void trackFromRejectsIds()
    {
        QFETCH(QByteArray, json);
        QVERIFY(!Track::from(QJsonDocument::fromJson(json).object()));
    }

    void cleanArtist_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("expected");
        QTest::newRow("vevo with blanks") << "  Adele VEVO "
                                          << "Adele";
        QTest::newRow("vevo alone") << "VEVO"
                                    << "VEVO";
        QTest::newRow("official with dash") << "Queen - Official"
                                            << "Queen";
        QTest::newRow("official") << "Queen Official"
                                  << "Queen";
        QTest::newRow("topic") << "Massive Attack - Topic"
                               << "Massive Attack";
        QTest::newRow("mixed-case vevo") << "AdeleVevo"
                                         << "Adele";
        QTest::newRow("case-sensitive") << "Adele vevo"
                                        << "Adele vevo";
        QTest::newRow("each suffix once, in order") << "X - Topic - Topic"
                                                    << "X - Topic";
        QTest::newRow("line break outside trimmed") << "\nAdele\n"
                                                    << "Adele";
        QTest::newRow("line break before suffix kept") << "Adele\n - Topic"
                                                       << "Adele\n";
    }

    void cleanArtist()
    {
        QFETCH(QString, name);
        QFETCH(QString, expected);
        QCOMPARE(MusicText::cleanArtist(name), expected);
    }

    void detectGenre_data()
    {
        QTest::addColumn<QStringList>("strings");
        QTest::addColumn<OptionalText>("expected");
        QTest::newRow("empty") << QStringList() << OptionalText();
        QTest::newRow("no keyword") << QStringList{QStringLiteral("Music"), QStringLiteral("Vlog")} << OptionalText();
        QTest::newRow("k-pop over pop") << QStringList{QStringLiteral("K-POP hits")} << OptionalText(u"k-pop"_qs);
        QTest::newRow("trap over rap") << QStringList{QStringLiteral("trap")} << OptionalText(u"trap"_qs);
        QTest::newRow("reggaeton over reggae")
            << QStringList{QStringLiteral("Reggaeton")} << OptionalText(u"reggaeton"_qs);
        QTest::newRow("table order within one string")
            << QStringList{QStringLiteral("indie rock")} << OptionalText(u"rock"_qs);
        QTest::newRow("lo-fi reported as lofi") << QStringList{QStringLiteral("LO-FI")} << OptionalText(u"lofi"_qs);
        QTest::newRow("earlier string first")
            << QStringList{QStringLiteral("soundtrack"), QStringLiteral("pop")} << OptionalText(u"soundtrack"_qs);
        QTest::newRow("substring inside a word") << QStringList{QStringLiteral("Grapevine")} << OptionalText(u"rap"_qs);
    }

    void detectGenre()
    {
        QFETCH(QStringList, strings);
        QFETCH(OptionalText, expected);
        QCOMPARE(MusicText::detectGenre(strings), expected);
    }

    void artwork()
    {
        const Track song = track(QStringLiteral("abcdefghijk"), QStringLiteral("t"), QStringLiteral("a"));
        const QList<QUrl> small = song.artwork(false);
        QCOMPARE(small, QList<QUrl>{QUrl(QStringLiteral("https://i.ytimg.com/vi/abcdefghijk/mqdefault.jpg"))});
        const QList<QUrl> large = song.artwork(true);
        QCOMPARE(large.size(), 3);
        QCOMPARE(large[0].path(), QStringLiteral("/vi/abcdefghijk/maxresdefault.jpg"));
        QCOMPARE(large[1].path(), QStringLiteral("/vi/abcdefghijk/sddefault.jpg"));
        QCOMPARE(large[2].path(), QStringLiteral("/vi/abcdefghijk/mqdefault.jpg"));

        qputenv("MORVANE_IMAGE_HOST", "http://127.0.0.1:8/");
        QCOMPARE(song.artwork(false).first().toString(),
                 QStringLiteral("http://127.0.0.1:8/vi/abcdefghijk/mqdefault.jpg"));
        qunsetenv("MORVANE_IMAGE_HOST");

        const Track broken = track(QStringLiteral("a b%zzghijk"), QStringLiteral("t"), QStringLiteral("a"));
        QVERIFY(broken.artwork(true).isEmpty());
    }

    void trackJson()
    {
        const Track bare = track(QStringLiteral("abcdefghijk"), QStringLiteral("t"), QStringLiteral("a"));
        QCOMPARE(bare.toJson(), object(R"({"id":"abcdefghijk","title":"t","artist":"a"})"));
        QCOMPARE(Track::fromJson(bare.toJson()), bare);

        const Track full = track(QStringLiteral("abcdefghijk"), QStringLiteral("t"), QStringLiteral("a"), 215.5,
                                 QStringLiteral("LP"), QStringLiteral("jazz"));
        QCOMPARE(Track::fromJson(full.toJson()), full);
        QCOMPARE(Track::fromJson(object(R"({"id":"abcdefghijk","title":"t","artist":"a","duration":null,)"
                                        R"("album":null,"genre":null})")),
                 bare);

        Track infinite = bare;
        infinite.duration = std::numeric_limits<double>::infinity();
        QVERIFY(!infinite.toJson().contains(QStringLiteral("duration")));
    }

    void recordsRejectBadJson_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QByteArray>("json");
        QTest::newRow("track without artist") << "track" << QByteArray(R"({"id":"i","title":"t"})");
        QTest::newRow("track with null title") << "track" << QByteArray(R"({"id":"i","title":null,"artist":"a"})");
        QTest::newRow("track with text duration")
            << "track" << QByteArray(R"({"id":"i","title":"t","artist":"a","duration":"3"})");
        QTest::newRow("playlist with a bad track")
            << "playlist"
            << QByteArray(R"({"id":"0F8FAD5B-D9CB-469F-A165-70867728950E","name":"n","created":"2026-01-02T03:04:05Z",)"
                          R"("tracks":[{"id":"i","title":"t","artist":"a"},{"id":"i"}]})");
        QTest::newRow("playlist with a non-object track")
            << "playlist"
            << QByteArray(R"({"id":"0F8FAD5B-D9CB-469F-A165-70867728950E","name":"n","created":"2026-01-02T03:04:05Z",)"
                          R"("tracks":[1]})");
        QTest::newRow("playlist without created")
            << "playlist" << QByteArray(R"({"id":"0F8FAD5B-D9CB-469F-A165-70867728950E","name":"n","tracks":[]})");
        QTest::newRow("playlist with a bad uuid")
            << "playlist" << QByteArray(R"({"id":"nope","name":"n","created":"2026-01-02T03:04:05Z","tracks":[]})");
        QTest::newRow("play event without skipped")
            << "event" << QByteArray(R"({"trackID":"i","date":"2026-01-02T03:04:05Z","listened":3,"completed":true})");
        QTest::newRow("play event with a zoneless date")
            << "event"
            << QByteArray(
                   R"({"trackID":"i","date":"2026-01-02T03:04:05","listened":3,"completed":true,"skipped":false})");
        QTest::newRow("discovery of unknown kind")
            << "discovery"
            << QByteArray(R"({"kind":"mix","key":"k","label":"l","ids":[],"date":"2026-01-02T03:04:05Z"})");
        QTest::newRow("discovery with a numeric id")
            << "discovery"
            << QByteArray(R"({"kind":"radio","key":"k","label":"l","ids":["a",1],"date":"2026-01-02T03:04:05Z"})");
    }

    void recordsRejectBadJson()
    {
        QFETCH(QString, kind);
        QFETCH(QByteArray, json);
        const QJsonObject value = QJsonDocument::fromJson(json).object();
        QString error;
        bool decoded = true;
        if (kind == QLatin1String("track"))
            decoded = Track::fromJson(value, &error).has_value();
        else if (kind == QLatin1String("playlist"))
            decoded = Playlist::fromJson(value, &error).has_value();
        else if (kind == QLatin1String("event"))
            decoded = PlayEvent::fromJson(value, &error).has_value();
        else
            decoded = Discovery::fromJson(value, &error).has_value();
        QVERIFY(!decoded);
        QVERIFY(!error.isEmpty());
    }

    void playlistJson()
    {
        Playlist playlist{QUuid::createUuid(),
                          QStringLiteral("Mine"),
                          {track(QStringLiteral("abcdefghijk"), QStringLiteral("t"), QStringLiteral("a"), 200),
                           track(QStringLiteral("bcdefghijkl"), QStringLiteral("u"), QStringLiteral("b"))},
                          at("2026-03-04T05:06:07Z"),
                          std::nullopt};
        const QJsonObject json = playlist.toJson();
        QCOMPARE(json.keys(), (QStringList{u"created"_qs, u"id"_qs, u"name"_qs, u"tracks"_qs}));
        QCOMPARE(json.value(u"created"_qs).toString(), u"2026-03-04T05:06:07Z"_qs);
        QCOMPARE(json.value(u"id"_qs).toString(), playlist.id.toString(QUuid::WithoutBraces).toUpper());
        QCOMPARE(Playlist::fromJson(json), playlist);

        playlist.sourceURL = QStringLiteral("https://www.youtube.com/playlist?list=PL1");
        QCOMPARE(Playlist::fromJson(playlist.toJson()), playlist);
        QCOMPARE(Playlist::fromJson(playlist.toJson())->tracks.at(1).duration, std::nullopt);
    }

    void playEventJson()
    {
        PlayEvent event{QStringLiteral("abcdefghijk"), at("2026-03-04T05:06:07Z"), 42.5, std::nullopt, false, true};
        QCOMPARE(event.toJson().keys(),
                 (QStringList{u"completed"_qs, u"date"_qs, u"listened"_qs, u"skipped"_qs, u"trackID"_qs}));
        QCOMPARE(PlayEvent::fromJson(event.toJson()), event);
        event.duration = 180;
        QCOMPARE(PlayEvent::fromJson(event.toJson()), event);

        event.listened = std::nan("");
        event.duration = std::numeric_limits<double>::infinity();
        const QJsonObject json = event.toJson();
        QCOMPARE(json.value(u"listened"_qs).toDouble(), 0.0);
        QVERIFY(!json.contains(u"duration"_qs));
        QVERIFY(!QJsonDocument(json).toJson().contains("nan"));
    }

    void discoveryJson()
    {
        const Discovery radio{Discovery::Kind::Radio,
                              QStringLiteral("abcdefghijk"),
                              QStringLiteral("Radio: t"),
                              {QStringLiteral("a"), QStringLiteral("b")},
                              at("2026-03-04T05:06:07Z")};
        QCOMPARE(radio.toJson().value(u"kind"_qs).toString(), u"radio"_qs);
        QCOMPARE(Discovery::fromJson(radio.toJson()), radio);
        Discovery newest = radio;
        newest.kind = Discovery::Kind::NewFrom;
        QCOMPARE(newest.toJson().value(u"kind"_qs).toString(), u"newFrom"_qs);
        QCOMPARE(Discovery::fromJson(newest.toJson()), newest);
    }

    void repeatModes()
    {
        QCOMPARE(RepeatModes::all(), (QList<RepeatMode>{RepeatMode::Off, RepeatMode::All, RepeatMode::One}));
        for (RepeatMode mode : RepeatModes::all())
            QCOMPARE(RepeatModes::fromRawValue(RepeatModes::rawValue(mode)), mode);
        QCOMPARE(RepeatModes::rawValue(RepeatMode::All), u"all"_qs);
        QCOMPARE(RepeatModes::fromRawValue(u"One"_qs), std::nullopt);
    }

    void identities()
    {
        const Track song = track(QStringLiteral("abcdefghijk"), QStringLiteral("t"), QStringLiteral("a"));
        Track withEmptyAlbum = song;
        withEmptyAlbum.album = QString();
        QVERIFY(song != withEmptyAlbum);
        QCOMPARE(QSet<Track>({song, song, withEmptyAlbum}).size(), 2);

        const QueueItem first(song), second(song);
        QVERIFY(first.uid() != second.uid());
        QVERIFY(first != second);
        QueueItem copy = first;
        copy.track.title = QStringLiteral("resolved");
        QCOMPARE(copy.uid(), first.uid());

        const QUuid id = QUuid::createUuid();
        QCOMPARE(Route::playlist(id), Route::playlist(id));
        QVERIFY(Route::playlist(id) != Route::playlist(QUuid::createUuid()));
        QVERIFY(Route::playlist(id) != Route(Route::Kind::Home, QUuid()));
        QCOMPARE(Route(Route::Kind::Liked, id), Route(Route::Kind::Liked, QUuid()));
        QCOMPARE(qHash(Route(Route::Kind::Liked, id)), qHash(Route(Route::Kind::Liked, QUuid())));
    }
};

QTEST_APPLESS_MAIN(TestMusicModel)
#include "tst_musicmodel.moc"
