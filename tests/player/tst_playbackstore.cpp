#include "TestEnvironment.h"
#include "TestLog.h"
#include "core/AppPaths.h"
#include "player/PlaybackStore.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSignalSpy>
#include <QTest>

Q_DECLARE_METATYPE(SavedPlayback)
Q_DECLARE_METATYPE(std::optional<SavedPlayback>)

namespace {

QString path()
{
    return AppPaths::support() + QStringLiteral("/playback.json");
}

QByteArray readText()
{
    QFile file(path());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeText(const QByteArray &text)
{
    QFile file(path());
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(text);
}

Track song(const char *id, std::optional<double> duration = std::nullopt)
{
    return Track{QString::fromLatin1(id), QStringLiteral("Title"), QStringLiteral("Band"), duration, {}, {}};
}

QByteArray twoSongs(const QByteArray &rest)
{
    return R"({"queue":[{"id":"aaaaaaaaaaa","title":"Title","artist":"Band","duration":200},)"
           R"({"id":"bbbbbbbbbbb","title":"Title","artist":"Band","album":null}],)" +
           rest + "}";
}

SavedPlayback saved(std::optional<int> index, double position, bool shuffle, RepeatMode mode)
{
    return SavedPlayback{{song("aaaaaaaaaaa", 200), song("bbbbbbbbbbb")}, index, position, shuffle, mode};
}

} // namespace

class TestPlaybackStore : public QObject
{
    Q_OBJECT

    std::unique_ptr<TestEnvironment> m_environment;

private Q_SLOTS:
    void init() { m_environment = std::make_unique<TestEnvironment>(); }
    void cleanup() { m_environment.reset(); }

    // What a file on disk reads as; an unreadable one is moved aside without a word.
    void reading_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<std::optional<SavedPlayback>>("expected");
        const std::optional<SavedPlayback> unreadable;

        QTest::newRow("whole") << twoSongs(R"("index":1,"position":95.5,"shuffle":true,"repeatMode":"one")")
                               << std::optional(saved(1, 95.5, true, RepeatMode::One));
        QTest::newRow("no index") << twoSongs(R"("position":0,"shuffle":false,"repeatMode":"all")")
                                  << std::optional(saved(std::nullopt, 0, false, RepeatMode::All));
        QTest::newRow("null index") << twoSongs(R"("index":null,"position":3,"shuffle":false,"repeatMode":"off")")
                                    << std::optional(saved(std::nullopt, 3, false, RepeatMode::Off));
        QTest::newRow("index past the queue")
            << twoSongs(R"("index":7,"position":3,"shuffle":false,"repeatMode":"off")")
            << std::optional(saved(std::nullopt, 3, false, RepeatMode::Off));
        QTest::newRow("empty queue") << QByteArray(R"({"queue":[],"position":0,"shuffle":false,"repeatMode":"off"})")
                                     << std::optional(SavedPlayback{});
        QTest::newRow("fractional index")
            << twoSongs(R"("index":0.5,"position":3,"shuffle":false,"repeatMode":"off")") << unreadable;
        QTest::newRow("no position") << twoSongs(R"("index":0,"shuffle":false,"repeatMode":"off")") << unreadable;
        QTest::newRow("null position") << twoSongs(R"("index":0,"position":null,"shuffle":false,"repeatMode":"off")")
                                       << unreadable;
        QTest::newRow("repeat in capitals")
            << twoSongs(R"("index":0,"position":1,"shuffle":false,"repeatMode":"ONE")") << unreadable;
        QTest::newRow("shuffle as text") << twoSongs(R"("index":0,"position":1,"shuffle":"true","repeatMode":"off")")
                                         << unreadable;
        QTest::newRow("song without a title")
            << QByteArray(R"({"queue":[{"id":"aaaaaaaaaaa","artist":"Band"}],"position":0,"shuffle":false,)"
                          R"("repeatMode":"off"})")
            << unreadable;
        QTest::newRow("queue of strings")
            << QByteArray(R"({"queue":["aaaaaaaaaaa"],"position":0,"shuffle":false,"repeatMode":"off"})") << unreadable;
        QTest::newRow("not JSON") << QByteArray("{\"queue\": [") << unreadable;
    }

    void reading()
    {
        QFETCH(QByteArray, text);
        QFETCH(std::optional<SavedPlayback>, expected);
        writeText(text);
        PlaybackStore store;
        QCOMPARE(store.load(), expected);
        QCOMPARE(QFileInfo::exists(path()), expected.has_value());
        if (!expected) {
            QFile aside(path() + QStringLiteral(".bad"));
            QVERIFY(aside.open(QIODevice::ReadOnly));
            QCOMPARE(aside.readAll(), text);
        }
        QVERIFY(TestLog::appLogLines().isEmpty());
    }

    void missingFileReadsAsNothing()
    {
        PlaybackStore store;
        QCOMPARE(store.load(), std::nullopt);
        QVERIFY(!QFileInfo::exists(path() + QStringLiteral(".bad")));
    }

    // Written as it reads back; no current item leaves "index" out, an empty queue is [].
    void writing_data()
    {
        QTest::addColumn<SavedPlayback>("state");
        QTest::addColumn<QByteArray>("json");
        QTest::newRow("current item") << saved(0, 12.25, false, RepeatMode::All)
                                      << QByteArray(R"({"index":0,"position":12.25,"queue":[{"artist":"Band",)"
                                                    R"("duration":200,"id":"aaaaaaaaaaa","title":"Title"},)"
                                                    R"({"artist":"Band","id":"bbbbbbbbbbb","title":"Title"}],)"
                                                    R"("repeatMode":"all","shuffle":false})");
        QTest::newRow("empty") << SavedPlayback{}
                               << QByteArray(R"({"position":0,"queue":[],"repeatMode":"off","shuffle":false})");
    }

    void writing()
    {
        QFETCH(SavedPlayback, state);
        QFETCH(QByteArray, json);
        PlaybackStore store;
        QSignalSpy saved(&store, &PlaybackStore::saved);
        store.save(state);
        QVERIFY(saved.wait());
        QCOMPARE(readText(), json);
        QCOMPARE(PlaybackStore().load(), std::optional(state));
    }

    // Saves made while one is being written end with the latest on disk.
    void latestStateLandsLast()
    {
        PlaybackStore store;
        QSignalSpy saved(&store, &PlaybackStore::saved);
        for (int n = 1; n <= 5; ++n)
            store.save(::saved(0, n, false, RepeatMode::Off));
        QTRY_COMPARE(SavedPlayback::fromJson(readText()).value_or(SavedPlayback{}).position, 5.0);
        QTRY_COMPARE(saved.size(), 2);
    }

    // A folder in the file's place makes any write fail, whoever runs it: a line in the log and
    // nothing else.
    void failedWriteIsLogged()
    {
        QVERIFY(QDir().mkpath(path()));
        PlaybackStore store;
        store.save(saved(0, 1, false, RepeatMode::Off));
        QTRY_VERIFY(!TestLog::appLogLines().filter(QStringLiteral("playback save failed: ")).isEmpty());
        const QStringList lines = TestLog::appLogLines();
        QCOMPARE(lines.size(), 1);
        QVERIFY2(lines.first().size() > QStringLiteral("playback save failed: ").size(), qPrintable(lines.first()));
        QVERIFY(QFileInfo(path()).isDir());
    }
};

QTEST_GUILESS_MAIN(TestPlaybackStore)
#include "tst_playbackstore.moc"
