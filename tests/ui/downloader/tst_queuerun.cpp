#include "TestDownloads.h"
#include "ActionList.h"
#include "TestEnvironment.h"
#include "TestFileManager.h"
#include "TestHttpServer.h"
#include "TestMedia.h"
#include "TestRequests.h"
#include "core/Json.h"
#include "core/LogManager.h"
#include "core/TextHelpers.h"
#include "engine/DownloadManager.h"
#include "engine/DownloadTask.h"
#include "engine/HistoryStore.h"
#include "platform/DesktopServices.h"
#include "ui/downloader/DownloadQueueModel.h"
#include "ui/downloader/LogSheetModel.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QTest>

// Queue rows over real downloads: Debian's yt-dlp and ffmpeg fetching from the throttled local
// server, the rows' buttons pressed through the model, and the file manager on the private bus.
namespace {

constexpr int downloadTimeoutMs = 60000;

} // namespace

struct Setup
{
    TestEnvironment env;
    TestHttpServer server;
    TestFileManager fileManager;
    HistoryStore history;
    DownloadManager manager{&history};
    DesktopServices desktop;
    DownloadQueueModel model{&manager, &desktop};
    QString folder = env.root() + QStringLiteral("/Downloads");

    Setup()
    {
        TestDownloads::installDebianTools(env);
        TestMedia::serve(server);
        TestHttpServer::Route slow;
        slow.filePath = TestMedia::videoFile();
        slow.headers = {{"Content-Type", "video/mp4"}};
        // About 2.5 s: long enough for several of the row's progress updates, four a second.
        slow.dripBytes = 4096;
        slow.dripIntervalMs = 100;
        server.serve(QStringLiteral("/slow.mp4"), slow);
    }

    QString enqueue(const QString &path)
    {
        DownloadTask *task = manager.enqueue(TestRequests::defaultRequest(server.url(path).toString(), folder));
        manager.start();
        return Json::uuidText(task->id());
    }
    QVariant at(int role) const { return model.data(model.index(0, 0), role); }
    QString line() const { return at(DownloadQueueModel::StatusLineRole).toString(); }
    QString status() const { return at(DownloadQueueModel::StatusTextRole).toString(); }
};

class TestQueueRun : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void downloadPauseResumeAndShowInFolder()
    {
        Setup setup;
        QVERIFY(setup.fileManager.isRegistered());
        const QString id = setup.enqueue(QStringLiteral("/slow.mp4"));

        const QRegularExpression downloading(QStringLiteral(
            "^\\d{1,2}% \u00b7 [\\d.]+ k?M?B of [\\d.]+ k?M?B \u00b7 [\\d.]+ k?M?B/s \u00b7 ETA \\d+:\\d\\d"));
        QTRY_VERIFY2_WITH_TIMEOUT(downloading.match(setup.line()).hasMatch(), qPrintable(setup.line()),
                                  downloadTimeoutMs);
        QCOMPARE(setup.at(DownloadQueueModel::StatusColorRole).toString(), QStringLiteral("accent"));
        QVERIFY(setup.at(DownloadQueueModel::ShowsProgressRole).toBool());

        setup.model.trigger(id, QStringLiteral("pause"));
        QTRY_COMPARE_WITH_TIMEOUT(setup.status(), QStringLiteral("Paused"), downloadTimeoutMs);
        const QRegularExpression paused(
            QStringLiteral("^Paused at \\d{1,2}% \u2014 resume continues from the partial file$"));
        QVERIFY2(paused.match(setup.line()).hasMatch(), qPrintable(setup.line()));
        QCOMPARE(actionsOf(setup.at(DownloadQueueModel::ControlsRole)).first(), QStringLiteral("resume"));

        setup.model.trigger(id, QStringLiteral("resume"));
        QTRY_COMPARE_WITH_TIMEOUT(setup.status(), QStringLiteral("Completed"), downloadTimeoutMs);
        const QString file = setup.folder + QStringLiteral("/slow [slow].mp4");
        QVERIFY(QFileInfo::exists(file));
        QCOMPARE(setup.line(), QStringLiteral("Done \u00b7 ") + formatByteCount(QFileInfo(file).size()) +
                                   QStringLiteral(" \u00b7 slow [slow].mp4"));
        QVERIFY(!setup.at(DownloadQueueModel::ShowsProgressRole).toBool());
        QCOMPARE(actionsOf(setup.at(DownloadQueueModel::ControlsRole)),
                 (QStringList{QStringLiteral("reveal"), QStringLiteral("showLog"), QStringLiteral("remove")}));

        setup.model.trigger(id, QStringLiteral("reveal"));
        QTRY_COMPARE(setup.fileManager.shown(), QStringList{QUrl::fromLocalFile(file).toString(QUrl::FullyEncoded)});

        // The log sheet of the row: the start line and the command line, and the file revealed.
        setup.model.trigger(id, QStringLiteral("showLog"));
        LogSheetModel sheet(&setup.desktop);
        sheet.open(setup.model.logTask());
        QTRY_VERIFY(sheet.text().contains(QStringLiteral("\u2014\u2014 start \u2014\u2014")));
        QVERIFY(sheet.text().contains(QLatin1String("] $ yt-dlp ")));
        sheet.revealFile();
        QTRY_COMPARE(setup.fileManager.shown().size(), 2);
        QCOMPARE(setup.fileManager.shown().last(),
                 QUrl::fromLocalFile(LogManager::taskLogPath(QUuid::fromString(id))).toString(QUrl::FullyEncoded));
        QVERIFY(setup.fileManager.shown().last().endsWith(id + QStringLiteral(".log")));
    }

    void notFoundFailsAndRetryRunsAgain()
    {
        Setup setup;
        const QString id = setup.enqueue(QStringLiteral("/missing.mp4"));
        QTRY_COMPARE_WITH_TIMEOUT(setup.status(), QStringLiteral("Failed"), downloadTimeoutMs);
        QVERIFY2(setup.line().contains(QLatin1String("404")), qPrintable(setup.line()));
        QCOMPARE(setup.at(DownloadQueueModel::StatusLineColorRole).toString(), QStringLiteral("red"));
        QCOMPARE(actionsOf(setup.at(DownloadQueueModel::ControlsRole)).first(), QStringLiteral("retry"));

        setup.model.trigger(id, QStringLiteral("retry"));
        QTRY_COMPARE_WITH_TIMEOUT(LogManager::read(QUuid::fromString(id)).count(QStringLiteral("\u2014\u2014 start")),
                                  2, downloadTimeoutMs);
        QTRY_COMPARE_WITH_TIMEOUT(setup.status(), QStringLiteral("Failed"), downloadTimeoutMs);
    }

    void cancelThenRemove()
    {
        Setup setup;
        const QString id = setup.enqueue(QStringLiteral("/slow.mp4"));
        QTRY_COMPARE_WITH_TIMEOUT(setup.status(), QStringLiteral("Downloading"), downloadTimeoutMs);
        setup.model.trigger(id, QStringLiteral("cancel"));
        QTRY_COMPARE_WITH_TIMEOUT(setup.line(), QStringLiteral("Cancelled"), downloadTimeoutMs);
        QVERIFY(!actionsOf(setup.at(DownloadQueueModel::ControlsRole)).contains(QStringLiteral("cancel")));
        setup.model.trigger(id, QStringLiteral("remove"));
        QVERIFY(setup.model.isEmpty());
    }
};

QTEST_MAIN(TestQueueRun)
#include "tst_queuerun.moc"
