#include "TestDownloads.h"
#include "TestEnvironment.h"
#include "TestHttpServer.h"
#include "TestMedia.h"
#include "TestRequests.h"
#include "core/ManagedProcess.h"
#include "core/ProcessRunner.h"
#include "core/ProgressParser.h"
#include "core/YTDLPManager.h"
#include "engine/DownloadTask.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMetaMethod>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>
#include <limits>
#include <memory>
#include <vector>

using namespace Qt::Literals::StringLiterals;

namespace {

DownloadOptions request(const QString &title = QStringLiteral("Talk"),
                        const std::optional<QString> &selector = std::nullopt, bool audioOnly = false)
{
    DownloadOptions options;
    options.url = QStringLiteral("https://a.b/watch?v=1");
    options.title = title;
    options.formatSelector = selector;
    options.audioOnly = audioOnly;
    options.folder = QStringLiteral("/downloads");
    options.presetName = QStringLiteral("Best Quality");
    return options;
}

void feed(DownloadTask &task, const QStringList &lines)
{
    for (const QString &line : lines) {
        const std::optional<ProgressEvent> event = ProgressParser::parse(line);
        QVERIFY2(event, qPrintable(line));
        task.apply(*event);
    }
}

// Counts every change signal of a task, by property name.
class ChangeCounter
{
public:
    explicit ChangeCounter(DownloadTask &task)
    {
        const QMetaObject &meta = DownloadTask::staticMetaObject;
        for (int i = meta.propertyOffset(); i < meta.propertyCount(); ++i) {
            const QMetaProperty property = meta.property(i);
            if (property.hasNotifySignal() && !m_spies.contains(property.notifySignal().name()))
                m_spies.emplace(property.notifySignal().name(),
                                std::make_shared<QSignalSpy>(&task, property.notifySignal()));
        }
    }
    [[nodiscard]] int count(const char *signal) const { return int(m_spies.at(QByteArray(signal))->count()); }
    [[nodiscard]] int total() const
    {
        int sum = 0;
        for (const auto &[name, spy] : m_spies)
            sum += int(spy->count());
        return sum;
    }
    void clear()
    {
        for (const auto &[name, spy] : m_spies)
            spy->clear();
    }

private:
    std::map<QByteArray, std::shared_ptr<QSignalSpy>> m_spies;
};

// Feeds output lines to a task as the queue does (a line that parses to nothing is skipped),
// and checks after every event what must always hold: progress is finite, never goes back and
// stays at or below 0.995. Keeps the succession of stage texts.
class Replay
{
public:
    explicit Replay(DownloadTask &task)
        : m_task(task)
    {
        QObject::connect(&task, &DownloadTask::stageChanged, &task, [this] { stages.append(m_task.stage()); });
    }

    // As the queue does: markers an older yt-dlp glued together count one by one.
    void line(const QString &text)
    {
        if (const QList<QStringView> pieces = ProgressParser::splitGlued(text); pieces.size() > 1) {
            for (const QStringView piece : pieces)
                line(piece.toString());
            return;
        }
        const std::optional<ProgressEvent> event = ProgressParser::parse(text);
        if (!event)
            return;
        const double before = m_task.progress();
        m_task.apply(*event);
        const double after = m_task.progress();
        if (violation.isEmpty() && (!std::isfinite(after) || after < before || after > 0.995))
            violation = QStringLiteral("progress %1 -> %2 at: %3").arg(before).arg(after).arg(text);
        highest[m_task.stage()] = std::max(highest.value(m_task.stage()), after);
    }

    QStringList stages;
    QString violation;
    QHash<QString, double> highest; // the highest progress seen under each stage text

private:
    DownloadTask &m_task;
};

QStringList fixtureLines(const QString &name, const QString &stream)
{
    QFile file(QStringLiteral(MORVANE_FIXTURES_DIR "/ytdlp-2026.08/") + name + QLatin1Char('.') + stream);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll())
        .replace(QStringLiteral("<OUT>"), request().folder)
        .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

} // namespace

class TestDownloadTask : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void newTask()
    {
        const DownloadTask task(request());
        QVERIFY(!task.id().isNull());
        QCOMPARE(task.status(), TaskStatus::Queued);
        QCOMPARE(task.progress(), 0.0);
        QCOMPARE(task.itemIndex(), 1);
        QCOMPARE(task.itemCount(), 1);
        QVERIFY(task.stage().isEmpty());
        QVERIFY(!task.totalBytes());
        QVERIFY(task.firstFile().isEmpty());
        QVERIFY(task.createdAt().isValid());
        QVERIFY(!task.finishedAt());
    }

    void singleStream()
    {
        DownloadTask task(request());
        ChangeCounter changes(task);
        feed(task, {QStringLiteral("MVPROG|250|1000|NA|2000.5|3|/d/a.mp4")});
        QCOMPARE(task.status(), TaskStatus::Downloading);
        QCOMPARE(task.progress(), 0.25);
        QCOMPARE(task.stage(), QStringLiteral("Downloading"));
        QCOMPARE(task.currentBytes(), 250);
        QCOMPARE(task.totalBytes(), 1000);
        QCOMPARE(task.speed(), 2000.5);
        QCOMPARE(task.eta(), 3);

        feed(task, {QStringLiteral("MVPROG|1000|1000|NA|NA|NA|/d/a.mp4")});
        QCOMPARE(task.progress(), 0.995);
        QCOMPARE(task.currentBytes(), 1000);
        QCOMPARE(task.totalBytes(), 1000);
        QVERIFY(!task.speed());
        QVERIFY(!task.eta());
        QCOMPARE(changes.count("statusChanged"), 1);
        QCOMPARE(changes.count("stageChanged"), 1);
        QCOMPARE(changes.count("progressChanged"), 2);
        QCOMPARE(changes.count("totalBytesChanged"), 1);

        // The same line again changes nothing, so nothing is announced.
        changes.clear();
        feed(task, {QStringLiteral("MVPROG|1000|1000|NA|NA|NA|/d/a.mp4")});
        QCOMPARE(changes.total(), 0);
    }

    void twoStreams()
    {
        DownloadTask task(request(QStringLiteral("Talk"), QStringLiteral("bv*+ba/b")));
        feed(task, {QStringLiteral("MVPROG|500|1000|NA|NA|NA|/d/a.f1.mp4")});
        QCOMPARE(task.progress(), 0.45);
        QCOMPARE(task.stage(), QStringLiteral("Downloading stream 1/2"));

        feed(task, {QStringLiteral("MVPROG|1000|1000|NA|NA|NA|/d/a.f1.mp4"),
                    QStringLiteral("MVPROG|0|200|NA|NA|NA|/d/a.f2.m4a")});
        QCOMPARE(task.progress(), 0.9);
        QCOMPARE(task.stage(), QStringLiteral("Downloading stream 2/2"));
        QCOMPARE(task.currentBytes(), 1000); // the first stream's total, finished
        QCOMPARE(task.totalBytes(), 1200);

        feed(task, {QStringLiteral("MVPROG|200|200|NA|NA|NA|/d/a.f2.m4a")});
        QCOMPARE(task.progress(), 0.995);
        QCOMPARE(task.currentBytes(), 1200);

        // A file that is no merge part (subtitles) is a download of its own.
        feed(task, {QStringLiteral("MVPROG|10|10|NA|NA|NA|/d/a.en.vtt")});
        QCOMPARE(task.stage(), QStringLiteral("Downloading"));
        QCOMPARE(task.currentBytes(), 1210);
    }

    // What yt-dlp writes decides, not the request: the parts of a merge are named
    // "<name>.f<format id>.<ext>".
    void streamKinds_data()
    {
        QTest::addColumn<std::optional<QString>>("selector");
        QTest::addColumn<bool>("audioOnly");
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("second");
        QTest::addColumn<QString>("firstStage");
        QTest::addColumn<QString>("secondStage");
        QTest::addColumn<double>("halfOfFirst"); // progress at half of the first file

        const auto noneOf = std::optional<QString>();
        const auto best = std::optional<QString>(QStringLiteral("bv*+ba/b"));
        const QString one = QStringLiteral("Downloading"), part1 = QStringLiteral("Downloading stream 1/2"),
                      part2 = QStringLiteral("Downloading stream 2/2");
        QTest::newRow("merge asked and done") << best << false << QStringLiteral("/d/a [x].f137.mp4")
                                              << QStringLiteral("/d/a [x].f140.m4a") << part1 << part2 << 0.45;
        QTest::newRow("merge asked, one file")
            << best << false << QStringLiteral("/d/a [x].mp4") << QStringLiteral("/d/b [y].mp4") << one << one << 0.5;
        QTest::newRow("no selector, merged")
            << noneOf << false << QStringLiteral("/d/a.fhls-720p.mp4")
            << QStringLiteral("/d/a.fdash-audio_eng=128000.m4a") << part1 << part2 << 0.45;
        QTest::newRow("audio only with +, one file")
            << std::optional<QString>(QStringLiteral("ba+ba/b")) << true << QStringLiteral("/d/a.m4a")
            << QStringLiteral("/d/b.m4a") << one << one << 0.5;
        QTest::newRow("subtitles, then the parts")
            << best << false << QStringLiteral("/d/a.en.vtt") << QStringLiteral("/d/a.f1.mp4") << one << part1 << 0.5;
        QTest::newRow("names that only look like parts")
            << best << false << QStringLiteral("/d.f1.x/a") << QStringLiteral("/d/a.f.mp4") << one << one << 0.5;
        QTest::newRow("blank in the would-be format id") << best << false << QStringLiteral("/d/Live at the f ield.mp4")
                                                         << QStringLiteral("/d/x.fa b.mp4") << one << one << 0.5;
        QTest::newRow("dotted titles") << best << false << QStringLiteral("/d/clip.fhd [clip.fhd].mp4")
                                       << QStringLiteral("/d/a.f(1),f+2.mp4") << one << one << 0.5;
    }
    void streamKinds()
    {
        QFETCH(std::optional<QString>, selector);
        QFETCH(bool, audioOnly);
        QFETCH(QString, first);
        QFETCH(QString, second);
        QFETCH(QString, firstStage);
        QFETCH(QString, secondStage);
        QFETCH(double, halfOfFirst);

        DownloadTask task(request(QStringLiteral("Talk"), selector, audioOnly));
        feed(task, {QStringLiteral("MVPROG|500|1000|NA|NA|NA|") + first});
        QCOMPARE(task.stage(), firstStage);
        QCOMPARE(task.progress(), halfOfFirst);
        feed(task, {QStringLiteral("MVPROG|100|1000|NA|NA|NA|") + second});
        QCOMPARE(task.stage(), secondStage);
    }

    void progressWithoutTotal()
    {
        DownloadTask task(request());
        feed(task, {QStringLiteral("MVPROG|400|1000|NA|NA|NA|/d/a"), QStringLiteral("MVPROG|600|NA|NA|NA|NA|/d/a")});
        QVERIFY(!task.totalBytes());
        QCOMPARE(task.currentBytes(), 600);
        QCOMPARE(task.progress(), 0.4); // fraction 0 never lowers it

        // Without a total the stream's size is what was downloaded: a next file counts it whole.
        feed(task, {QStringLiteral("MVPROG|5|10|NA|NA|NA|/d/b")});
        QCOMPARE(task.currentBytes(), 605);
    }

    void playlistItems()
    {
        DownloadTask task(request(QStringLiteral("List")));
        feed(task, {QStringLiteral("MVITEM|3|4|Third")});
        QCOMPARE(task.progress(), 0.5);
        QCOMPARE(task.itemIndex(), 3);
        QCOMPARE(task.itemCount(), 4);
        QCOMPARE(task.itemTitle(), QStringLiteral("Third"));
        QVERIFY(task.stage().isEmpty()); // an item alone does not set a stage
        QCOMPARE(task.status(), TaskStatus::Queued);

        feed(task, {QStringLiteral("MVPROG|50|100|NA|NA|NA|/d/3.mp4")});
        QCOMPARE(task.progress(), 0.625);

        // Post-processing of item 3 ends when item 4 begins; the byte accounting starts afresh.
        feed(task, {QStringLiteral("MVPP|Metadata|started"), QStringLiteral("MVITEM|4|4|Fourth")});
        QCOMPARE(task.status(), TaskStatus::Downloading);
        QCOMPARE(task.progress(), 0.75);
        feed(task, {QStringLiteral("MVPROG|10|100|NA|NA|NA|/d/4.mp4")});
        QCOMPARE(task.currentBytes(), 10);
        QCOMPARE(task.stage(), QStringLiteral("Downloading"));

        feed(task, {QStringLiteral("MVITEM|2|0|Zero count")});
        QCOMPARE(task.itemCount(), 1);
    }

    void progressStaysBelowDone_data()
    {
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("index above count") << QStringList{QStringLiteral("MVITEM|3|1|Unknown size")};
        QTest::newRow("index above count, then progress")
            << QStringList{QStringLiteral("MVITEM|5|2|e"), QStringLiteral("MVPROG|100|100|NA|NA|NA|f")};
        QTest::newRow("last of many items")
            << QStringList{QStringLiteral("MVITEM|1000|1000|last"), QStringLiteral("MVPROG|99|100|NA|NA|NA|f")};
        QTest::newRow("more downloaded than total") << QStringList{QStringLiteral("MVPROG|5000|100|NA|NA|NA|f")};
        QTest::newRow("negative index") << QStringList{QStringLiteral("MVITEM|-4|2|x")};
        QTest::newRow("bytes near the 64-bit limit")
            << QStringList{QStringLiteral("MVPROG|9223372036854775000|9223372036854775000|NA|NA|NA|a"),
                           QStringLiteral("MVPROG|9223372036854775000|9223372036854775000|NA|NA|NA|b"),
                           QStringLiteral("MVPROG|9223372036854775000|9223372036854775000|NA|NA|NA|c")};
    }
    void progressStaysBelowDone()
    {
        QFETCH(QStringList, lines);
        DownloadTask task(request());
        double last = 0;
        for (const QString &line : lines) {
            feed(task, {line});
            QVERIFY2(std::isfinite(task.progress()) && task.progress() >= last && task.progress() <= 0.995,
                     qPrintable(QString::number(task.progress())));
            last = task.progress();
        }
        QVERIFY(task.itemCount() >= 1);
        QVERIFY(task.currentBytes() >= 0);
    }

    void postprocessStages_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("stage");
        QTest::newRow("Merger") << QStringLiteral("Merger") << QStringLiteral("Merging with FFmpeg");
        QTest::newRow("ExtractAudio") << QStringLiteral("ExtractAudio") << QStringLiteral("Extracting audio");
        QTest::newRow("EmbedThumbnail") << QStringLiteral("EmbedThumbnail") << QStringLiteral("Embedding thumbnail");
        QTest::newRow("Metadata") << QStringLiteral("Metadata") << QStringLiteral("Embedding metadata");
        QTest::newRow("FFmpegMetadata") << QStringLiteral("FFmpegMetadata") << QStringLiteral("Embedding metadata");
        QTest::newRow("EmbedSubtitle") << QStringLiteral("EmbedSubtitle") << QStringLiteral("Embedding subtitles");
        QTest::newRow("FFmpegSubtitlesConvertor")
            << QStringLiteral("FFmpegSubtitlesConvertor") << QStringLiteral("Converting subtitles");
        QTest::newRow("SubtitlesConvertor")
            << QStringLiteral("SubtitlesConvertor") << QStringLiteral("Converting subtitles");
        QTest::newRow("VideoConvertor") << QStringLiteral("VideoConvertor") << QStringLiteral("Converting video");
        QTest::newRow("FFmpegVideoConvertor")
            << QStringLiteral("FFmpegVideoConvertor") << QStringLiteral("Converting video");
        QTest::newRow("MoveFiles") << QStringLiteral("MoveFiles") << QStringLiteral("Moving file");
        QTest::newRow("unlisted") << QStringLiteral("ThumbnailsConvertor")
                                  << QStringLiteral("Post-processing (ThumbnailsConvertor)");
        QTest::newRow("case matters") << QStringLiteral("merger") << QStringLiteral("Post-processing (merger)");
    }
    void postprocessStages()
    {
        QFETCH(QString, name);
        QFETCH(QString, stage);
        for (const QString &status : {QStringLiteral("started"), QStringLiteral("processing")}) {
            DownloadTask task(request());
            feed(task, {QStringLiteral("MVPROG|1|2|NA|100|5|a"), QStringLiteral("MVPP|%1|%2").arg(name, status)});
            QCOMPARE(task.stage(), stage);
            QCOMPARE(task.status(), TaskStatus::Processing);
            QVERIFY(!task.speed());
            QVERIFY(!task.eta());
        }
    }

    void postprocessFinishedKeepsStage()
    {
        DownloadTask task(request());
        feed(task, {QStringLiteral("MVPROG|1|2|NA|100|5|a"), QStringLiteral("MVPP|Merger|finished")});
        QCOMPARE(task.status(), TaskStatus::Processing);
        QCOMPARE(task.stage(), QStringLiteral("Downloading"));
        QVERIFY(!task.speed());
        QVERIFY(!task.eta());

        // Our own steps are no stage: the task goes on showing what it waits for.
        task.setStage(QStringLiteral("Waiting"));
        feed(task, {QStringLiteral("MVPP|Exec|started"), QStringLiteral("MVPP|MetadataParser|started")});
        QCOMPARE(task.stage(), QStringLiteral("Waiting"));
    }

    void merging()
    {
        DownloadTask task(request(QStringLiteral("Talk"), QStringLiteral("bv*+ba/b")));
        feed(task,
             {QStringLiteral("MVPROG|1|2|NA|100|5|a"), QStringLiteral("[Merger] Merging formats into \"/d/x.mp4\"")});
        QCOMPARE(task.status(), TaskStatus::Processing);
        QCOMPARE(task.stage(), QStringLiteral("Merging with FFmpeg"));
        QCOMPARE(task.speed(), 100.0); // a merge line leaves speed and time left alone
        QVERIFY(task.outputFiles().isEmpty());
    }

    // Final files are listed once each, and only inside the download folder.
    void finalFiles_data()
    {
        QTest::addColumn<QStringList>("reported");
        QTest::addColumn<QStringList>("kept");
        QTest::newRow("listed once") << QStringList{u"<D>/a.mp4"_s, u"<D>/b.mp4"_s, u"<D>/a.mp4"_s}
                                     << QStringList{u"<D>/a.mp4"_s, u"<D>/b.mp4"_s};
        QTest::newRow("outside") << QStringList{u"../../../etc/passwd"_s, u"/etc/passwd"_s, u"<D>/../x.mp4"_s,
                                                u"<D>x/a.mp4"_s,          u"<D>"_s,         u"<D>/out/passwd"_s}
                                 << QStringList{};
    }
    void finalFiles()
    {
        QFETCH(QStringList, reported);
        QFETCH(QStringList, kept);
        QTemporaryDir folder;
        QVERIFY(QFile::link(u"/etc"_s, folder.filePath(u"out"_s))); // a link that leads out
        DownloadOptions options = request();
        options.folder = folder.path();
        DownloadTask task(options);
        QSignalSpy changed(&task, &DownloadTask::outputFilesChanged);
        for (const QString &path : reported)
            feed(task, {u"MVFILE|"_s + QString(path).replace(u"<D>"_s, folder.path())});
        QCOMPARE(task.outputFiles(), kept.replaceInStrings(u"<D>"_s, folder.path()));
        QCOMPARE(changed.count(), kept.size());
        QCOMPARE(task.firstFile(), kept.isEmpty() ? QUrl() : QUrl::fromLocalFile(kept.last()));
    }

    void errorLinesAndReset()
    {
        DownloadTask task(request());
        feed(task, {QStringLiteral("MVPROG|1|2|NA|100|5|a"), QStringLiteral("MVPROG|1|4|NA|100|5|b")});
        task.setStage(QStringLiteral("Pausing…"));
        task.pauseRequested = task.cancelRequested = task.removeRequested = true;
        ChangeCounter changes(task);
        feed(task, {QStringLiteral("ERROR: [generic] Unable to download"), QStringLiteral("WARNING: slow"),
                    QStringLiteral("[download] Destination: /d/a"), QStringLiteral("plain text")});
        QCOMPARE(task.errorLines(), QStringList{QStringLiteral("[generic] Unable to download")});
        QCOMPARE(changes.total(), 0);
        QVERIFY(!task.error());

        // A traceback counts only while there is no error line.
        const QStringList traceback{
            QStringLiteral("Traceback (most recent call last):"), QStringLiteral("  File \"x.py\", line 1"),
            QStringLiteral("SyntaxError: Invalid format: x"), QStringLiteral("\tbv*+")};
        feed(task, traceback);
        QCOMPARE(task.errorLines(), QStringList{QStringLiteral("[generic] Unable to download")});

        task.setOutputFiles({QStringLiteral("/d/a")});
        task.setProgress(0.5);
        task.resetRuntime();
        feed(task, traceback);
        QCOMPARE(task.errorLines(), QStringList{QStringLiteral("Invalid format: x")});
        task.resetRuntime();
        QVERIFY(task.errorLines().isEmpty());
        QVERIFY(task.stage().isEmpty());
        QVERIFY(!task.speed() && !task.eta() && !task.totalBytes());
        QCOMPARE(task.currentBytes(), 0);
        QVERIFY(!task.pauseRequested && !task.cancelRequested);
        QVERIFY(task.removeRequested);
        QCOMPARE(task.progress(), 0.5);
        QCOMPARE(task.status(), TaskStatus::Downloading);
        QCOMPARE(task.outputFiles().size(), 1);

        // The stream accounting starts over too: the next file is the first stream again.
        feed(task, {QStringLiteral("MVPROG|1|10|NA|NA|NA|c")});
        QCOMPARE(task.stage(), QStringLiteral("Downloading"));
        QCOMPARE(task.currentBytes(), 1);
    }

    void displayTitle_data()
    {
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("shown");
        QTest::newRow("no item yet") << QStringLiteral("T") << QString() << QStringLiteral("T");
        QTest::newRow("one item") << QStringLiteral("T") << QStringLiteral("MVITEM|1|1|S") << QStringLiteral("T");
        QTest::newRow("playlist") << QStringLiteral("T") << QStringLiteral("MVITEM|2|12|S") << QStringLiteral("S");
        QTest::newRow("untitled, no item") << QString() << QString() << QStringLiteral("https://a.b/watch?v=1");
        QTest::newRow("untitled, item") << QString() << QStringLiteral("MVITEM|1|1|S") << QStringLiteral("S");
        QTest::newRow("untitled, empty item")
            << QString() << QStringLiteral("MVITEM|1|1|") << QStringLiteral("https://a.b/watch?v=1");
    }
    void displayTitle()
    {
        QFETCH(QString, title);
        QFETCH(QString, item);
        QFETCH(QString, shown);
        DownloadTask task(request(title));
        QSignalSpy changed(&task, &DownloadTask::displayTitleChanged);
        const QString before = task.displayTitle();
        if (!item.isEmpty())
            feed(task, {item});
        QCOMPARE(task.displayTitle(), shown);
        QCOMPARE(changed.count(), before == shown ? 0 : 1);
    }

    void settersAnnounceOnlyChanges()
    {
        DownloadTask task(request());
        ChangeCounter changes(task);
        task.setStatus(TaskStatus::Queued);
        task.setStage(QString());
        task.setError(std::nullopt);
        task.setProgress(0);
        task.setOutputFiles({});
        task.setFinalSize(std::nullopt);
        QCOMPARE(changes.total(), 0);

        task.setProgress(std::nan(""));
        QCOMPARE(task.progress(), 0.0);
        task.setProgress(1.5);
        QCOMPARE(task.progress(), 1.0);
        task.setProgress(-1);
        QCOMPARE(task.progress(), 0.0);
        QCOMPARE(changes.count("progressChanged"), 2);

        task.setError(QStringLiteral("boom"));
        task.setError(QStringLiteral("boom"));
        task.setStatus(TaskStatus::Failed);
        task.setOutputFiles({QStringLiteral("/a"), QStringLiteral("/a")});
        QCOMPARE(changes.count("errorChanged"), 1);
        QCOMPARE(changes.count("statusChanged"), 1);
        QCOMPARE(task.outputFiles(), QStringList{QStringLiteral("/a")});
    }

    // What a current yt-dlp printed for our command line, standard output then standard error.
    void currentYtdlpRecordings_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<DownloadOptions>("options");
        QTest::addColumn<QStringList>("stages");
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<int>("errors");
        QTest::addColumn<double>("progress");

        const QString out = request().folder + u'/';
        // "Best Quality" that yt-dlp fetched as one file, and a merge without any "-f".
        QTest::newRow("single") << QStringLiteral("single")
                                << request(QStringLiteral("Talk"), QStringLiteral("bv*+ba/b"))
                                << QStringList{QStringLiteral("Downloading"),
                                               QStringLiteral("Post-processing (ThumbnailsConvertor)"),
                                               QStringLiteral("Embedding metadata"),
                                               QStringLiteral("Embedding thumbnail"), QStringLiteral("Moving file")}
                                << QStringList{out + QStringLiteral("single/talk [talk].mp4")} << 0 << 0.995;
        QTest::newRow("dash") << QStringLiteral("dash") << request(QStringLiteral("stream"))
                              << QStringList{QStringLiteral("Downloading stream 1/2"),
                                             QStringLiteral("Downloading stream 2/2"),
                                             QStringLiteral("Converting subtitles"),
                                             QStringLiteral("Merging with FFmpeg"),
                                             QStringLiteral("Embedding metadata"),
                                             QStringLiteral("Moving file")}
                              << QStringList{out + QStringLiteral("dash/stream [stream].mkv")} << 0 << 0.995;
        QTest::newRow("playlist")
            << QStringLiteral("playlist") << request(QStringLiteral("Feed"), QStringLiteral("bv*+ba/b"))
            << QStringList{QStringLiteral("Downloading"), QStringLiteral("Embedding metadata"),
                           QStringLiteral("Moving file"), QStringLiteral("Embedding metadata"),
                           QStringLiteral("Moving file"), QStringLiteral("Post-processing (Concat)")}
            << QStringList{out + QStringLiteral("playlist/Episode： one⧸two [ep1].m4a"),
                           out + QStringLiteral("playlist/Episode «three» 日本語 [ep3].mp4")}
            << 1 << 0.995;
        QTest::newRow("audio") << QStringLiteral("audio")
                               << request(QStringLiteral("tune"), QStringLiteral("ba/b"), true)
                               << QStringList{QStringLiteral("Downloading"),
                                              QStringLiteral("Post-processing (ThumbnailsConvertor)"),
                                              QStringLiteral("Extracting audio"),
                                              QStringLiteral("Embedding metadata"),
                                              QStringLiteral("Embedding thumbnail"),
                                              QStringLiteral("Moving file")}
                               << QStringList{out + QStringLiteral("audio/tune [tune].mp3")} << 0 << 0.995;
        QTest::newRow("notfound") << QStringLiteral("notfound") << request() << QStringList{} << QStringList{} << 1
                                  << 0.0;
    }
    void currentYtdlpRecordings()
    {
        QFETCH(QString, name);
        QFETCH(DownloadOptions, options);
        QFETCH(QStringList, stages);
        QFETCH(QStringList, files);
        QFETCH(int, errors);
        QFETCH(double, progress);

        const QStringList lines =
            fixtureLines(name, QStringLiteral("stdout")) + fixtureLines(name, QStringLiteral("stderr"));
        QVERIFY(!lines.isEmpty());
        DownloadTask task(options);
        Replay replay(task);
        for (const QString &line : lines)
            replay.line(line);
        QVERIFY2(replay.violation.isEmpty(), qPrintable(replay.violation));
        QCOMPARE(replay.stages, stages);
        QCOMPARE(task.outputFiles(), files);
        QCOMPARE(task.errorLines().size(), errors);
        QCOMPARE(task.progress(), progress);
        if (stages.contains(QStringLiteral("Downloading stream 2/2")))
            QVERIFY(replay.highest.value(QStringLiteral("Downloading stream 1/2")) <= 0.9);
        if (!stages.isEmpty() && stages.first() == QStringLiteral("Downloading"))
            QCOMPARE(replay.highest.value(QStringLiteral("Downloading")), progress); // no 90 % stop
    }

    // Debian's yt-dlp against the local server, every line applied as it arrives (as the queue
    // does), then the recorded lines replayed into a second task, which must end the same.
    void debianYtdlpRuns_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<std::optional<QString>>("selector");
        QTest::addColumn<bool>("playlist");
        QTest::addColumn<int>("exitStatus");
        QTest::addColumn<QStringList>("stagesInOrder"); // each one seen, in this order
        QTest::addColumn<int>("files");
        QTest::addColumn<int>("items");

        // Under "Best Quality" a plain file comes as one; a DASH source is merged without any "-f".
        QTest::newRow("single file") << QStringLiteral("/video.mp4")
                                     << std::optional<QString>(QStringLiteral("bv*+ba/b")) << false << 0
                                     << QStringList{QStringLiteral("Downloading")} << 1 << 1;
        QTest::newRow("DASH merge") << QStringLiteral("/dash/manifest.mpd") << std::optional<QString>() << false << 0
                                    << QStringList{QStringLiteral("Downloading stream 1/2"),
                                                   QStringLiteral("Downloading stream 2/2")}
                                    << 1 << 1;
        QTest::newRow("RSS feed, one item missing") << QStringLiteral("/feed.rss") << std::optional<QString>() << true
                                                    << 1 << QStringList{QStringLiteral("Downloading")} << 2 << 3;
    }
    void debianYtdlpRuns()
    {
        QFETCH(QString, path);
        QFETCH(std::optional<QString>, selector);
        QFETCH(bool, playlist);
        QFETCH(int, exitStatus);
        QFETCH(QStringList, stagesInOrder);
        QFETCH(int, files);
        QFETCH(int, items);

        TestEnvironment env;
        TestDownloads::installDebianTools(env);
        TestHttpServer server;
        TestMedia::serve(server);
        server.serveText(
            QStringLiteral("/feed.rss"),
            TestMedia::rssFeed(server, QStringLiteral("Feed"),
                               {{QStringLiteral("One"), QStringLiteral("/video.mp4"), QStringLiteral("ep1")},
                                {QStringLiteral("Two"), QStringLiteral("/gone.mp4"), QStringLiteral("ep2")},
                                {QStringLiteral("Three"), QStringLiteral("/audio.m4a"), QStringLiteral("ep3"),
                                 QStringLiteral("audio/mp4")}}),
            "application/rss+xml");

        DownloadOptions options =
            TestRequests::defaultRequest(server.url(path).toString(), env.root() + QStringLiteral("/out"));
        options.formatSelector = selector;
        options.isPlaylist = playlist;
        if (playlist)
            options.outputTemplate.prepend(QStringLiteral("%(playlist_title|Playlist)s/%(playlist_index)03d - "));

        DownloadTask live(options);
        Replay replay(live);
        QStringList recorded;
        const auto onLine = [&](const QString &line) {
            recorded.append(line);
            replay.line(line);
        };
        ManagedProcess child(env.toolsDir() + QStringLiteral("/yt-dlp"), YTDLPManager::downloadArguments(options),
                             ProcessRunner::baseEnvironment(), false, onLine);
        QSignalSpy finished(&child, &ManagedProcess::finished);
        QString launchError;
        QVERIFY2(child.start(&launchError), qPrintable(launchError));
        QVERIFY(finished.wait(120000));
        const QString transcript = recorded.join(QLatin1Char('\n'));
        QVERIFY2(child.status() == exitStatus, qPrintable(transcript));

        QVERIFY2(replay.violation.isEmpty(), qPrintable(replay.violation + QLatin1Char('\n') + transcript));
        qsizetype from = 0;
        for (const QString &stage : stagesInOrder) {
            from = replay.stages.indexOf(stage, from);
            QVERIFY2(from >= 0, qPrintable(stage + QStringLiteral(" not in order in: ") + replay.stages.join(u", ")));
        }
        QCOMPARE(live.outputFiles().size(), files);
        for (const QString &file : live.outputFiles())
            QVERIFY2(QFileInfo(file).isFile() && file.startsWith(options.folder), qPrintable(file));
        QCOMPARE(live.itemCount(), items);
        if (exitStatus == 0)
            QVERIFY(live.errorLines().isEmpty());
        QVERIFY(live.progress() > 0.5);
        if (stagesInOrder.contains(QStringLiteral("Downloading stream 2/2"))) {
            // The second stream moves the bar on from 0.9 instead of holding it at 0.5.
            QVERIFY(replay.highest.value(QStringLiteral("Downloading stream 2/2")) > 0.9);
        } else {
            for (const QString &stage : std::as_const(replay.stages))
                QVERIFY2(!stage.startsWith(QLatin1String("Downloading stream")), qPrintable(stage));
            QCOMPARE(replay.highest.value(QStringLiteral("Downloading")), 0.995);
        }

        DownloadTask replayed(options);
        Replay again(replayed);
        for (const QString &line : recorded)
            again.line(line);
        QCOMPARE(again.stages, replay.stages);
        QCOMPARE(replayed.record().progress, live.progress());
        QCOMPARE(replayed.outputFiles(), live.outputFiles());
        QCOMPARE(replayed.errorLines(), live.errorLines());
        QCOMPARE(replayed.status(), live.status());
        QCOMPARE(replayed.currentBytes(), live.currentBytes());
    }

    void recordRoundTrip()
    {
        TaskRecord record;
        record.id = QUuid::createUuid();
        record.options = request(QStringLiteral("Stored"));
        record.status = TaskStatus::Downloading;
        record.progress = 0.4;
        record.createdAt = QDateTime(QDate(2026, 12, 8), QTime(9, 19, 13), Qt::UTC);
        record.finishedAt = QDateTime(QDate(2026, 12, 8), QTime(9, 29, 13), Qt::UTC);
        record.outputFiles = {QStringLiteral("/d/a.mp4"), QStringLiteral("/d/b.srt")};
        record.finalSize = 1234;
        record.error = QStringLiteral("Some playlist items failed — see the log.");

        const DownloadTask task(record);
        QCOMPARE(task.status(), TaskStatus::Downloading); // recovery is the queue's business
        QVERIFY(task.stage().isEmpty());
        QCOMPARE(task.itemIndex(), 1);
        QCOMPARE(task.itemCount(), 1);
        QVERIFY(!task.speed() && !task.totalBytes());
        QCOMPARE(task.record(), record);
    }
};

QTEST_GUILESS_MAIN(TestDownloadTask)
#include "tst_downloadtask.moc"
