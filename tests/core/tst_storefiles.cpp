#include "TestEnvironment.h"
#include "TestRequests.h"
#include "core/AppPaths.h"
#include "core/Json.h"
#include "core/SettingsStore.h"
#include "engine/DownloadManager.h"
#include "engine/DownloadTask.h"
#include "engine/HistoryItem.h"
#include "engine/HistoryStore.h"
#include "music/LibraryData.h"
#include "music/LibraryStore.h"
#include "tools/DependencyManager.h"
#include "tools/ToolManifest.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QNetworkAccessManager>
#include <QSettings>
#include <QSignalSpy>
#include <QTest>

// The four JSON stores and the settings file, each loaded and saved the way the application does it.
enum class Store { Queue, History, Library, Manifest, Settings };
Q_DECLARE_METATYPE(Store)

namespace {

const QDateTime sample(QDate(2026, 12, 8), QTime(9, 19, 13), Qt::UTC);
const QByteArray sampleText = "2026-12-08T09:19:13Z";

const Store allStores[] = {Store::Queue, Store::History, Store::Library, Store::Manifest};

const char *storeName(Store store)
{
    switch (store) {
    case Store::Queue: return "queue.json";
    case Store::History: return "history.json";
    case Store::Library: return "library.json";
    case Store::Manifest: return "manifest.json";
    case Store::Settings: return "Morvane.conf";
    }
    return "";
}

QString storePath(Store store)
{
    if (store == Store::Settings)
        return QSettings(QStringLiteral("Morvane"), QStringLiteral("Morvane")).fileName();
    return store == Store::Manifest ? ToolManifest::path()
                                    : AppPaths::support() + QLatin1Char('/') + QLatin1String(storeName(store));
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// A store file whose every date is `sample`.
QByteArray sampleFile(Store store)
{
    DownloadTask task(TestRequests::defaultRequest(QStringLiteral("https://a.b/v"), QStringLiteral("/home/u")));
    task.setFinishedAt(sample);
    switch (store) {
    case Store::Queue: {
        QJsonObject record = task.record().toJson();
        record.insert(QStringLiteral("createdAt"), QString::fromLatin1(sampleText));
        return QJsonDocument(QJsonArray{record}).toJson();
    }
    case Store::History: return QJsonDocument(QJsonArray{HistoryItem::from(task).toJson()}).toJson();
    case Store::Library: {
        LibraryData data;
        data.plays = {PlayEvent{QStringLiteral("id000000001"), sample, 30, std::nullopt, true, false}};
        data.playlists = {Playlist{QUuid::createUuid(), QStringLiteral("Mix"), {}, sample, std::nullopt}};
        data.discoveries = {Discovery{Discovery::Kind::Radio,
                                      QStringLiteral("k"),
                                      QStringLiteral("Label"),
                                      {QStringLiteral("id000000001")},
                                      sample}};
        return data.toJson();
    }
    case Store::Manifest:
        return "{\"yt-dlp\":{\"version\":\"2026.08.19\",\"installedAt\":\"" + sampleText + "\",\"source\":\"s\"}}";
    case Store::Settings: return "[General]\nmaxConcurrent=3\n";
    }
    return {};
}

// Loads the store as the application starts it, saves it once and returns every date it held.
QList<QDateTime> loadAndSave(Store store)
{
    QList<QDateTime> dates;
    switch (store) {
    case Store::Queue: {
        HistoryStore history;
        DownloadManager manager(&history);
        for (const DownloadTask *task : manager.tasks())
            dates << task->createdAt() << task->finishedAt().value_or(QDateTime());
        manager.saveQueue();
        break;
    }
    case Store::History: {
        HistoryStore history;
        history.load();
        for (const HistoryItem &item : history.items())
            dates << item.date;
        history.remove({});
        break;
    }
    case Store::Library: {
        LibraryStore library;
        for (const PlayEvent &event : library.plays())
            dates << event.date;
        for (const Playlist &playlist : library.playlists())
            dates << playlist.created;
        for (const Discovery &discovery : library.discoveries())
            dates << discovery.date;
        QSignalSpy saved(&library, &LibraryStore::saved);
        library.saveNow();
        saved.wait();
        break;
    }
    case Store::Manifest: {
        QNetworkAccessManager network;
        DependencyManager manager(&network);
        const auto entry = manager.manifest().find(QStringLiteral("yt-dlp"));
        if (entry != manager.manifest().end())
            dates << entry->second.installedAt;
        manager.recordInstall(Tool::Deno, QStringLiteral("2.1.4"), QStringLiteral("http://h/d.zip"));
        break;
    }
    case Store::Settings:
        SettingsStore::registerDefaults();
        SettingsStore::set(QStringLiteral("maxConcurrent"), 4);
        break;
    }
    return dates;
}

} // namespace

class TestStoreFiles : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Whatever a store reads it must write back in a form it reads again: an offset that
    // carries a date past year 9999 or before year 1 in UTC is refused on reading like any other
    // bad value, and a date read is never written outside the four-digit years.
    void datesAtTheEdgesSurviveASave_data()
    {
        QTest::addColumn<Store>("store");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QDateTime>("expected"); // invalid: refused
        const struct
        {
            const char *text;
            QDateTime utc;
        } dates[] = {
            {"9999-12-31T23:59:59Z", QDateTime(QDate(9999, 12, 31), QTime(23, 59, 59), Qt::UTC)},
            {"9999-12-31T23:00:00+05:00", QDateTime(QDate(9999, 12, 31), QTime(18, 0), Qt::UTC)},
            {"9999-12-31T19:00:59-04:59", QDateTime(QDate(9999, 12, 31), QTime(23, 59, 59), Qt::UTC)},
            {"9999-12-31T23:00:00-05:00", QDateTime()},
            {"9999-12-31T23:59:59-00:01", QDateTime()},
            {"0001-01-01T00:00:00Z", QDateTime(QDate(1, 1, 1), QTime(0, 0), Qt::UTC)},
            {"0001-01-01T01:00:00-02:00", QDateTime(QDate(1, 1, 1), QTime(3, 0), Qt::UTC)},
            {"0001-01-01T05:00:00+0500", QDateTime(QDate(1, 1, 1), QTime(0, 0), Qt::UTC)},
            {"0001-01-01T01:00:00+02:00", QDateTime()},
            {"0001-01-01T00:00:00+00:01", QDateTime()},
        };
        for (const Store store : allStores) {
            for (const auto &date : dates) {
                // The manifest takes its own form only, so any offset fails it whatever the year.
                const bool offset = !QByteArray(date.text).endsWith('Z');
                const QDateTime expected = store == Store::Manifest && offset ? QDateTime() : date.utc;
                QTest::addRow("%s %s", storeName(store), date.text)
                    << store << QString::fromLatin1(date.text) << expected;
            }
        }
    }

    void datesAtTheEdgesSurviveASave()
    {
        QFETCH(Store, store);
        QFETCH(QString, text);
        QFETCH(QDateTime, expected);
        TestEnvironment env;
        const QString path = storePath(store);
        const QString aside = path + QStringLiteral(".bad");
        QByteArray original = sampleFile(store);
        const qsizetype dateCount = original.count(sampleText);
        original.replace(sampleText, text.toLatin1());
        writeFile(path, original);

        const QList<QDateTime> first = loadAndSave(store);
        if (expected.isValid()) {
            QCOMPARE(first, QList<QDateTime>(dateCount, expected));
            QVERIFY(!QFile::exists(aside));
            QCOMPARE(readFile(path).count(Json::dateText(expected).toLatin1()), dateCount);
        } else {
            QCOMPARE(first, QList<QDateTime>());
            QCOMPARE(readFile(aside), original); // refused as a whole, and kept for the user
        }

        const QByteArray asideBefore = readFile(aside);
        QCOMPARE(loadAndSave(store), first);
        QCOMPARE(readFile(aside), asideBefore);
    }

    // Each damaged start sets its file aside without replacing what an earlier one set aside: the
    // newest copy is ".bad", older ones ".bad.1" to ".bad.4", and only what falls beyond is dropped.
    void damagedStartsKeepTheirCopies_data()
    {
        QTest::addColumn<Store>("store");
        QTest::addColumn<int>("starts");
        for (const Store store : allStores) {
            QTest::addRow("%s, two starts", storeName(store)) << store << 2;
            QTest::addRow("%s, seven starts", storeName(store)) << store << 7;
        }
    }

    void damagedStartsKeepTheirCopies()
    {
        QFETCH(Store, store);
        QFETCH(int, starts);
        TestEnvironment env;
        const QString path = storePath(store);
        QList<QByteArray> expected;
        for (int start = 1; start <= starts; ++start) {
            const QByteArray damaged = "{damaged " + QByteArray::number(start);
            writeFile(path, damaged);
            loadAndSave(store);
            expected.prepend(damaged);
        }
        expected.resize(std::min<qsizetype>(expected.size(), 5));

        QList<QByteArray> copies;
        for (int age = 0; age < 6; ++age) {
            const QString copy = path + QStringLiteral(".bad") + (age > 0 ? QStringLiteral(".%1").arg(age) : QString());
            if (QFile::exists(copy))
                copies.append(readFile(copy));
        }
        QCOMPARE(copies, expected);
    }

    // The writer never puts a date into a file that the readers refuse.
    void writtenDatesStayInFourDigitYears_data()
    {
        QTest::addColumn<QDateTime>("date");
        QTest::addColumn<QString>("text");
        QTest::newRow("year 10000") << QDateTime(QDate(10000, 1, 1), QTime(0, 0), Qt::UTC)
                                    << QStringLiteral("9999-12-31T23:59:59Z");
        QTest::newRow("last second, with a fraction") << QDateTime(QDate(9999, 12, 31), QTime(23, 59, 59, 999), Qt::UTC)
                                                      << QStringLiteral("9999-12-31T23:59:59Z");
        QTest::newRow("year -1") << QDateTime(QDate(-1, 12, 31), QTime(23, 0), Qt::UTC)
                                 << QStringLiteral("0001-01-01T00:00:00Z");
        QTest::newRow("invalid") << QDateTime() << QStringLiteral("0001-01-01T00:00:00Z");
        QTest::newRow("offset inside the range") << QDateTime(QDate(1, 1, 1), QTime(1, 0), Qt::OffsetFromUTC, -3600)
                                                 << QStringLiteral("0001-01-01T02:00:00Z");
    }

    void writtenDatesStayInFourDigitYears()
    {
        QFETCH(QDateTime, date);
        QFETCH(QString, text);
        QCOMPARE(Json::dateText(date), text);
        QVERIFY(Json::parseDate(text));
    }

    // A save killed between writing and renaming leaves a whole copy named after the store with
    // QSaveFile's suffix; the store removes its own when it loads, and nothing else.
    void staleTemporariesAreRemovedOnLoad_data()
    {
        QTest::addColumn<Store>("store");
        for (const Store store : allStores)
            QTest::newRow(storeName(store)) << store;
        QTest::newRow(storeName(Store::Settings)) << Store::Settings;
    }

    void staleTemporariesAreRemovedOnLoad()
    {
        QFETCH(Store, store);
        TestEnvironment env;
        const QDir folder = QFileInfo(storePath(store)).dir();
        QVERIFY(folder.mkpath(QStringLiteral(".")));
        const QString name = QLatin1String(storeName(store));
        const QString other = QLatin1String(storeName(store == Store::Queue ? Store::History : Store::Queue));
        const QStringList stale{name + QStringLiteral(".iaMMtJ"), name + QStringLiteral(".QWERTY")};
        const QStringList kept{
            name + QStringLiteral(".bad"),     name + QStringLiteral(".iaMMt"),
            name + QStringLiteral(".iaMMtJx"), name + QStringLiteral(".ia3MtJ"),
            name + QStringLiteral("XiaMMtJ"),  QStringLiteral("x") + name + QStringLiteral(".iaMMtJ"),
            other + QStringLiteral(".iaMMtJ"), QStringLiteral("notes.txt")};
        for (const QString &file : stale + kept)
            writeFile(folder.filePath(file), "[]");
        writeFile(storePath(store), sampleFile(store));

        // Settings hold no dates; a JSON store must have read its sample, not set it aside.
        QVERIFY(!loadAndSave(store).isEmpty() || store == Store::Settings);
        QStringList expected = kept + QStringList{name};
        expected.sort();
        const QStringList present = folder.entryList(QDir::Files);
        QCOMPARE(present, expected);
    }
};

QTEST_MAIN(TestStoreFiles)
#include "tst_storefiles.moc"
