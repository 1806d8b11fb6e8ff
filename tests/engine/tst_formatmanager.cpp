#include "engine/FormatManager.h"

#include <QFile>
#include <QJsonDocument>
#include <QTest>

// The expected values below name only the fields that differ from the defaults; g++ 12 warns about
// the members such designated initializers leave out, though that is what they are for.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

Q_DECLARE_METATYPE(MediaInfo)
Q_DECLARE_METATYPE(FormatInfo)
Q_DECLARE_METATYPE(FormatManager::Selection)
Q_DECLARE_METATYPE(Preset)
Q_DECLARE_METATYPE(std::optional<QString>)

using namespace Qt::StringLiterals;

namespace {

QJsonObject object(const QByteArray &json)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    if (!document.isObject())
        qFatal("bad test JSON: %s in %s", qPrintable(error.errorString()), json.constData());
    return document.object();
}

// Test rows write JSON with single quotes, which keeps them readable.
QJsonObject relaxed(QByteArray json)
{
    return object(json.replace('\'', '"'));
}

QJsonObject fixture(const QString &name)
{
    QFile file(QStringLiteral(MORVANE_FIXTURES_DIR "/ytdlp-2026.08/") + name);
    if (!file.open(QIODevice::ReadOnly))
        qFatal("missing fixture %s", qPrintable(name));
    return object(file.readAll());
}

const QString fallback = QStringLiteral("https://fallback.example/watch");

FormatInfo formatFrom(const QByteArray &formatJson)
{
    const MediaInfo info = FormatManager::parse(relaxed("{'formats': [" + formatJson + "]}"), fallback);
    return info.formats.value(0);
}

template<typename T> QString optionalText(const std::optional<T> &value)
{
    if (!value)
        return QStringLiteral("nil");
    if constexpr (std::is_same_v<T, QString>)
        return u'"' + *value + u'"';
    else if constexpr (std::is_same_v<T, QUrl>)
        return value->toString();
    else
        return QString::number(*value, 'g', 17);
}

} // namespace

char *toString(const FormatInfo &f)
{
    return QTest::toString(
        QStringLiteral("{id %1, ext %2, h %3, w %4, fps %5, v %6, a %7, size %8, tbr %9, note %10, proto %11}")
            .arg(f.id, f.ext, optionalText(f.height), optionalText(f.width), optionalText(f.fps), f.vcodec, f.acodec,
                 optionalText(f.filesize), optionalText(f.tbr))
            .arg(f.note, f.proto));
}

char *toString(const PlaylistEntry &e)
{
    return QTest::toString(
        QStringLiteral("{%1, '%2', %3, %4}").arg(e.id).arg(e.title, optionalText(e.url), optionalText(e.duration)));
}

char *toString(const FormatManager::Selection &s)
{
    return QTest::toString(QStringLiteral("{'%1', %2, audioOnly %3}")
                               .arg(s.format, optionalText(s.sort), s.audioOnly ? u"true" : u"false"));
}

char *toString(const MediaInfo &m)
{
    QStringList entries, formats;
    for (const PlaylistEntry &entry : m.entries)
        entries.append(QString::fromUtf8(QScopedArrayPointer<char>(toString(entry)).data()));
    for (const FormatInfo &format : m.formats)
        formats.append(QString::fromUtf8(QScopedArrayPointer<char>(toString(format)).data()));
    return QTest::toString(
        QStringLiteral("{id '%1', title '%2', duration %3, uploader '%4', thumbnail %5, page '%6', "
                       "extractor '%7', playlist %8, playlistTitle '%9', entries [%10], formats [%11], "
                       "subs [%12], auto [%13]}")
            .arg(m.id, m.title, optionalText(m.duration), m.uploader, optionalText(m.thumbnail), m.webpageURL,
                 m.extractor, m.isPlaylist ? QStringLiteral("yes") : QStringLiteral("no"), m.playlistTitle)
            .arg(entries.join(u", "), formats.join(u", "), m.subtitleLangs.join(u','), m.autoCaptionLangs.join(u',')));
}

class TestFormatManager : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void parseMedia_data()
    {
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<MediaInfo>("expected");

        const auto untitled = QStringLiteral("Untitled");
        QTest::newRow("empty object") << QByteArray("{}") << MediaInfo{.title = untitled, .webpageURL = fallback};
        QTest::newRow("plain fields")
            << QByteArray("{'id': 'abc', 'title': 'T', 'duration': 12.5,"
                          " 'webpage_url': 'https://x.example/v', 'extractor_key': 'Youtube', 'extractor': 'youtube'}")
            << MediaInfo{.id = QStringLiteral("abc"),
                         .title = QStringLiteral("T"),
                         .duration = 12.5,
                         .webpageURL = QStringLiteral("https://x.example/v"),
                         .extractor = QStringLiteral("Youtube")};
        QTest::newRow("texts of another type take their default")
            << QByteArray("{'id': 7, 'title': null, 'webpage_url': 3, 'duration': '12'}")
            << MediaInfo{.title = untitled, .webpageURL = fallback};
        QTest::newRow("a boolean duration counts as a number")
            << QByteArray("{'duration': true}") << MediaInfo{.title = untitled, .duration = 1, .webpageURL = fallback};

        QTest::newRow("uploader before channel")
            << QByteArray("{'uploader': 'U', 'channel': 'C'}")
            << MediaInfo{.title = untitled, .uploader = QStringLiteral("U"), .webpageURL = fallback};
        QTest::newRow("channel when no uploader key")
            << QByteArray("{'channel': 'C', 'uploader_id': '@u'}")
            << MediaInfo{.title = untitled, .uploader = QStringLiteral("C"), .webpageURL = fallback};
        QTest::newRow("uploader_id last")
            << QByteArray("{'uploader_id': '@u'}")
            << MediaInfo{.title = untitled, .uploader = QStringLiteral("@u"), .webpageURL = fallback};
        QTest::newRow("a null uploader hides the channel")
            << QByteArray("{'uploader': null, 'channel': 'C'}") << MediaInfo{.title = untitled, .webpageURL = fallback};
        QTest::newRow("a numeric channel hides uploader_id") << QByteArray("{'channel': 5, 'uploader_id': '@u'}")
                                                             << MediaInfo{.title = untitled, .webpageURL = fallback};
        QTest::newRow("a null extractor_key hides the extractor")
            << QByteArray("{'extractor_key': null, 'extractor': 'generic'}")
            << MediaInfo{.title = untitled, .webpageURL = fallback};
        QTest::newRow("extractor when no extractor_key")
            << QByteArray("{'extractor': 'generic'}")
            << MediaInfo{.title = untitled, .webpageURL = fallback, .extractor = QStringLiteral("generic")};

        const QUrl big(QStringLiteral("https://i.example/big.jpg"));
        QTest::newRow("thumbnail text") << QByteArray("{'thumbnail': 'https://i.example/big.jpg',"
                                                      " 'thumbnails': [{'url': 'https://i.example/other.jpg'}]}")
                                        << MediaInfo{.title = untitled, .thumbnail = big, .webpageURL = fallback};
        QTest::newRow("last of thumbnails")
            << QByteArray(
                   "{'thumbnail': null,"
                   " 'thumbnails': [{'url': 'https://i.example/small.jpg'}, {'url': 'https://i.example/big.jpg'}]}")
            << MediaInfo{.title = untitled, .thumbnail = big, .webpageURL = fallback};
        QTest::newRow("an unparsable thumbnail hides the list")
            << QByteArray("{'thumbnail': 'http://a b/c',"
                          " 'thumbnails': [{'url': 'https://i.example/big.jpg'}]}")
            << MediaInfo{.title = untitled, .webpageURL = fallback};
        QTest::newRow("thumbnails with a stray element")
            << QByteArray("{'thumbnails': [{'url': 'https://i.example/big.jpg'}, 'x']}")
            << MediaInfo{.title = untitled, .webpageURL = fallback};
        QTest::newRow("last thumbnail without a url")
            << QByteArray("{'thumbnails': [{'url': 'https://i.example/big.jpg'}, {'id': '1'}]}")
            << MediaInfo{.title = untitled, .webpageURL = fallback};

        QTest::newRow("playlist type without entries") << QByteArray("{'_type': 'playlist', 'title': 'P'}")
                                                       << MediaInfo{.title = QStringLiteral("P"),
                                                                    .webpageURL = fallback,
                                                                    .isPlaylist = true,
                                                                    .playlistTitle = QStringLiteral("P")};
        QTest::newRow("entries make a playlist whatever the type")
            << QByteArray("{'_type': 'video', 'entries': 'nonsense'}")
            << MediaInfo{.title = untitled, .webpageURL = fallback, .isPlaylist = true, .playlistTitle = untitled};
        QTest::newRow("entries named by position")
            << QByteArray("{'entries': ["
                          " {}, {'title': 'Second', 'url': 'https://e.example/2', 'duration': 61.5}, {'title': 3}]}")
            << MediaInfo{.title = untitled,
                         .webpageURL = fallback,
                         .isPlaylist = true,
                         .playlistTitle = untitled,
                         .entries = {
                             {1, QStringLiteral("Item 1"), {}, {}},
                             {2, QStringLiteral("Second"), QStringLiteral("https://e.example/2"), 61.5},
                             {3, QStringLiteral("Item 3"), {}, {}},
                         }};
        QTest::newRow("entry links: a present url decides")
            << QByteArray("{'entries': ["
                          " {'url': null, 'webpage_url': 'https://e.example/a'},"
                          " {'webpage_url': 'https://e.example/b', 'duration': false}]}")
            << MediaInfo{.title = untitled,
                         .webpageURL = fallback,
                         .isPlaylist = true,
                         .playlistTitle = untitled,
                         .entries = {
                             {1, QStringLiteral("Item 1"), {}, {}},
                             {2, QStringLiteral("Item 2"), QStringLiteral("https://e.example/b"), 0},
                         }};
        QTest::newRow("a null entry empties the list")
            << QByteArray("{'_type': 'playlist', 'entries': [{'title': 'A'}, null]}")
            << MediaInfo{.title = untitled, .webpageURL = fallback, .isPlaylist = true, .playlistTitle = untitled};
        QTest::newRow("thumbnail and uploader from the first entry")
            << QByteArray(
                   "{'uploader': null,"
                   " 'entries': [{'title': 'A', 'thumbnail': 'https://i.example/one.jpg', 'channel': 'C',"
                   " 'thumbnails': [{'url': 'https://i.example/small.jpg'}, {'url': 'https://i.example/big.jpg'}]},"
                   " {'title': 'B', 'uploader': 'Other'}]}")
            << MediaInfo{.title = untitled,
                         .uploader = QStringLiteral("C"),
                         .thumbnail = big,
                         .webpageURL = fallback,
                         .isPlaylist = true,
                         .playlistTitle = untitled,
                         .entries = {
                             {1, QStringLiteral("A"), {}, {}},
                             {2, QStringLiteral("B"), {}, {}},
                         }};
        QTest::newRow("the playlist's own uploader and thumbnail win")
            << QByteArray("{'uploader': 'U',"
                          " 'thumbnails': [{'url': 'https://i.example/big.jpg'}],"
                          " 'entries': [{'uploader': 'E', 'thumbnails': [{'url': 'https://i.example/e.jpg'}]}]}")
            << MediaInfo{.title = untitled,
                         .uploader = QStringLiteral("U"),
                         .thumbnail = big,
                         .webpageURL = fallback,
                         .isPlaylist = true,
                         .playlistTitle = untitled,
                         .entries = {{1, QStringLiteral("Item 1"), {}, {}}}};

        QTest::newRow("formats not a list")
            << QByteArray("{'formats': {'format_id': '1'}}") << MediaInfo{.title = untitled, .webpageURL = fallback};
        QTest::newRow("a stray format element empties the list")
            << QByteArray("{'formats': [{'format_id': '1'}, 2]}")
            << MediaInfo{.title = untitled, .webpageURL = fallback};
        QTest::newRow("formats keep order and duplicate ids")
            << QByteArray("{'formats': [{'format_id': 'b'}, {'format_id': 'a'}, {'format_id': 'b', 'ext': 'mp4'}]}")
            << MediaInfo{.title = untitled,
                         .webpageURL = fallback,
                         .formats = {FormatInfo{.id = QStringLiteral("b")}, FormatInfo{.id = QStringLiteral("a")},
                                     FormatInfo{.id = QStringLiteral("b"), .ext = QStringLiteral("mp4")}}};

        QTest::newRow("subtitle languages sorted by code point")
            << QByteArray("{'subtitles': {'en': [], '\xF0\x9D\x90\x80': [], 'de': [], "
                          "'\xEF\xBC\xA1': [], 'En': []}}")
            << MediaInfo{.title = untitled,
                         .webpageURL = fallback,
                         .subtitleLangs = {u"En"_s, u"de"_s, u"en"_s, u"\uFF21"_s, QString::fromUcs4(U"\U0001D400")}};
        QTest::newRow("automatic captions keep originals only")
            << QByteArray("{'subtitles': [], 'automatic_captions': {'en-orig': [], 'en': [], 'de-en': [], 'de': []}}")
            << MediaInfo{
                   .title = untitled, .webpageURL = fallback, .autoCaptionLangs = {u"de"_s, u"en"_s, u"en-orig"_s}};
    }

    void parseMedia()
    {
        QFETCH(QByteArray, json);
        QFETCH(MediaInfo, expected);
        QCOMPARE(FormatManager::parse(relaxed(json), fallback), expected);
    }

    void parseFormat_data()
    {
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<FormatInfo>("expected");

        QTest::newRow("defaults") << QByteArray("{}") << FormatInfo{};
        QTest::newRow("every field")
            << QByteArray(
                   "{'format_id': '137', 'ext': 'mp4', 'height': 1080,"
                   " 'width': 1920, 'fps': 29.97, 'vcodec': 'avc1.640028', 'acodec': 'none', 'filesize': 123456789,"
                   " 'tbr': 4412.5, 'format_note': '1080p', 'protocol': 'https'}")
            << FormatInfo{u"137"_s,  u"mp4"_s,  1080,   1920,       29.97,     u"avc1.640028"_s,
                          u"none"_s, 123456789, 4412.5, u"1080p"_s, u"https"_s};
        QTest::newRow("fractions are truncated") << QByteArray("{'height': 719.9, 'width': -3.7, 'filesize': 1000.99}")
                                                 << FormatInfo{.height = 719, .width = -3, .filesize = 1000};
        QTest::newRow("booleans count as 1 and 0")
            << QByteArray("{'height': true, 'width': false, 'fps': true,"
                          " 'filesize': true, 'tbr': false}")
            << FormatInfo{.height = 1, .width = 0, .fps = 1, .filesize = 1, .tbr = 0};
        QTest::newRow("numbers in text are not numbers")
            << QByteArray("{'height': '1080', 'fps': '30', 'tbr': null}") << FormatInfo{};
        QTest::newRow("texts of another type") << QByteArray("{'format_id': 18, 'ext': null, 'vcodec': null,"
                                                             " 'acodec': 1, 'format_note': [], 'protocol': {}}")
                                               << FormatInfo{};
        QTest::newRow("a null filesize hides filesize_approx")
            << QByteArray("{'filesize': null, 'filesize_approx': 1000}") << FormatInfo{};
        QTest::newRow("filesize_approx when no filesize key")
            << QByteArray("{'filesize_approx': 1000}") << FormatInfo{.filesize = 1000};
        QTest::newRow("a text filesize hides filesize_approx")
            << QByteArray("{'filesize': '12', 'filesize_approx': 1000}") << FormatInfo{};
        QTest::newRow("sizes above 2^53 stay exact")
            << QByteArray("{'filesize': 9007199254740993}") << FormatInfo{.filesize = 9007199254740993LL};
        QTest::newRow("sizes beyond 64 bits are dropped")
            << QByteArray("{'filesize': 1e19, 'height': -1e300}") << FormatInfo{};
    }

    void parseFormat()
    {
        QFETCH(QByteArray, json);
        QFETCH(FormatInfo, expected);
        QCOMPARE(formatFrom(json), expected);
    }

    // What a current yt-dlp answered for the links our own tests serve.
    void parseRecordedAnswers()
    {
        const MediaInfo single = FormatManager::parse(fixture(u"single.info.json"_s), fallback);
        QCOMPARE(single.id, u"talk"_s);
        QCOMPARE(single.title, u"talk"_s);
        QCOMPARE(single.extractor, u"Generic"_s);
        QCOMPARE(single.webpageURL, u"http://127.0.0.1:<PORT>/talk.mp4"_s);
        QVERIFY(!single.isPlaylist);
        // A direct file reports its codecs as null: the format is listed but has no known streams.
        QCOMPARE(single.formats, (QList<FormatInfo>{{.id = u"mp4"_s, .ext = u"mp4"_s, .proto = u"http"_s}}));
        QCOMPARE(single.uploader, QString());

        const MediaInfo dash = FormatManager::parse(fixture(u"dash.info.json"_s), fallback);
        QVERIFY(!dash.isPlaylist);
        QCOMPARE(dash.formats.size(), 2);
        QCOMPARE(dash.formats[1], (FormatInfo{u"0"_s,
                                              u"mp4"_s,
                                              240,
                                              426,
                                              {},
                                              u"avc1.640015"_s,
                                              u"none"_s,
                                              {},
                                              45.67,
                                              u"DASH video"_s,
                                              u"http_dash_segments"_s}));
        QCOMPARE(dash.formats[0].acodec, u"mp4a.40.2"_s);
        QCOMPARE(dash.formats[0].tbr.value_or(-1), 69.0);

        const MediaInfo playlist = FormatManager::parse(fixture(u"playlist.info.json"_s), fallback);
        QVERIFY(playlist.isPlaylist);
        QCOMPARE(playlist.playlistTitle, u"Sample Show"_s);
        QCOMPARE(playlist.entries.size(), 3);
        QCOMPARE(playlist.entries[2],
                 (PlaylistEntry{
                     3,
                     u"Episode «three» 日本語"_s,
                     u"http://127.0.0.1:<PORT>/talk.mp4#__youtubedl_smuggle=%7B%22force_videoid%22%3A+%22ep3%22%7D"_s,
                     {}}));
        QCOMPARE(playlist.entries[0].title, u"Episode: one/two"_s);
        QVERIFY(playlist.formats.isEmpty());
    }

    void selection_data()
    {
        QTest::addColumn<Preset>("preset");
        QTest::addColumn<bool>("compatible");
        QTest::addColumn<std::optional<QString>>("videoID");
        QTest::addColumn<std::optional<QString>>("audioID");
        QTest::addColumn<FormatManager::Selection>("expected");

        const std::optional<QString> none;
        const auto id = [](const char16_t *text) { return std::optional<QString>(QString::fromUtf16(text)); };
        const auto sort = id(u"res,vcodec:h264,acodec:aac");
        const QString best = u"bv*+ba/b"_s;
        QTest::newRow("best") << Preset::Best << false << none << none << FormatManager::Selection{best, {}, false};
        QTest::newRow("best, compatible")
            << Preset::Best << true << none << none << FormatManager::Selection{best, sort, false};
        QTest::newRow("4K") << Preset::Uhd << true << none << none
                            << FormatManager::Selection{u"bv*[height<=2160]+ba/b[height<=2160]/bv*+ba/b"_s, sort,
                                                        false};
        QTest::newRow("1080p") << Preset::Hd1080 << false << none << none
                               << FormatManager::Selection{
                                      u"bv*[height<=1080]+ba/b[height<=1080]/bv*+ba/b"_s, {}, false};
        QTest::newRow("720p") << Preset::Hd720 << false << none << none
                              << FormatManager::Selection{u"bv*[height<=720]+ba/b[height<=720]/bv*+ba/b"_s, {}, false};
        QTest::newRow("720p, compatible")
            << Preset::Hd720 << true << none << none
            << FormatManager::Selection{u"bv*[height<=720]+ba/b[height<=720]/bv*+ba/b"_s, sort, false};
        QTest::newRow("audio, compatible ignored")
            << Preset::Audio << true << id(u"137") << id(u"140") << FormatManager::Selection{u"ba/b"_s, {}, true};
        QTest::newRow("presets ignore the pickers")
            << Preset::Best << false << id(u"137") << id(u"140") << FormatManager::Selection{best, {}, false};

        QTest::newRow("custom: video alone")
            << Preset::Custom << true << id(u"137") << none << FormatManager::Selection{u"137"_s, {}, false};
        QTest::newRow("custom: video, audio auto")
            << Preset::Custom << false << id(u"137") << id(u"auto") << FormatManager::Selection{u"137"_s, {}, false};
        QTest::newRow("custom: video, no audio")
            << Preset::Custom << false << id(u"137") << id(u"none") << FormatManager::Selection{u"137"_s, {}, false};
        QTest::newRow("custom: video and audio")
            << Preset::Custom << true << id(u"137") << id(u"140") << FormatManager::Selection{u"137+140"_s, {}, false};
        QTest::newRow("custom: nothing chosen")
            << Preset::Custom << true << none << none << FormatManager::Selection{best, {}, false};
        QTest::newRow("custom: auto video, no audio")
            << Preset::Custom << false << id(u"auto") << id(u"none") << FormatManager::Selection{best, {}, false};
        QTest::newRow("custom: auto video, audio 140")
            << Preset::Custom << true << id(u"auto") << id(u"140") << FormatManager::Selection{u"140"_s, {}, true};
        QTest::newRow("custom: a video named none is an id")
            << Preset::Custom << false << id(u"none") << none << FormatManager::Selection{u"none"_s, {}, false};
    }

    void selection()
    {
        QFETCH(Preset, preset);
        QFETCH(bool, compatible);
        QFETCH(std::optional<QString>, videoID);
        QFETCH(std::optional<QString>, audioID);
        QFETCH(FormatManager::Selection, expected);
        QCOMPARE(FormatManager::selection(preset, compatible, videoID, audioID), expected);
    }
};

QTEST_APPLESS_MAIN(TestFormatManager)
#include "tst_formatmanager.moc"
