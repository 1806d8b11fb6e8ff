#include "tools/DependencyManager.h"
#include "tools/ToolManifest.h"

#include "TestEnvironment.h"

#include <QFile>
#include <QFileInfo>
#include <QNetworkAccessManager>
#include <QTest>

#include <csignal>
#include <optional>

#include <sys/resource.h>

namespace {

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeManifest(const QByteArray &bytes)
{
    QFile file(ToolManifest::path());
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

const QDateTime installed(QDate(2026, 12, 8), QTime(9, 31, 42), Qt::UTC);

// While it lives, every write that would make a file of this process grow fails (EFBIG), as
// on a full quota; the directory operations around it (renames, links) still work.
class NoFileWrites
{
public:
    NoFileWrites()
    {
        ::getrlimit(RLIMIT_FSIZE, &m_saved);
        m_savedHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit none = m_saved;
        none.rlim_cur = 0;
        ::setrlimit(RLIMIT_FSIZE, &none);
    }
    ~NoFileWrites()
    {
        ::setrlimit(RLIMIT_FSIZE, &m_saved);
        std::signal(SIGXFSZ, m_savedHandler);
    }
    NoFileWrites(const NoFileWrites &) = delete;
    NoFileWrites &operator=(const NoFileWrites &) = delete;

private:
    rlimit m_saved{};
    void (*m_savedHandler)(int) = nullptr;
};

} // namespace

class TestToolManifest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void roundTrip()
    {
        TestEnvironment env;
        const ToolManifest::Entries entries{
            {QStringLiteral("yt-dlp"),
             {QStringLiteral("2026.08.19"), installed,
              QStringLiteral("https://github.com/yt-dlp/yt-dlp/releases/latest/download/yt-dlp_linux")}},
            {QStringLiteral("Deno"),
             {QStringLiteral("2.1.4"), installed.addSecs(60), QStringLiteral("http://h/d.zip")}},
        };
        QVERIFY(ToolManifest::save(entries));

        const QByteArray bytes = readFile(ToolManifest::path());
        QVERIFY(!bytes.contains('\n'));
        QVERIFY(bytes.contains("\"installedAt\":\"2026-12-08T09:31:42Z\""));
        QVERIFY(bytes.contains("https:\\/\\/github.com\\/yt-dlp"));
        QVERIFY(!bytes.contains("://"));

        const auto loaded = ToolManifest::load();
        QVERIFY(!loaded.unreadable);
        QVERIFY(loaded.entries == entries);
    }

    void readsWhatOthersMayWrite_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("count");
        QTest::newRow("empty object") << QByteArray("{}") << 0;
        QTest::newRow("plain slashes, extra key, pretty")
            << QByteArray("{\n  \"FFmpeg\": {\"version\": \"7.1\", \"installedAt\": \"2026-12-08T09:31:42Z\",\n"
                          "    \"source\": \"http://127.0.0.1/f.tar.xz\", \"size\": 12}\n}")
            << 1;
        QTest::newRow("a key that is no tool")
            << QByteArray("{\"Whisper\":{\"version\":\"1\",\"installedAt\":\"2026-12-08T09:31:42Z\",\"source\":\"\"}}")
            << 1;
    }

    void readsWhatOthersMayWrite()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, count);
        TestEnvironment env;
        writeManifest(bytes);
        const auto loaded = ToolManifest::load();
        QVERIFY(!loaded.unreadable);
        QCOMPARE(int(loaded.entries.size()), count);
        if (count)
            QCOMPARE(loaded.entries.begin()->second.installedAt, installed);
    }

    // One bad entry rejects the whole file, as the stores of this application do.
    void rejectsTheWholeFile_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        const QByteArray good =
            "\"Deno\":{\"version\":\"2.1.4\",\"installedAt\":\"2026-12-08T09:31:42Z\",\"source\":\"s\"}";
        QTest::newRow("missing source")
            << "{" + good + ",\"yt-dlp\":{\"version\":\"1\",\"installedAt\":\"2026-12-08T09:31:42Z\"}}";
        QTest::newRow("number date")
            << "{" + good + ",\"yt-dlp\":{\"version\":\"1\",\"installedAt\":1765186302,\"source\":\"s\"}}";
        QTest::newRow("null version") << "{" + good +
                                             ",\"yt-dlp\":{\"version\":null,\"installedAt\":\"2026-12-08T09:31:42Z\","
                                             "\"source\":\"s\"}}";
        QTest::newRow("date with offset") << QByteArray(
            "{\"Deno\":{\"version\":\"2\",\"installedAt\":\"2026-12-08T10:31:42+01:00\",\"source\":\"s\"}}");
        QTest::newRow("date with fraction")
            << QByteArray("{\"Deno\":{\"version\":\"2\",\"installedAt\":\"2026-12-08T09:31:42.5Z\",\"source\":\"s\"}}");
        QTest::newRow("entry not an object") << "{" + good + ",\"yt-dlp\":\"2026.08.19\"}";
        QTest::newRow("array") << QByteArray("[]");
        QTest::newRow("not JSON") << QByteArray("{\"Deno\":");
        QTest::newRow("empty file") << QByteArray();
    }

    void rejectsTheWholeFile()
    {
        QFETCH(QByteArray, bytes);
        TestEnvironment env;
        writeManifest(bytes);
        const auto loaded = ToolManifest::load();
        QVERIFY(loaded.unreadable);
        QVERIFY(loaded.entries.empty());
    }

    void missingFileIsEmptyAndNotUnreadable()
    {
        TestEnvironment env;
        const auto loaded = ToolManifest::load();
        QVERIFY(!loaded.unreadable);
        QVERIFY(loaded.entries.empty());
    }

    // The unreadable file goes aside before the first save, once: a save that fails after the
    // move leaves ".bad" as the only copy, and the next save must keep it.
    void unreadableFileIsMovedAsideOnce_data()
    {
        QTest::addColumn<bool>("firstSaveFails");
        QTest::newRow("first save succeeds") << false;
        QTest::newRow("first save fails") << true;
    }

    void unreadableFileIsMovedAsideOnce()
    {
        QFETCH(bool, firstSaveFails);
        TestEnvironment env;
        writeManifest("{broken");
        QNetworkAccessManager network;
        DependencyManager manager(&network);
        {
            const std::optional<NoFileWrites> noWrites =
                firstSaveFails ? std::optional<NoFileWrites>(std::in_place) : std::nullopt;
            manager.recordInstall(Tool::Deno, QStringLiteral("2.1.4"), QStringLiteral("http://h/d.zip"));
        }
        QCOMPARE(QFileInfo::exists(ToolManifest::path()), !firstSaveFails);
        manager.recordInstall(Tool::Ytdlp, QStringLiteral("2026.08.19"), QStringLiteral("http://h/y"));

        QCOMPARE(readFile(ToolManifest::path() + QStringLiteral(".bad")), QByteArray("{broken"));
        const auto loaded = ToolManifest::load();
        QVERIFY(!loaded.unreadable);
        QVERIFY(loaded.entries == manager.manifest());
        QCOMPARE(int(loaded.entries.size()), 2);
    }
};

QTEST_GUILESS_MAIN(TestToolManifest)
#include "tst_toolmanifest.moc"
