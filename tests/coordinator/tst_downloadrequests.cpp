#include "TestEnvironment.h"
#include "coordinator/DownloadRequests.h"
#include "core/SettingsStore.h"
#include "engine/MediaInfo.h"

#include <QTest>

#include <functional>

using namespace Qt::StringLiterals;

namespace {

const QString plainTemplate = u"%(title)s [%(id)s].%(ext)s"_s;
const QString best = u"bv*+ba/b"_s;
const QString compatibleSort = u"res,vcodec:h264,acodec:aac"_s;
const QString pageLink = u"https://a.example/x"_s;

MediaInfo playlistOf(int count)
{
    MediaInfo info;
    info.title = u"A list"_s;
    info.isPlaylist = true;
    for (int id = 1; id <= count; ++id)
        info.entries.append(PlaylistEntry{id, u"Entry %1"_s.arg(id), std::nullopt, std::nullopt});
    return info;
}

} // namespace

class TestDownloadRequests : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { SettingsStore::registerDefaults(); }

    void baseValues()
    {
        TestEnvironment env;
        DownloadOptions expected;
        expected.url = pageLink;
        expected.title = u"T"_s;
        expected.audioFormat = u"mp3"_s;
        expected.container = u"mp4"_s;
        expected.folder = SettingsStore::string(u"downloadFolder"_s);
        expected.outputTemplate = plainTemplate;
        expected.embedThumbnail = true;
        expected.embedMetadata = true;
        expected.subLangs = u"en.*"_s;
        expected.presetName = u"Best Quality"_s;
        QVERIFY(!expected.folder.isEmpty());
        QCOMPARE(DownloadRequests::baseOptions(pageLink, u"T"_s), expected);
    }

    // The settings a request starts from are read at each call, stored values winning.
    void baseReadsFolderAndTemplate()
    {
        TestEnvironment env;
        SettingsStore::set(u"downloadFolder"_s, u"/srv/media"_s);
        SettingsStore::set(u"outputTemplate"_s, u"%(id)s.%(ext)s"_s);
        SettingsStore::set(u"retries"_s, 3); // network settings wait for apply()
        const DownloadOptions options = DownloadRequests::baseOptions(pageLink, QString());
        QCOMPARE(options.folder, u"/srv/media"_s);
        QCOMPARE(options.outputTemplate, u"%(id)s.%(ext)s"_s);
        QCOMPARE(options.network.retries, 10);

        // A folder the user emptied stays empty (the download's preflight reports it).
        SettingsStore::set(u"downloadFolder"_s, QString());
        QCOMPARE(DownloadRequests::baseOptions(pageLink, QString()).folder, QString());

        // A template that names a folder of its own: the files go there, so the request's is that.
        SettingsStore::set(u"outputTemplate"_s, u"/srv/v/%(uploader)s/%(id)s.%(ext)s"_s);
        const DownloadOptions placed = DownloadRequests::baseOptions(pageLink, QString());
        QCOMPARE(placed.folder, u"/srv/v"_s);
        QCOMPARE(placed.outputTemplate, u"%(uploader)s/%(id)s.%(ext)s"_s);
    }

    void applyWritesSettings_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QString>("field");
        QTest::newRow("audioFormat") << u"audioFormat"_s << QVariant(u"opus"_s) << u"audioFormat"_s;
        QTest::newRow("mergeContainer") << u"mergeContainer"_s << QVariant(u"mkv"_s) << u"container"_s;
        QTest::newRow("embedThumbnail") << u"embedThumbnail"_s << QVariant(false) << u"embedThumbnail"_s;
        QTest::newRow("embedMetadata") << u"embedMetadata"_s << QVariant(false) << u"embedMetadata"_s;
        QTest::newRow("writeSubs") << u"writeSubs"_s << QVariant(true) << u"subtitles"_s;
        QTest::newRow("autoSubs") << u"autoSubs"_s << QVariant(true) << u"autoSubs"_s;
        QTest::newRow("embedSubs") << u"embedSubs"_s << QVariant(true) << u"embedSubs"_s;
        QTest::newRow("subLangs") << u"subLangs"_s << QVariant(u"de,fr"_s) << u"subLangs"_s;
        QTest::newRow("proxy") << u"proxy"_s << QVariant(u"socks5://h:1"_s) << u"network"_s;
        QTest::newRow("retries") << u"retries"_s << QVariant(2) << u"network"_s;
    }

    // Each setting lands in its own field, and nothing else of the request changes.
    void applyWritesSettings()
    {
        QFETCH(QString, key);
        QFETCH(QVariant, value);
        QFETCH(QString, field);
        TestEnvironment env;
        const DownloadOptions base = DownloadRequests::baseOptions(pageLink, u"T"_s);
        const FormatManager::Selection selection{u"ba/b"_s, std::nullopt, true};

        DownloadOptions before = base;
        DownloadRequests::apply(selection, Preset::Audio, before);
        SettingsStore::set(key, value);
        DownloadOptions after = base;
        DownloadRequests::apply(selection, Preset::Audio, after);
        QVERIFY(before != after);

        using Copy = std::function<void(DownloadOptions &, const DownloadOptions &)>;
        const QHash<QString, Copy> copyField{
            {u"audioFormat"_s, [](auto &to, auto &from) { to.audioFormat = from.audioFormat; }},
            {u"container"_s, [](auto &to, auto &from) { to.container = from.container; }},
            {u"embedThumbnail"_s, [](auto &to, auto &from) { to.embedThumbnail = from.embedThumbnail; }},
            {u"embedMetadata"_s, [](auto &to, auto &from) { to.embedMetadata = from.embedMetadata; }},
            {u"subtitles"_s, [](auto &to, auto &from) { to.subtitles = from.subtitles; }},
            {u"autoSubs"_s, [](auto &to, auto &from) { to.autoSubs = from.autoSubs; }},
            {u"embedSubs"_s, [](auto &to, auto &from) { to.embedSubs = from.embedSubs; }},
            {u"subLangs"_s, [](auto &to, auto &from) { to.subLangs = from.subLangs; }},
            {u"network"_s, [](auto &to, auto &from) { to.network = from.network; }},
        };
        copyField.value(field)(before, after);
        QCOMPARE(before, after);
        QCOMPARE(after.network, SettingsStore::networkSnapshot());
    }

    void applyWritesChoice()
    {
        TestEnvironment env;
        DownloadOptions options = DownloadRequests::baseOptions(pageLink, u"T"_s);
        DownloadRequests::apply({u"137+140"_s, u"res"_s, false}, Preset::Custom, options);
        QCOMPARE(options.formatSelector, u"137+140"_s);
        QCOMPARE(options.formatSort, u"res"_s);
        QVERIFY(!options.audioOnly);
        QCOMPARE(options.presetName, u"Advanced"_s);
        // Defaults of the format settings, and the untouched fields.
        QCOMPARE(options.audioFormat, u"mp3"_s);
        QCOMPARE(options.container, u"mp4"_s);
        QVERIFY(options.embedThumbnail && options.embedMetadata);
        QVERIFY(!options.subtitles && !options.autoSubs && !options.embedSubs);
        QCOMPARE(options.title, u"T"_s);
        QCOMPARE(options.outputTemplate, plainTemplate);

        DownloadRequests::apply({u"ba/b"_s, std::nullopt, true}, Preset::Audio, options);
        QCOMPARE(options.formatSort, std::nullopt);
        QVERIFY(options.audioOnly);
        QCOMPARE(options.presetName, u"Audio Only"_s);
    }

    void playlistTemplates_data()
    {
        QTest::addColumn<bool>("numbering");
        QTest::addColumn<QString>("expected");
        QTest::newRow("numbered") << true << u"%(playlist_title|Playlist)s/%(playlist_index)03d - "_s + plainTemplate;
        QTest::newRow("unnumbered") << false << u"%(playlist_title|Playlist)s/"_s + plainTemplate;
    }

    void playlistTemplates()
    {
        QFETCH(bool, numbering);
        QFETCH(QString, expected);
        TestEnvironment env;
        SettingsStore::set(u"playlistNumbering"_s, numbering);
        DownloadOptions options = DownloadRequests::baseOptions(pageLink, u"L"_s);
        options.playlistItems = u"2"_s;
        DownloadRequests::applyPlaylist(options, nullptr, {});
        QVERIFY(options.isPlaylist);
        QCOMPARE(options.outputTemplate, expected);
        // Without fetched media the items are left as they were.
        QCOMPARE(options.playlistItems, u"2"_s);
    }

    void playlistItems_data()
    {
        QTest::addColumn<int>("entries");
        QTest::addColumn<QList<int>>("chosen");
        QTest::addColumn<std::optional<QString>>("expected");
        QTest::newRow("all five") << 5 << QList<int>{1, 2, 3, 4, 5} << std::optional<QString>();
        QTest::newRow("1, 2, 3, 5") << 5 << QList<int>{5, 1, 3, 2} << std::optional<QString>(u"1-3,5"_s);
        QTest::newRow("one of one") << 1 << QList<int>{1} << std::optional<QString>();
        QTest::newRow("second of three") << 3 << QList<int>{2} << std::optional<QString>(u"2"_s);
    }

    void playlistItems()
    {
        QFETCH(int, entries);
        QFETCH(QList<int>, chosen);
        QFETCH(std::optional<QString>, expected);
        TestEnvironment env;
        const MediaInfo info = playlistOf(entries);
        const QSet<int> items(chosen.cbegin(), chosen.cend());
        DownloadOptions options = DownloadRequests::baseOptions(pageLink, u"L"_s);
        DownloadRequests::applyPlaylist(options, &info, items);
        QCOMPARE(options.playlistItems, expected);

        const auto fetched = DownloadRequests::fetched(pageLink, info, Preset::Best, u"auto"_s, u"auto"_s, items);
        QVERIFY(fetched);
        QVERIFY(fetched->isPlaylist);
        QCOMPARE(fetched->playlistItems, expected);
        QCOMPARE(fetched->title, u"A list"_s);
    }

    void fetchedMedia()
    {
        TestEnvironment env;
        MediaInfo info;
        info.title = u"Clip"_s;
        info.uploader = u"Maker"_s;
        info.thumbnail = QUrl(u"http://127.0.0.1:8/thumb%20one.jpg"_s);
        const auto options = DownloadRequests::fetched(pageLink, info, Preset::Custom, u"137"_s, u"140"_s, {});
        QVERIFY(options);
        QCOMPARE(options->url, pageLink);
        QCOMPARE(options->title, u"Clip"_s);
        QCOMPARE(options->uploader, u"Maker"_s);
        QCOMPARE(options->thumbnail, u"http://127.0.0.1:8/thumb%20one.jpg"_s);
        QCOMPARE(options->formatSelector, u"137+140"_s);
        QCOMPARE(options->presetName, u"Advanced"_s);
        QVERIFY(!options->isPlaylist);
        QCOMPARE(options->outputTemplate, plainTemplate);

        info.thumbnail.reset();
        const auto automatic = DownloadRequests::fetched(pageLink, info, Preset::Custom, u"auto"_s, u"auto"_s, {});
        QCOMPARE(automatic->thumbnail, std::nullopt);
        QCOMPARE(automatic->formatSelector, best);

        // A playlist with nothing chosen is no request.
        QCOMPARE(DownloadRequests::fetched(pageLink, playlistOf(3), Preset::Best, u"auto"_s, u"auto"_s, {}),
                 std::nullopt);
    }

    void quickLinks_data()
    {
        QTest::addColumn<QString>("url");
        QTest::addColumn<bool>("playlist");
        QTest::newRow("watch pageLink") << u"https://www.youtube.com/watch?v=abc"_s << false;
        QTest::newRow("watch pageLink with list") << u"https://www.youtube.com/watch?v=abc&list=PL1"_s << false;
        QTest::newRow("list only") << u"https://www.youtube.com/watch?list=PL1"_s << true;
        QTest::newRow("playlist path") << u"https://www.youtube.com/playlist?list=PL1&v=x"_s << true;
        QTest::newRow("other site") << u"https://media.example/clip.mp4"_s << false;
        QTest::newRow("upper case is no playlist") << u"https://a.example/PLAYLIST?LIST=1"_s << false;
    }

    void quickLinks()
    {
        QFETCH(QString, url);
        QFETCH(bool, playlist);
        TestEnvironment env;
        // Between two plain links: one batch, one reading of the settings, each link its own kind.
        const QString plain = u"https://media.example/plain.mp4"_s;
        const QList<DownloadOptions> batch = DownloadRequests::quick({plain, url, plain});
        QCOMPARE(batch.size(), 3);
        QCOMPARE(batch[0], batch[2]);
        QVERIFY(!batch[0].isPlaylist);
        QCOMPARE(batch[0].outputTemplate, plainTemplate);
        const DownloadOptions &options = batch[1];
        QCOMPARE(options.url, url);
        QCOMPARE(options.title, QString());
        QCOMPARE(options.isPlaylist, playlist);
        QCOMPARE(options.outputTemplate.startsWith(u"%(playlist_title|Playlist)s/"), playlist);
        QCOMPARE(options.playlistItems, std::nullopt);
    }

    void quickPresets_data()
    {
        QTest::addColumn<QVariant>("setting");
        QTest::addColumn<QString>("format");
        QTest::addColumn<bool>("audioOnly");
        QTest::addColumn<QString>("presetName");
        QTest::newRow("unset") << QVariant() << best << false << u"Best Quality"_s;
        QTest::newRow("empty") << QVariant(QString()) << best << false << u"Best Quality"_s;
        QTest::newRow("bogus") << QVariant(u"bogus"_s) << best << false << u"Best Quality"_s;
        QTest::newRow("Advanced chooses like Best") << QVariant(u"Advanced"_s) << best << false << u"Advanced"_s;
        QTest::newRow("Audio Only") << QVariant(u"Audio Only"_s) << u"ba/b"_s << true << u"Audio Only"_s;
        QTest::newRow("720p") << QVariant(u"720p"_s) << u"bv*[height<=720]+ba/b[height<=720]/bv*+ba/b"_s << false
                              << u"720p"_s;
    }

    void quickPresets()
    {
        QFETCH(QVariant, setting);
        QFETCH(QString, format);
        QFETCH(bool, audioOnly);
        QFETCH(QString, presetName);
        TestEnvironment env;
        if (setting.isValid())
            SettingsStore::set(u"defaultPreset"_s, setting);
        const DownloadOptions options = DownloadRequests::quick({pageLink}).first();
        QCOMPARE(options.formatSelector, format);
        QCOMPARE(options.audioOnly, audioOnly);
        QCOMPARE(options.presetName, presetName);
        // "Advanced" takes the sort of the compatible Best Quality choice too.
        QCOMPARE(options.formatSort, audioOnly ? std::nullopt : std::optional<QString>(compatibleSort));
    }

    // A request is a value: settings changed after it was built never reach it.
    void laterSettingsLeaveRequestAlone()
    {
        TestEnvironment env;
        const DownloadOptions queued = DownloadRequests::quick({pageLink}).first();
        const DownloadOptions copy = queued;
        SettingsStore::set(u"audioFormat"_s, u"flac"_s);
        SettingsStore::set(u"outputTemplate"_s, u"%(id)s"_s);
        QCOMPARE(queued, copy);
        QCOMPARE(DownloadRequests::quick({pageLink}).first().audioFormat, u"flac"_s);
    }
};

QTEST_GUILESS_MAIN(TestDownloadRequests)
#include "tst_downloadrequests.moc"
