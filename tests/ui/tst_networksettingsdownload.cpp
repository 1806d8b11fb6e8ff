#include "TestDownloads.h"
#include "TestEnvironment.h"
#include "TestHttpServer.h"
#include "TestMedia.h"
#include "TestRequests.h"
#include "core/SettingsStore.h"
#include "engine/DownloadManager.h"
#include "engine/DownloadTask.h"
#include "engine/HistoryStore.h"
#include "engine/TaskStatus.h"
#include "ui/settings/Setting.h"

#include <QTest>

// What the Network tab stores reaches Debian's yt-dlp on the next download, which the local
// server sees in its request headers.
class TestNetworkSettingsDownload : public QObject
{
    Q_OBJECT

    // Queues one download built from the current settings, the way the coordinator builds it.
    static DownloadTask *queue(TestHttpServer &server, DownloadManager &manager, const QString &folder)
    {
        DownloadTask *task =
            manager.enqueue(TestRequests::defaultRequest(server.url(QStringLiteral("/video.mp4")).toString(), folder));
        manager.start();
        return task;
    }

    static QString statusOf(const DownloadTask *task) { return TaskStatuses::rawValue(task->status()); }

    static QByteArray lastUserAgent(const TestHttpServer &server)
    {
        const QList<TestHttpServer::Request> requests = server.requestsFor(QStringLiteral("/video.mp4"));
        return requests.isEmpty() ? QByteArray() : requests.last().headers.value("user-agent");
    }

private Q_SLOTS:
    void userAgentFieldReachesTheServer()
    {
        TestEnvironment env;
        TestDownloads::installDebianTools(env);
        SettingsStore::set(QStringLiteral("notifications"), false);
        TestHttpServer server;
        TestMedia::serve(server);
        HistoryStore history;
        DownloadManager manager(&history);
        const QString folder = env.root() + QStringLiteral("/Downloads");

        Setting userAgent(QStringLiteral("userAgent"), QString()); // the tab's field
        userAgent.setValue(QStringLiteral("MorvaneSettingsTest/2.0 (typed)"));
        const DownloadTask *typed = queue(server, manager, folder + QStringLiteral("/typed"));
        QTRY_COMPARE_WITH_TIMEOUT(statusOf(typed), QStringLiteral("completed"), 60000);
        QCOMPARE(lastUserAgent(server), QByteArray("MorvaneSettingsTest/2.0 (typed)"));

        userAgent.setValue(QString()); // emptied again: yt-dlp sends its own
        const DownloadTask *emptied = queue(server, manager, folder + QStringLiteral("/emptied"));
        QTRY_COMPARE_WITH_TIMEOUT(statusOf(emptied), QStringLiteral("completed"), 60000);
        QVERIFY2(lastUserAgent(server).startsWith("Mozilla/5.0"), lastUserAgent(server).constData());
    }
};

QTEST_GUILESS_MAIN(TestNetworkSettingsDownload)
#include "tst_networksettingsdownload.moc"
