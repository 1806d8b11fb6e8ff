#include "TestEnvironment.h"
#include "core/Json.h"
#include "core/Preset.h"
#include "core/SettingsStore.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QSettings>
#include <QTest>

class TestSettingsStore : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void defaultsAreNeverWritten()
    {
        TestEnvironment env;
        SettingsStore::registerDefaults();
        QCOMPARE(SettingsStore::integer(QStringLiteral("maxConcurrent")), 2);
        QCOMPARE(SettingsStore::string(QStringLiteral("outputTemplate")), QStringLiteral("%(title)s [%(id)s].%(ext)s"));
        QVERIFY(SettingsStore::boolean(QStringLiteral("remoteEJS")));
        QVERIFY(!SettingsStore::isStored(QStringLiteral("maxConcurrent")));

        SettingsStore::set(QStringLiteral("maxConcurrent"), 5);
        QCOMPARE(SettingsStore::integer(QStringLiteral("maxConcurrent")), 5);
        QSettings file(QStringLiteral("Morvane"), QStringLiteral("Morvane"));
        QCOMPARE(file.allKeys(), QStringList{QStringLiteral("maxConcurrent")});
    }

    void downloadFolderDefault()
    {
        TestEnvironment env;
        const QString folder = SettingsStore::string(QStringLiteral("downloadFolder"));
        QVERIFY(folder.startsWith(QDir::homePath()));
    }

    void unregisteredKeysReadEmpty()
    {
        TestEnvironment env;
        QCOMPARE(SettingsStore::string(QStringLiteral("proxy")), QString());
        QCOMPARE(SettingsStore::integer(QStringLiteral("lastUpdateCheck")), 0);
        QVERIFY(!SettingsStore::boolean(QStringLiteral("nonStopPlayback")));
    }

    void freshSnapshot()
    {
        TestEnvironment env;
        QCOMPARE(SettingsStore::networkSnapshot(), NetworkOptions());
        const NetworkOptions options = SettingsStore::networkSnapshot();
        QCOMPARE(options.cookiesBrowser, QStringLiteral("none"));
        QCOMPARE(options.retries, 10);
        QCOMPARE(options.fragments, 4);
        QCOMPARE(options.timeout, 30);
    }

    void snapshotOfStoredValues_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QVariant>("stored");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QVariant>("expected");
        QTest::newRow("fragments 0 → 1") << "fragments" << QVariant(0) << "fragments" << QVariant(1);
        QTest::newRow("fragments -3 → 1") << "fragments" << QVariant(-3) << "fragments" << QVariant(1);
        QTest::newRow("retries 0 stays") << "retries" << QVariant(0) << "retries" << QVariant(0);
        QTest::newRow("empty cookies stay")
            << "cookiesBrowser" << QVariant(QString()) << "cookiesBrowser" << QVariant(QString());
        QTest::newRow("proxy untrimmed") << "proxy" << QVariant(QStringLiteral(" socks5://h:1 ")) << "proxy"
                                         << QVariant(QStringLiteral(" socks5://h:1 "));
    }

    void snapshotOfStoredValues()
    {
        QFETCH(QString, key);
        QFETCH(QVariant, stored);
        QFETCH(QString, field);
        QFETCH(QVariant, expected);
        TestEnvironment env;
        SettingsStore::set(key, stored);
        const QJsonObject snapshot = SettingsStore::networkSnapshot().toJson();
        QCOMPARE(snapshot.value(field).toVariant().toString(), expected.toString());
    }

    void networkOptionsRoundTrip()
    {
        NetworkOptions options;
        options.proxy = QStringLiteral("http://127.0.0.1:1");
        options.extraArgs = QStringLiteral("--no-part");
        options.retries = 3;
        QCOMPARE(NetworkOptions::fromJson(options.toJson()), options);
    }

    void networkOptionsStrictDecoding_data()
    {
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<QString>("error");
        const QByteArray seven =
            R"("cookiesBrowser":"none","userAgent":"","proxy":"","rateLimit":"","retries":10,"fragments":4,"timeout":30)";
        QTest::newRow("no extraArgs") << QByteArray('{' + seven + '}') << "missing key \"extraArgs\"";
        QTest::newRow("null extraArgs") << QByteArray('{' + seven + R"(,"extraArgs":null})")
                                        << "missing key \"extraArgs\"";
        QTest::newRow("retries as text")
            << QByteArray(
                   R"({"cookiesBrowser":"none","userAgent":"","proxy":"","rateLimit":"","retries":"10","fragments":4,"timeout":30,"extraArgs":""})")
            << "key \"retries\" is not an integer";
        QTest::newRow("fractional timeout")
            << QByteArray(
                   R"({"cookiesBrowser":"none","userAgent":"","proxy":"","rateLimit":"","retries":10,"fragments":4,"timeout":2.5,"extraArgs":""})")
            << "key \"timeout\" is not an integer";
        QTest::newRow("extra keys ignored") << QByteArray('{' + seven + R"(,"extraArgs":"","other":1})") << "";
    }

    void networkOptionsStrictDecoding()
    {
        QFETCH(QByteArray, json);
        QFETCH(QString, error);
        QString actual;
        const auto options = NetworkOptions::fromJson(*Json::parseObject(json), &actual);
        QCOMPARE(actual, error);
        QCOMPARE(options.has_value(), error.isEmpty());
    }

    void presets()
    {
        QCOMPARE(Presets::all().size(), 6);
        for (Preset preset : Presets::all())
            QCOMPARE(Presets::fromRawValue(Presets::rawValue(preset)), preset);
        QCOMPARE(Presets::rawValue(Preset::Uhd), QStringLiteral("4K"));
        QVERIFY(!Presets::fromRawValue(QStringLiteral("4k")));
        QVERIFY(!Presets::fromRawValue(QStringLiteral("best")));
    }

    void jsonDatesAndIds()
    {
        const QDateTime date = QDateTime(QDate(2026, 12, 8), QTime(9, 19, 12, 700), Qt::UTC);
        QCOMPARE(Json::dateText(date), QStringLiteral("2026-12-08T09:19:12Z"));
        QCOMPARE(Json::parseDate(QStringLiteral("2026-12-08T10:19:12+01:00")),
                 QDateTime(QDate(2026, 12, 8), QTime(9, 19, 12), Qt::UTC));
        QVERIFY(!Json::parseDate(QStringLiteral("2026-12-08T09:19:12")));
        QVERIFY(!Json::parseDate(QStringLiteral("yesterday")));
        const QUuid id = QUuid::createUuid();
        QCOMPARE(Json::uuidText(id), id.toString(QUuid::WithoutBraces).toUpper());

        QJsonObject object;
        Json::insertOptional(object, QStringLiteral("nan"), std::optional<double>(qQNaN()));
        Json::insertOptional(object, QStringLiteral("none"), std::optional<QString>());
        Json::insertOptional(object, QStringLiteral("when"), std::optional<QDateTime>(date));
        QCOMPARE(object.keys(), QStringList{QStringLiteral("when")});
        QCOMPARE(Json::finite(qInf(), 0.5), 0.5);
    }

    void jsonReaderTellsNullFromMissing()
    {
        Json::Reader read(*Json::parseObject(R"({"a":null,"b":"x","c":[1]})"));
        QCOMPARE(read.optionalString(QStringLiteral("a")), std::nullopt);
        QCOMPARE(read.optionalString(QStringLiteral("z")), std::nullopt);
        QVERIFY(read.ok());
        QCOMPARE(read.string(QStringLiteral("b")), QStringLiteral("x"));
        QCOMPARE(read.stringList(QStringLiteral("c")), QStringList());
        QCOMPARE(read.error(), QStringLiteral("key \"c\" is not a list of strings"));
    }
};

QTEST_GUILESS_MAIN(TestSettingsStore)
#include "tst_settingsstore.moc"
