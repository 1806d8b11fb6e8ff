#include "TestDownloads.h"
#include "TestHttpServer.h"
#include "TestMedia.h"
#include "TestRecommender.h"
#include "coordinator/SongDownloads.h"
#include "core/SettingsStore.h"
#include "engine/DownloadManager.h"
#include "engine/DownloadTask.h"
#include "engine/HistoryStore.h"
#include "music/VideoSite.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSignalSpy>
#include <QTest>

// Songs queued from the music side and finished downloads filed in the library, over the real
// queue, library and recommendation engine.
namespace {

const QString toolsMessage = QStringLiteral("Tools are still being installed.");

Track song(int n)
{
    return TestRecommender::song(n, QStringLiteral("Artist"));
}

// A video-site base for a row's duration; an empty base leaves the real site.
class VideoSiteBase
{
public:
    explicit VideoSiteBase(const QString &base)
    {
        if (!base.isEmpty())
            qputenv("MORVANE_VIDEO_SITE", base.toUtf8());
    }
    ~VideoSiteBase() { qunsetenv("MORVANE_VIDEO_SITE"); }
    VideoSiteBase(const VideoSiteBase &) = delete;
    VideoSiteBase &operator=(const VideoSiteBase &) = delete;
};

struct Rig
{
    TestRecommender recommender;
    HistoryStore history;
    DownloadManager downloads{&history};
    bool ready = true;
    SongDownloads songs{downloads, recommender.store(), recommender.engine(), [this] { return ready; }};
    QSignalSpy toasts{&songs, &SongDownloads::toast};
    QString folder = recommender.environment().root() + QStringLiteral("/Music");

    Rig() { SettingsStore::set(QStringLiteral("downloadFolder"), folder); }

    [[nodiscard]] QStringList toastTexts() const
    {
        QStringList texts;
        for (const QList<QVariant> &arguments : toasts)
            texts.append(arguments.constFirst().toString());
        return texts;
    }

    static void createFile(const QString &path)
    {
        QFile file(path);
        QVERIFY(QDir().mkpath(QFileInfo(path).path()));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }

    // An existing file recorded as the track's download.
    void markDownloaded(const Track &track, const QString &path)
    {
        createFile(path);
        recommender.store().recordDownload(track.id, path);
    }
};

} // namespace

class TestSongDownloads : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { SettingsStore::registerDefaults(); }

    void oneSong_data()
    {
        QTest::addColumn<bool>("ready");
        QTest::addColumn<bool>("quiet");
        QTest::addColumn<QString>("earlier"); // a task status, "downloaded", "file gone" or nothing
        QTest::addColumn<QString>("message");
        QTest::addColumn<bool>("queued");

        const QString downloading = QStringLiteral("Downloading \u201CSong 1\u201D");
        QTest::newRow("tools not ready") << false << false << "" << toolsMessage << false;
        QTest::newRow("tools not ready, quiet") << false << true << "" << toolsMessage << false;
        QTest::newRow("new") << true << false << "" << downloading << true;
        QTest::newRow("new, quiet") << true << true << "" << QString() << true;
        QTest::newRow("downloaded") << true << false << "downloaded"
                                    << "Already downloaded" << false;
        QTest::newRow("downloaded, quiet") << true << true << "downloaded" << QString() << false;
        QTest::newRow("downloaded file gone") << true << false << "file gone" << downloading << true;
        for (const char *status : {"queued", "downloading", "processing", "paused"})
            QTest::addRow("%s", status) << true << false << status << "Already downloading" << false;
        QTest::newRow("queued, quiet") << true << true << "queued" << QString() << false;
        for (const char *status : {"failed", "cancelled", "completed"})
            QTest::addRow("%s earlier", status) << true << false << status << downloading << true;
    }

    void oneSong()
    {
        QFETCH(bool, ready);
        QFETCH(bool, quiet);
        QFETCH(QString, earlier);
        QFETCH(QString, message);
        QFETCH(bool, queued);

        Rig rig;
        rig.ready = ready;
        const Track track = song(1);
        const QString file = rig.folder + QStringLiteral("/Morvane Music/song.mp3");
        if (earlier == QLatin1String("downloaded")) {
            rig.markDownloaded(track, file);
        } else if (earlier == QLatin1String("file gone")) {
            rig.recommender.store().recordDownload(track.id, file);
        } else if (const auto status = TaskStatuses::fromRawValue(earlier)) {
            rig.downloads.enqueue(SongDownloads::request(track, std::nullopt))->setStatus(*status);
        }
        const qsizetype tasksBefore = rig.downloads.tasks().size();

        rig.songs.download(track, std::nullopt, quiet);

        QCOMPARE(rig.toastTexts(), message.isEmpty() ? QStringList() : QStringList{message});
        QCOMPARE(rig.downloads.tasks().size(), tasksBefore + (queued ? 1 : 0));
        QCOMPARE(rig.recommender.store().catalog().contains(track.id), queued);
        if (queued)
            QCOMPARE(rig.downloads.tasks().constLast()->options(), SongDownloads::request(track, std::nullopt));
    }

    void request_data()
    {
        QTest::addColumn<bool>("changed");
        QTest::addColumn<QString>("audioFormat");
        QTest::addColumn<bool>("embedThumbnail");
        QTest::addColumn<bool>("embedMetadata");

        QTest::newRow("defaults") << false << "mp3" << true << true;
        QTest::newRow("changed") << true << "opus" << false << true;
    }

    // Each field as the song download defines it: only the audio format, the two embed switches and
    // the network settings follow the downloader's settings.
    void request()
    {
        QFETCH(bool, changed);
        QFETCH(QString, audioFormat);
        QFETCH(bool, embedThumbnail);
        QFETCH(bool, embedMetadata);

        Rig rig;
        if (changed) {
            SettingsStore::set(QStringLiteral("audioFormat"), audioFormat);
            SettingsStore::set(QStringLiteral("embedThumbnail"), embedThumbnail);
            SettingsStore::set(QStringLiteral("embedMetadata"), embedMetadata);
            SettingsStore::set(QStringLiteral("proxy"), QStringLiteral("http://127.0.0.1:3128"));
            SettingsStore::set(QStringLiteral("retries"), 3);
            // The downloader's own choices stay out of songs.
            SettingsStore::set(QStringLiteral("mergeContainer"), QStringLiteral("mkv"));
            SettingsStore::set(QStringLiteral("writeSubs"), true);
            SettingsStore::set(QStringLiteral("subLangs"), QStringLiteral("de.*"));
            SettingsStore::set(QStringLiteral("outputTemplate"), QStringLiteral("%(id)s.%(ext)s"));
        }
        const Track track = song(7);
        rig.songs.download(track, QStringLiteral("Road Trip"), false);
        QCOMPARE(rig.downloads.tasks().size(), 1);
        const DownloadOptions options = rig.downloads.tasks().constFirst()->options();

        QCOMPARE(options.url, QStringLiteral("https://www.youtube.com/watch?v=id000000007"));
        QCOMPARE(options.title, QStringLiteral("Song 7"));
        QCOMPARE(options.uploader, QStringLiteral("Artist"));
        QCOMPARE(options.thumbnail, QStringLiteral("https://i.ytimg.com/vi/id000000007/mqdefault.jpg"));
        QCOMPARE(options.isPlaylist, false);
        QCOMPARE(options.playlistItems, std::nullopt);
        QCOMPARE(options.formatSelector, QStringLiteral("bestaudio/best"));
        QCOMPARE(options.formatSort, std::nullopt);
        QCOMPARE(options.audioOnly, true);
        QCOMPARE(options.audioFormat, audioFormat);
        QCOMPARE(options.container, QString());
        QCOMPARE(options.folder, rig.folder + QStringLiteral("/Morvane Music/Road Trip"));
        QCOMPARE(options.outputTemplate, QStringLiteral("%(artist,uploader)s - %(title)s [%(id)s].%(ext)s"));
        QCOMPARE(options.embedThumbnail, embedThumbnail);
        QCOMPARE(options.embedMetadata, embedMetadata);
        QCOMPARE(options.subtitles, false);
        QCOMPARE(options.autoSubs, false);
        QCOMPARE(options.embedSubs, false);
        QCOMPARE(options.subLangs, QStringLiteral("en.*"));
        QCOMPARE(options.network, SettingsStore::networkSnapshot());
        QCOMPARE(options.network.proxy, changed ? QStringLiteral("http://127.0.0.1:3128") : QString());
        QCOMPARE(options.presetName, QStringLiteral("Audio Only"));
    }

    void subFolderNames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("folder"); // below "Morvane Music"; empty: none

        const QString e = QStringLiteral("\u00E9");         // two bytes of UTF-8
        const QString smile = QStringLiteral("\U0001F600"); // four bytes, two UTF-16 units
        QTest::newRow("slash and colon") << "a/b:c"
                                         << "a-b-c";
        QTest::newRow("spaces stay") << "AC/DC: Live at  Donington"
                                     << "AC-DC- Live at  Donington";
        QTest::newRow("trimmed") << "  Road Trip \t"
                                 << "Road Trip";
        QTest::newRow("bell") << "Mix\aTape"
                              << "MixTape";
        QTest::newRow("line break inside") << "Mix\nTape"
                                           << "MixTape";
        QTest::newRow("dot dot") << ".."
                                 << "";
        QTest::newRow("dot") << "."
                             << "";
        QTest::newRow("dots and blanks") << " ... "
                                         << "";
        QTest::newRow("dots in a name") << "...And Justice"
                                        << "...And Justice";
        QTest::newRow("empty") << ""
                               << "";
        QTest::newRow("blanks") << "   "
                                << "";
        QTest::newRow("controls only") << "\t\n\a"
                                       << "";
        QTest::newRow("300 ASCII bytes") << QString(300, QLatin1Char('x')) << QString(200, QLatin1Char('x'));
        QTest::newRow("300 bytes of two-byte letters") << e.repeated(150) << e.repeated(100);
        QTest::newRow("a two-byte letter across the cap")
            << QStringLiteral("a") + e.repeated(150) << QStringLiteral("a") + e.repeated(99);
        QTest::newRow("a four-byte letter across the cap")
            << QStringLiteral("ab") + smile.repeated(60) << QStringLiteral("ab") + smile.repeated(49);
        QTest::newRow("blank at the cap")
            << QString(199, QLatin1Char('x')) + QStringLiteral(" yz") << QString(199, QLatin1Char('x'));
    }

    void subFolderNames()
    {
        QFETCH(QString, name);
        QFETCH(QString, folder);

        Rig rig;
        const QString songs = rig.folder + QStringLiteral("/Morvane Music");
        const QString expected = folder.isEmpty() ? songs : songs + QLatin1Char('/') + folder;
        QCOMPARE(SongDownloads::songFolder(name), expected);
    }

    void downloadFolderSetting_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("folder");

        QTest::newRow("a folder") << "/srv/media"
                                  << "/srv/media/Morvane Music/Mix";
        QTest::newRow("with a trailing slash") << "/srv/media/"
                                               << "/srv/media/Morvane Music/Mix";
        // Not "Morvane Music" relative to wherever the process runs: the queue refuses it instead.
        QTest::newRow("set to nothing") << ""
                                        << "";
    }

    void downloadFolderSetting()
    {
        QFETCH(QString, stored);
        QFETCH(QString, folder);

        Rig rig;
        SettingsStore::set(QStringLiteral("downloadFolder"), stored);
        QCOMPARE(SongDownloads::songFolder(QStringLiteral("Mix")), folder);
    }

    void songLists_data()
    {
        QTest::addColumn<bool>("ready");
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("downloaded"); // index of a song already downloaded, or -1
        QTest::addColumn<QString>("message");
        QTest::addColumn<int>("queued");

        QTest::newRow("three, one downloaded") << true << 3 << 1 << "Downloading 3 songs" << 2;
        QTest::newRow("one") << true << 1 << -1 << "Downloading 1 songs" << 1;
        QTest::newRow("tools not ready") << false << 3 << -1 << toolsMessage << 0;
    }

    void songLists()
    {
        QFETCH(bool, ready);
        QFETCH(int, count);
        QFETCH(int, downloaded);
        QFETCH(QString, message);
        QFETCH(int, queued);

        Rig rig;
        rig.ready = ready;
        QList<Track> tracks;
        for (int n = 1; n <= count; ++n)
            tracks.append(song(n));
        if (downloaded >= 0)
            rig.markDownloaded(tracks.at(downloaded), rig.folder + QStringLiteral("/old.mp3"));

        rig.songs.download(tracks, QStringLiteral("Mix: Summer"));

        QCOMPARE(rig.toastTexts(), QStringList{message});
        QCOMPARE(rig.downloads.tasks().size(), queued);
        for (const DownloadTask *task : rig.downloads.tasks()) {
            QCOMPARE(task->options().folder, rig.folder + QStringLiteral("/Morvane Music/Mix- Summer"));
            QVERIFY(task->options().url != VideoSite::watchLink(tracks.value(downloaded).id));
        }
    }

    void finishedDownloads_data()
    {
        QTest::addColumn<QString>("url");
        QTest::addColumn<QString>("videoSite"); // the video site's base during the row; empty: the real one
        QTest::addColumn<QString>("status");
        QTest::addColumn<bool>("audioOnly");
        QTest::addColumn<int>("files");
        QTest::addColumn<QString>("filedAs"); // empty: not filed

        const QString site = QStringLiteral("http://127.0.0.1:8123");
        const QString watch = QStringLiteral("https://www.youtube.com/watch?v=id000000001");
        const QString id = QStringLiteral("id000000001");
        QTest::newRow("song") << watch << ""
                              << "completed" << true << 1 << id;
        QTest::newRow("several files: the last") << watch << ""
                                                 << "completed" << true << 2 << id;
        QTest::newRow("music sub-domain") << "https://music.youtube.com/watch?v=id000000001&list=RD1"
                                          << ""
                                          << "completed" << true << 1 << id;
        QTest::newRow("first v wins") << "https://www.youtube.com/watch?x=1&v=id000000002&v=id000000003"
                                      << ""
                                      << "completed" << true << 1 << "id000000002";
        QTest::newRow("video site at a local base")
            << site + QStringLiteral("/watch?v=id000000001") << site << "completed" << true << 1 << id;
        QTest::newRow("local base not in use") << site + QStringLiteral("/watch?v=id000000001") << ""
                                               << "completed" << true << 1 << "";
        QTest::newRow("another site's v") << "https://example.com/watch?v=id000000001"
                                          << ""
                                          << "completed" << true << 1 << "";
        QTest::newRow("a look-alike host") << "https://notyoutube.com/watch?v=id000000001"
                                           << ""
                                           << "completed" << true << 1 << "";
        QTest::newRow("empty v") << "https://www.youtube.com/watch?v=&x=1"
                                 << ""
                                 << "completed" << true << 1 << "";
        QTest::newRow("v without value") << "https://www.youtube.com/watch?v"
                                         << ""
                                         << "completed" << true << 1 << "";
        QTest::newRow("no v") << "https://www.youtube.com/playlist?list=PL1"
                              << ""
                              << "completed" << true << 1 << "";
        QTest::newRow("not audio") << watch << ""
                                   << "completed" << false << 1 << "";
        QTest::newRow("no file") << watch << ""
                                 << "completed" << true << 0 << "";
        QTest::newRow("failed") << watch << ""
                                << "failed" << true << 1 << "";
        QTest::newRow("cancelled") << watch << ""
                                   << "cancelled" << true << 1 << "";
    }

    void finishedDownloads()
    {
        QFETCH(QString, url);
        QFETCH(QString, videoSite);
        QFETCH(QString, status);
        QFETCH(bool, audioOnly);
        QFETCH(int, files);
        QFETCH(QString, filedAs);

        Rig rig;
        const VideoSiteBase base(videoSite);
        DownloadOptions options;
        options.url = url;
        options.audioOnly = audioOnly;
        DownloadTask task(options);
        task.setStatus(*TaskStatuses::fromRawValue(status));
        QStringList paths;
        for (int n = 1; n <= files; ++n) {
            paths.append(rig.folder + QStringLiteral("/file%1.mp3").arg(n));
            Rig::createFile(paths.constLast());
        }
        task.setOutputFiles(paths);
        QSignalSpy rebuilt(&rig.recommender.engine(), &RecommendationEngine::sectionsChanged);

        rig.songs.downloadFinished(task);

        for (const QString &id : {QStringLiteral("id000000001"), QStringLiteral("id000000002"),
                                  QStringLiteral("id000000003"), QStringLiteral("watch")}) {
            const auto path = rig.recommender.store().downloadedPath(id);
            QCOMPARE(path, id == filedAs ? std::optional<QString>(paths.constLast()) : std::nullopt);
        }
        QCOMPARE(rebuilt.size(), filedAs.isEmpty() ? 0 : 1);
        QVERIFY(rig.toasts.isEmpty());
    }

    // Debian's yt-dlp and ffmpeg fetch the song from the video site, here the local server, through
    // the real queue into its sub-folder; the finished song is then known as downloaded.
    void realDownload()
    {
        Rig rig;
        const auto &environment = rig.recommender.environment();
        TestDownloads::installDebianTools(environment);
        TestHttpServer server;
        server.serveFile(QStringLiteral("/watch"), TestMedia::audioFile(), "audio/mp4");
        const VideoSiteBase base(server.base());
        rig.downloads.onFinished = [&rig](DownloadTask *task) { rig.songs.downloadFinished(*task); };
        rig.downloads.start();

        const Track track = song(5);
        rig.songs.download(track, QStringLiteral("Road/Trip"), false);
        QCOMPARE(rig.toastTexts(), QStringList{QStringLiteral("Downloading \u201CSong 5\u201D")});
        QCOMPARE(rig.downloads.tasks().size(), 1);
        const DownloadTask *task = rig.downloads.tasks().constFirst();
        QTRY_VERIFY_WITH_TIMEOUT(TaskStatuses::isFinished(task->status()), 60000);
        QVERIFY2(task->status() == TaskStatus::Completed, qPrintable(task->error().value_or(QString())));
        QCOMPARE(server.requestsFor(QStringLiteral("/watch")).constFirst().query, QStringLiteral("v=id000000005"));

        const QString folder = rig.folder + QStringLiteral("/Morvane Music/Road-Trip");
        const QStringList songs = QDir(folder).entryList({QStringLiteral("*.mp3")}, QDir::Files);
        QCOMPARE(songs.size(), 1);
        QCOMPARE(rig.recommender.store().downloadedPath(track.id), folder + QLatin1Char('/') + songs.constFirst());

        rig.songs.download(track, QStringLiteral("Road/Trip"), false);
        QCOMPARE(rig.toastTexts().constLast(), QStringLiteral("Already downloaded"));
        QCOMPARE(rig.downloads.tasks().size(), 1);
    }
};

QTEST_GUILESS_MAIN(TestSongDownloads)
#include "tst_songdownloads.moc"
