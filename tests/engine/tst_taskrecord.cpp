#include "core/Json.h"
#include "engine/DownloadOptions.h"
#include "engine/TaskRecord.h"
#include "engine/TaskStatus.h"

#include <QJsonDocument>
#include <QTest>

#include <limits>

using namespace Qt::StringLiterals;

namespace {

DownloadOptions sampleOptions()
{
    DownloadOptions options;
    options.url = QStringLiteral("https://example.com/watch?v=abc");
    options.title = QStringLiteral("Talk «one» 日本語");
    options.uploader = QStringLiteral("Someone");
    options.audioFormat = QStringLiteral("mp3");
    options.container = QStringLiteral("mp4");
    options.folder = QStringLiteral("/home/u/Downloads");
    options.outputTemplate = QStringLiteral("%(title)s [%(id)s].%(ext)s");
    options.embedThumbnail = true;
    options.embedMetadata = true;
    options.subLangs = QStringLiteral("en.*");
    options.presetName = QStringLiteral("Best Quality");
    return options;
}

TaskRecord sampleRecord()
{
    TaskRecord record;
    record.id = QUuid::fromString(u"6f1c2a8e-0b4d-4e5f-9a7b-3c2d1e0f9a8b"_s);
    record.options = sampleOptions();
    record.status = TaskStatus::Completed;
    record.progress = 1;
    record.createdAt = QDateTime(QDate(2026, 12, 8), QTime(9, 19, 13), Qt::UTC);
    record.finishedAt = QDateTime(QDate(2026, 12, 8), QTime(9, 20, 1), Qt::UTC);
    record.outputFiles = {QStringLiteral("/home/u/Downloads/a.mp4"), QStringLiteral("/home/u/Downloads/a.en.srt")};
    record.finalSize = 5'000'000'000;
    record.error = QStringLiteral("partial");
    record.itemIndex = 3;
    record.itemCount = 5;
    record.itemTitle = QStringLiteral("Part «3»");
    return record;
}

// Serialises and parses again, as the queue file does.
QJsonObject throughText(const QJsonObject &object)
{
    return *Json::parseObject(QJsonDocument(object).toJson(QJsonDocument::Compact));
}

} // namespace

class TestTaskRecord : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void optionsRoundTrip_data()
    {
        QTest::addColumn<DownloadOptions>("options");
        QTest::addColumn<QStringList>("absentKeys");
        QTest::newRow("optionals absent")
            << sampleOptions() << QStringList{u"thumbnail"_s, u"playlistItems"_s, u"formatSelector"_s, u"formatSort"_s};
        DownloadOptions full = sampleOptions();
        full.thumbnail = QStringLiteral("https://i.example.com/a.jpg");
        full.isPlaylist = true;
        full.playlistItems = QStringLiteral("1-3,7");
        full.formatSelector = QStringLiteral("bv*+ba/b");
        full.formatSort = QStringLiteral("res,ext:mp4:m4a");
        full.network.proxy = QStringLiteral("socks5://127.0.0.1:9050");
        full.network.extraArgs = QStringLiteral("--no-part");
        QTest::newRow("all present") << full << QStringList();
        DownloadOptions empty = sampleOptions();
        empty.formatSelector = QString(); // present but empty is kept apart from absent
        QTest::newRow("empty selector") << empty << QStringList{u"thumbnail"_s, u"playlistItems"_s, u"formatSort"_s};
    }

    void optionsRoundTrip()
    {
        QFETCH(DownloadOptions, options);
        QFETCH(QStringList, absentKeys);
        const QJsonObject json = throughText(options.toJson());
        QCOMPARE(json.size(), 21 - absentKeys.size());
        for (const QString &key : absentKeys)
            QVERIFY2(!json.contains(key), qPrintable(key));
        QString error;
        const auto decoded = DownloadOptions::fromJson(json, &error);
        QCOMPARE(error, QString());
        QVERIFY(decoded == options);
    }

    void optionsStrictDecoding_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QJsonValue>("value"); // undefined removes the key
        QTest::addColumn<QString>("error");
        QTest::newRow("null selector is absent") << "formatSelector" << QJsonValue(QJsonValue::Null) << "";
        QTest::newRow("null thumbnail is absent") << "thumbnail" << QJsonValue(QJsonValue::Null) << "";
        QTest::newRow("unknown key ignored") << "later" << QJsonValue(1) << "";
        QTest::newRow("no presetName") << "presetName" << QJsonValue(QJsonValue::Undefined)
                                       << "missing key \"presetName\"";
        QTest::newRow("null title") << "title" << QJsonValue(QJsonValue::Null) << "missing key \"title\"";
        QTest::newRow("no network") << "network" << QJsonValue(QJsonValue::Undefined) << "missing key \"network\"";
        QTest::newRow("network without extraArgs") << "network"
                                                   << QJsonValue(QJsonObject{{u"cookiesBrowser"_s, u"none"_s},
                                                                             {u"userAgent"_s, u""_s},
                                                                             {u"proxy"_s, u""_s},
                                                                             {u"rateLimit"_s, u""_s},
                                                                             {u"retries"_s, 10},
                                                                             {u"fragments"_s, 4},
                                                                             {u"timeout"_s, 30}})
                                                   << "network: missing key \"extraArgs\"";
        QTest::newRow("playlist flag as text")
            << "isPlaylist" << QJsonValue(u"false"_s) << "key \"isPlaylist\" is not a boolean";
        QTest::newRow("sort as number") << "formatSort" << QJsonValue(3) << "key \"formatSort\" is not a string";
    }

    void optionsStrictDecoding()
    {
        QFETCH(QString, key);
        QFETCH(QJsonValue, value);
        QFETCH(QString, error);
        QJsonObject json = sampleOptions().toJson();
        if (value.isUndefined())
            json.remove(key);
        else
            json.insert(key, value);
        QString actual;
        const auto decoded = DownloadOptions::fromJson(json, &actual);
        QCOMPARE(actual, error);
        QCOMPARE(decoded.has_value(), error.isEmpty());
        if (decoded)
            QVERIFY(*decoded == sampleOptions());
    }

    void optionsEqualityCoversNetwork()
    {
        DownloadOptions other = sampleOptions();
        other.network.timeout = 31;
        QVERIFY(!(other == sampleOptions()));
        other.network.timeout = sampleOptions().network.timeout;
        QVERIFY(other == sampleOptions());
        other.thumbnail = QString();
        QVERIFY(!(other == sampleOptions())); // an empty thumbnail is not an absent one
    }

    void statuses_data()
    {
        QTest::addColumn<TaskStatus>("status");
        QTest::addColumn<QString>("raw");
        QTest::addColumn<bool>("active");
        QTest::addColumn<bool>("finished");
        QTest::newRow("queued") << TaskStatus::Queued << "queued" << false << false;
        QTest::newRow("downloading") << TaskStatus::Downloading << "downloading" << true << false;
        QTest::newRow("processing") << TaskStatus::Processing << "processing" << true << false;
        QTest::newRow("paused") << TaskStatus::Paused << "paused" << false << false;
        QTest::newRow("completed") << TaskStatus::Completed << "completed" << false << true;
        QTest::newRow("failed") << TaskStatus::Failed << "failed" << false << true;
        QTest::newRow("cancelled") << TaskStatus::Cancelled << "cancelled" << false << true;
    }

    void statuses()
    {
        QFETCH(TaskStatus, status);
        QFETCH(QString, raw);
        QFETCH(bool, active);
        QFETCH(bool, finished);
        QCOMPARE(TaskStatuses::rawValue(status), raw);
        QCOMPARE(TaskStatuses::fromRawValue(raw), status);
        QCOMPARE(TaskStatuses::isActive(status), active);
        QCOMPARE(TaskStatuses::isFinished(status), finished);
        QCOMPARE(TaskStatuses::fromRawValue(raw.at(0).toUpper() + raw.mid(1)), std::nullopt);
    }

    void recordRoundTrip()
    {
        TaskRecord record = sampleRecord();
        record.createdAt = record.createdAt.addMSecs(750); // fractions are not stored
        const QJsonObject json = throughText(record.toJson());
        QCOMPARE(json.value(u"id"_s).toString(), u"6F1C2A8E-0B4D-4E5F-9A7B-3C2D1E0F9A8B"_s);
        QCOMPARE(json.value(u"createdAt"_s).toString(), u"2026-12-08T09:19:13Z"_s);
        QCOMPARE(json.value(u"finishedAt"_s).toString(), u"2026-12-08T09:20:01Z"_s);
        QCOMPARE(json.value(u"status"_s).toString(), u"completed"_s);
        QCOMPARE(json.value(u"finalSize"_s).toInteger(), 5'000'000'000);
        const auto decoded = TaskRecord::fromJson(json);
        QVERIFY(decoded);
        QVERIFY(*decoded == sampleRecord());
    }

    void recordDecoding_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QJsonValue>("value"); // undefined removes the key
        QTest::addColumn<QString>("error");
        const QJsonValue removed(QJsonValue::Undefined);
        QTest::newRow("no finishedAt") << "finishedAt" << removed << "";
        QTest::newRow("no finalSize") << "finalSize" << removed << "";
        QTest::newRow("null error") << "error" << QJsonValue(QJsonValue::Null) << "";
        QTest::newRow("empty outputFiles") << "outputFiles" << QJsonValue(QJsonArray()) << "";
        // Files of earlier versions hold no item.
        QTest::newRow("no itemTitle") << "itemTitle" << removed << "";
        QTest::newRow("itemTitle as number") << "itemTitle" << QJsonValue(3) << "key \"itemTitle\" is not a string";
        QTest::newRow("no outputFiles") << "outputFiles" << removed << "missing key \"outputFiles\"";
        QTest::newRow("capitalised status") << "status" << QJsonValue(u"Completed"_s) << "unknown status \"Completed\"";
        QTest::newRow("status as number") << "status" << QJsonValue(4) << "key \"status\" is not a string";
        QTest::newRow("no progress") << "progress" << removed << "missing key \"progress\"";
        QTest::newRow("null progress") << "progress" << QJsonValue(QJsonValue::Null) << "missing key \"progress\"";
        QTest::newRow("bad id") << "id" << QJsonValue(u"not-a-uuid"_s) << "key \"id\" is not a UUID";
        QTest::newRow("local date") << "createdAt" << QJsonValue(u"2026-12-08T09:19:13"_s)
                                    << "key \"createdAt\" is not an ISO 8601 date";
        QTest::newRow("fractional size") << "finalSize" << QJsonValue(1.5) << "key \"finalSize\" is not an integer";
        QTest::newRow("options without url") << "options" << QJsonValue([] {
            QJsonObject options = sampleOptions().toJson();
            options.remove(u"url"_s);
            return options;
        }()) << "options: missing key \"url\"";
    }

    void recordDecoding()
    {
        QFETCH(QString, key);
        QFETCH(QJsonValue, value);
        QFETCH(QString, error);
        QJsonObject json = sampleRecord().toJson();
        if (value.isUndefined())
            json.remove(key);
        else
            json.insert(key, value);
        QString actual;
        const auto decoded = TaskRecord::fromJson(json, &actual);
        QCOMPARE(actual, error);
        QCOMPARE(decoded.has_value(), error.isEmpty());
        if (decoded && value.isUndefined())
            QVERIFY(!decoded->toJson().contains(key)); // absent stays absent, never null
    }

    // A progress value the task computed badly must never make the queue file unreadable.
    void progressIsClampedBeforeWriting_data()
    {
        QTest::addColumn<double>("progress");
        QTest::addColumn<double>("stored");
        QTest::newRow("NaN") << std::numeric_limits<double>::quiet_NaN() << 0.0;
        QTest::newRow("infinity") << std::numeric_limits<double>::infinity() << 1.0;
        QTest::newRow("minus infinity") << -std::numeric_limits<double>::infinity() << 0.0;
        QTest::newRow("below 0") << -0.25 << 0.0;
        QTest::newRow("above 1") << 1.5 << 1.0;
        QTest::newRow("inside") << 0.375 << 0.375;
    }

    void progressIsClampedBeforeWriting()
    {
        QFETCH(double, progress);
        QFETCH(double, stored);
        TaskRecord record = sampleRecord();
        record.progress = progress;
        const QJsonObject json = throughText(record.toJson());
        QVERIFY(json.value(u"progress"_s).isDouble());
        QCOMPARE(json.value(u"progress"_s).toDouble(), stored);
        const auto decoded = TaskRecord::fromJson(json);
        QVERIFY(decoded);
        QCOMPARE(decoded->progress, stored);
    }
};

QTEST_APPLESS_MAIN(TestTaskRecord)
#include "tst_taskrecord.moc"
