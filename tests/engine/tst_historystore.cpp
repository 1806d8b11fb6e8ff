#include "TestEnvironment.h"
#include "TestRequests.h"
#include "core/Json.h"
#include "core/LogManager.h"
#include "engine/DownloadTask.h"
#include "engine/HistoryStore.h"

#include <QAbstractItemModelTester>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QSignalSpy>
#include <QTest>

#include <memory>

namespace {

DownloadOptions request(const QString &url)
{
    DownloadOptions options = TestRequests::defaultRequest(url, QStringLiteral("/home/u/Downloads"));
    options.title = QStringLiteral("Talk «one» 日本語");
    options.uploader = QStringLiteral("Someone");
    options.thumbnail = QStringLiteral("https://i.a.b/t.jpg");
    return options;
}

std::unique_ptr<DownloadTask> finishedTask(const QString &url, TaskStatus status, const QStringList &files = {})
{
    auto task = std::make_unique<DownloadTask>(request(url));
    task->setStatus(status);
    task->setOutputFiles(files);
    task->setFinishedAt(QDateTime(QDate(2026, 12, 9), QTime(4, 18, 3), Qt::UTC));
    if (status == TaskStatus::Completed)
        task->setFinalSize(4096);
    if (status == TaskStatus::Failed)
        task->setError(QStringLiteral("HTTP Error 404"));
    return task;
}

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

QJsonArray storedEntries()
{
    return QJsonDocument::fromJson(fileBytes(HistoryStore::filePath())).array();
}

} // namespace

class TestHistoryStore : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        m_env = std::make_unique<TestEnvironment>();
        m_store = std::make_unique<HistoryStore>();
        m_tester = std::make_unique<QAbstractItemModelTester>(m_store.get(),
                                                              QAbstractItemModelTester::FailureReportingMode::QtTest);
    }
    void cleanup()
    {
        m_tester.reset();
        m_store.reset();
        m_env.reset();
    }

    void recordingAgainReplacesAtFront()
    {
        m_store->load();
        auto first = finishedTask(QStringLiteral("https://a.b/1"), TaskStatus::Failed);
        auto second = finishedTask(QStringLiteral("https://a.b/2"), TaskStatus::Completed);
        QSignalSpy changed(m_store.get(), &HistoryStore::itemsChanged);
        m_store->record(*first);
        m_store->record(*second);

        first->setStatus(TaskStatus::Completed);
        first->setError(std::nullopt);
        first->setOutputFiles({QStringLiteral("/home/u/Downloads/1.mp4")});
        m_store->record(*first);

        QCOMPARE(changed.count(), 3);
        QCOMPARE(m_store->count(), 2);
        const HistoryItem &front = m_store->items().first();
        QCOMPARE(front.id, first->id());
        QCOMPARE(front.status, TaskStatus::Completed);
        QVERIFY(!front.error);
        QCOMPARE(front.filePath, QStringLiteral("/home/u/Downloads/1.mp4"));
        QCOMPARE(m_store->items().last().id, second->id());

        // The file mirrors the list, newest first.
        const QJsonArray stored = storedEntries();
        QCOMPARE(stored.size(), 2);
        QCOMPARE(stored[0][QStringLiteral("id")].toString(), Json::uuidText(first->id()));
        QCOMPARE(stored[1][QStringLiteral("id")].toString(), Json::uuidText(second->id()));
    }

    void entryFromTask()
    {
        auto task = finishedTask(QStringLiteral("https://a.b/list"), TaskStatus::Completed,
                                 {QStringLiteral("/d/1.mp4"), QStringLiteral("/d/2.mp4")});
        const HistoryItem item = HistoryItem::from(*task);
        QCOMPARE(item.id, task->id());
        QCOMPARE(item.title, task->displayTitle());
        QCOMPARE(item.thumbnail, QStringLiteral("https://i.a.b/t.jpg"));
        QCOMPARE(item.date, *task->finishedAt());
        QCOMPARE(item.filePath, QStringLiteral("/d/2.mp4")); // the last one reported
        QCOMPARE(item.folder, QStringLiteral("/home/u/Downloads"));
        QCOMPARE(item.sourceURL, QStringLiteral("https://a.b/list"));
        QCOMPARE(item.size, 4096);
        QCOMPARE(item.options, task->options());

        // Cancelled before it ever ran: no file, no size, dated now.
        DownloadTask never(request(QStringLiteral("https://a.b/never")));
        never.setStatus(TaskStatus::Cancelled);
        const QDateTime before = QDateTime::currentDateTimeUtc().addSecs(-1);
        const HistoryItem cancelled = HistoryItem::from(never);
        QVERIFY(!cancelled.filePath && !cancelled.size && !cancelled.error);
        QVERIFY(cancelled.date >= before && cancelled.date <= QDateTime::currentDateTimeUtc());
    }

    void removeDeletesLogsOfEveryId()
    {
        m_store->load();
        auto kept = finishedTask(QStringLiteral("https://a.b/1"), TaskStatus::Completed);
        auto gone = finishedTask(QStringLiteral("https://a.b/2"), TaskStatus::Failed);
        m_store->record(*kept);
        m_store->record(*gone);
        const QUuid unknown = QUuid::createUuid();
        for (const QUuid &id : {kept->id(), gone->id(), unknown})
            LogManager::append(QStringLiteral("line"), LogManager::taskLogPath(id));
        QVERIFY(QFile::remove(HistoryStore::filePath()));

        m_store->remove({gone->id(), unknown});
        QCOMPARE(m_store->count(), 1);
        QCOMPARE(m_store->items().first().id, kept->id());
        QCOMPARE(LogManager::read(gone->id()), QStringLiteral("No log yet."));
        QCOMPARE(LogManager::read(unknown), QStringLiteral("No log yet."));
        QVERIFY(LogManager::read(kept->id()).endsWith(QStringLiteral("] line\n")));
        QCOMPARE(storedEntries().size(), 1); // rewritten

        // An id that matches nothing still deletes its log and rewrites the file.
        QVERIFY(QFile::remove(HistoryStore::filePath()));
        LogManager::append(QStringLiteral("line"), LogManager::taskLogPath(unknown));
        m_store->remove({unknown});
        QCOMPARE(m_store->count(), 1);
        QCOMPARE(LogManager::read(unknown), QStringLiteral("No log yet."));
        QVERIFY(QFile::exists(HistoryStore::filePath()));
    }

    void clearDeletesEverything()
    {
        m_store->load();
        m_store->clear();
        QCOMPARE(fileBytes(HistoryStore::filePath()), QByteArray("[]"));

        auto task = finishedTask(QStringLiteral("https://a.b/1"), TaskStatus::Completed);
        m_store->record(*task);
        LogManager::append(QStringLiteral("line"), LogManager::taskLogPath(task->id()));
        m_store->clear();
        QCOMPARE(m_store->count(), 0);
        QCOMPARE(LogManager::read(task->id()), QStringLiteral("No log yet."));
        QCOMPARE(fileBytes(HistoryStore::filePath()), QByteArray("[]"));
    }

    void reloadGivesEqualEntries()
    {
        m_store->load();
        auto done = finishedTask(QStringLiteral("https://a.b/1"), TaskStatus::Completed, {QStringLiteral("/d/1.mp4")});
        auto failed = finishedTask(QStringLiteral("https://a.b/2"), TaskStatus::Failed);
        m_store->record(*done);
        m_store->record(*failed);

        HistoryStore reloaded;
        reloaded.load();
        QCOMPARE(reloaded.items(), m_store->items());
        QVERIFY(!QFile::exists(HistoryStore::filePath() + QStringLiteral(".bad")));
        // Texts that repeat across entries are held once.
        const HistoryItem &one = reloaded.items()[0];
        const HistoryItem &two = reloaded.items()[1];
        QCOMPARE(one.folder.constData(), two.folder.constData());
        QCOMPARE(one.options.outputTemplate.constData(), two.options.outputTemplate.constData());
        QCOMPARE(one.options.folder.constData(), one.folder.constData());
        QCOMPARE(one.sourceURL.constData(), one.options.url.constData());
        // Entries taken from a reader hold copies of its texts, made together, still shared.
        const QList<HistoryItem> decoded = HistoryStore::read();
        HistoryStore adopted;
        adopted.adopt(decoded);
        QCOMPARE(adopted.items(), decoded);
        QVERIFY(adopted.items()[0].title.constData() != decoded[0].title.constData());
        QCOMPARE(adopted.items()[0].folder.constData(), adopted.items()[1].folder.constData());
    }

    // While the file is read elsewhere nothing is saved over it; what was recorded meanwhile goes
    // in front of the stored entries and is saved with them.
    void recordingWhileLoadingKeepsTheStoredEntries()
    {
        m_store->load();
        auto stored = finishedTask(QStringLiteral("https://a.b/1"), TaskStatus::Completed);
        auto again = finishedTask(QStringLiteral("https://a.b/2"), TaskStatus::Failed);
        m_store->record(*stored);
        m_store->record(*again);
        const QByteArray before = fileBytes(HistoryStore::filePath());

        HistoryStore late;
        late.beginLoading();
        auto recorded = finishedTask(QStringLiteral("https://a.b/3"), TaskStatus::Completed);
        again->setStatus(TaskStatus::Completed);
        late.record(*recorded);
        late.record(*again);
        QCOMPARE(fileBytes(HistoryStore::filePath()), before);
        late.adopt(HistoryStore::read());
        QVERIFY(!late.isLoading());
        QList<QUuid> ids;
        for (const HistoryItem &item : late.items())
            ids.append(item.id);
        QCOMPARE(ids, (QList<QUuid>{again->id(), recorded->id(), stored->id()}));
        QCOMPARE(late.items().first().status, TaskStatus::Completed);
        QCOMPARE(storedEntries().size(), 3);
    }

    void absentOptionalsReadBack_data()
    {
        QTest::addColumn<QJsonValue>("absent"); // undefined: the key is left out
        QTest::newRow("missing keys") << QJsonValue(QJsonValue::Undefined);
        QTest::newRow("null values") << QJsonValue(QJsonValue::Null);
    }
    void absentOptionalsReadBack()
    {
        QFETCH(QJsonValue, absent);
        DownloadTask task(request(QStringLiteral("https://a.b/c")));
        task.setStatus(TaskStatus::Cancelled);
        HistoryItem item = HistoryItem::from(task);
        item.thumbnail.reset();
        item.date = QDateTime(QDate(2026, 12, 9), QTime(4, 18, 3), Qt::UTC);
        QJsonObject object = item.toJson();
        for (const char *key : {"thumbnail", "filePath", "size", "error"}) {
            QVERIFY(!object.contains(QLatin1String(key)));
            if (!absent.isUndefined())
                object.insert(QLatin1String(key), absent);
        }
        writeBytes(HistoryStore::filePath(), QJsonDocument(QJsonArray{object}).toJson());
        m_store->load();
        QCOMPARE(m_store->count(), 1);
        QCOMPARE(m_store->items().first(), item);
    }

    void unreadableFileIsKeptAside_data()
    {
        QTest::addColumn<QByteArray>("damage"); // what replaces the first entry's text
        QTest::newRow("entry without folder") << QByteArray("folder");
        QTest::newRow("status in capitals") << QByteArray("status");
        QTest::newRow("options without network") << QByteArray("network");
        QTest::newRow("not JSON") << QByteArray("{");
    }
    void unreadableFileIsKeptAside()
    {
        QFETCH(QByteArray, damage);
        auto good = finishedTask(QStringLiteral("https://a.b/good"), TaskStatus::Completed);
        QJsonObject broken = HistoryItem::from(*good).toJson();
        if (damage == "folder") {
            broken.remove(QStringLiteral("folder"));
        } else if (damage == "status") {
            broken.insert(QStringLiteral("status"), QStringLiteral("Completed"));
        } else if (damage == "network") {
            QJsonObject options = broken.value(QStringLiteral("options")).toObject();
            options.remove(QStringLiteral("network"));
            broken.insert(QStringLiteral("options"), options);
        }
        QByteArray original = QJsonDocument(QJsonArray{HistoryItem::from(*good).toJson(), broken}).toJson();
        if (damage == "{")
            original.chop(3);
        writeBytes(HistoryStore::filePath(), original);
        writeBytes(HistoryStore::filePath() + QStringLiteral(".bad"), "older");

        m_store->load();
        QCOMPARE(m_store->count(), 0);
        QVERIFY(!QFile::exists(HistoryStore::filePath()));
        QCOMPARE(fileBytes(HistoryStore::filePath() + QStringLiteral(".bad")), original);
        QCOMPARE(fileBytes(HistoryStore::filePath() + QStringLiteral(".bad.1")), QByteArray("older"));

        auto next = finishedTask(QStringLiteral("https://a.b/next"), TaskStatus::Completed);
        m_store->record(*next);
        const QJsonArray stored = storedEntries();
        QCOMPARE(stored.size(), 1);
        QCOMPARE(stored[0][QStringLiteral("id")].toString(), Json::uuidText(next->id()));
        QCOMPARE(fileBytes(HistoryStore::filePath() + QStringLiteral(".bad")), original);
    }

    void missingFileStartsEmpty()
    {
        m_store->load();
        QCOMPARE(m_store->count(), 0);
        QVERIFY(!QFile::exists(HistoryStore::filePath()));
        QVERIFY(!QFile::exists(HistoryStore::filePath() + QStringLiteral(".bad")));
    }

    void rolesForTheView()
    {
        m_store->load();
        auto task = finishedTask(QStringLiteral("https://a.b/1"), TaskStatus::Failed);
        m_store->record(*task);
        const QModelIndex row = m_store->index(0);
        const auto role = [&](const QByteArray &name) { return row.data(m_store->roleNames().key(name)); };
        QCOMPARE(role("id").toString(), Json::uuidText(task->id()));
        QCOMPARE(role("title").toString(), task->displayTitle());
        QCOMPARE(role("status").toString(), QStringLiteral("failed"));
        QCOMPARE(role("error").toString(), QStringLiteral("HTTP Error 404"));
        QCOMPARE(role("sourceURL").toString(), QStringLiteral("https://a.b/1"));
        QCOMPARE(role("date").toDateTime(), *task->finishedAt());
        QVERIFY(!role("size").isValid());
        QVERIFY(!role("filePath").isValid());
    }

private:
    std::unique_ptr<TestEnvironment> m_env;
    std::unique_ptr<HistoryStore> m_store;
    std::unique_ptr<QAbstractItemModelTester> m_tester;
};

QTEST_GUILESS_MAIN(TestHistoryStore)
#include "tst_historystore.moc"
