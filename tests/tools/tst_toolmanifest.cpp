#include "tools/ToolManifest.h"

#include "TestEnvironment.h"

#include <QFile>
#include <QTest>

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
        QVERIFY(ToolManifest::save(entries, false));

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

    void unreadableFileIsMovedAsideBeforeOverwrite()
    {
        TestEnvironment env;
        writeManifest("{broken");
        const ToolManifest::Entries entries{{QStringLiteral("Deno"), {QStringLiteral("2"), installed, {}}}};
        QVERIFY(ToolManifest::save(entries, true));
        QCOMPARE(readFile(ToolManifest::path() + QStringLiteral(".bad")), QByteArray("{broken"));
        QVERIFY(ToolManifest::load().entries == entries);
    }
};

QTEST_GUILESS_MAIN(TestToolManifest)
#include "tst_toolmanifest.moc"
