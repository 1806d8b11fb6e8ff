#include "ActionList.h"
#include "RecordingDesktopServices.h"
#include "TestDownloads.h"
#include "TestEnvironment.h"
#include "TestRequests.h"
#include "core/Json.h"
#include "core/SettingsStore.h"
#include "engine/DownloadManager.h"
#include "engine/DownloadTask.h"
#include "engine/HistoryStore.h"
#include "ui/downloader/DownloadQueueModel.h"

#include <QAbstractItemModelTester>
#include <QClipboard>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QGuiApplication>
#include <QSignalSpy>
#include <QTest>

#include <memory>

// The queue screen's list over a real queue with a scripted yt-dlp: row updates, the drag by task
// id, the row actions and the toolbar. Real downloads are in tst_queuerun.
namespace {

QString idOf(const DownloadTask *task)
{
    return Json::uuidText(task->id());
}

} // namespace

struct Rig
{
    TestEnvironment env;
    FakeYtdlp fake{env};
    HistoryStore history;
    DownloadManager manager{&history};
    RecordingDesktopServices desktop;
    DownloadQueueModel model{&manager, &desktop};
    QAbstractItemModelTester tester{&model, QAbstractItemModelTester::FailureReportingMode::QtTest};
    QString folder = env.root() + QStringLiteral("/Downloads");

    DownloadTask *add(const QString &name, const QByteArray &plan = {})
    {
        if (!plan.isEmpty())
            fake.plan(name, plan);
        return manager.enqueue(TestRequests::defaultRequest(FakeYtdlp::url(name), folder));
    }
    QVariant at(int row, int role) const { return model.data(model.index(row, 0), role); }
    // What a view does when it builds every row: reads each role once.
    void readAllRows() const
    {
        for (int row = 0; row < model.rowCount(); ++row) {
            for (const int role : model.roleNames().keys())
                (void)at(row, role);
        }
    }
    QStringList names() const
    {
        QStringList names;
        for (int row = 0; row < model.rowCount(); ++row)
            names.append(QFileInfo(manager.tasks()[row]->options().url).fileName());
        return names;
    }
};

class TestDownloadQueueModel : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void rowsUpdateOnlyTheRolesThatChangedOnceAFrame()
    {
        Rig rig;
        rig.add(QStringLiteral("a"));
        DownloadTask *b = rig.add(QStringLiteral("b"));
        rig.add(QStringLiteral("c"));
        QCOMPARE(rig.at(1, DownloadQueueModel::IdRole).toString(), idOf(b));
        QCOMPARE(rig.at(1, DownloadQueueModel::StatusLineRole).toString(), QStringLiteral("Waiting\u2026"));
        rig.readAllRows();
        QSignalSpy changed(&rig.model, &QAbstractItemModel::dataChanged);
        QSignalSpy reset(&rig.model, &QAbstractItemModel::modelReset);

        // A queued task's progress moves: only the bar changes.
        b->setProgress(0.25);
        QTRY_COMPARE(changed.size(), 1);
        QCOMPARE(changed[0][0].toModelIndex().row(), 1);
        QCOMPARE(changed[0][1].toModelIndex().row(), 1);
        QCOMPARE(changed[0][2].value<QList<int>>(), QList<int>{DownloadQueueModel::ProgressRole});
        QCOMPARE(rig.at(1, DownloadQueueModel::ProgressRole).toDouble(), 0.25);

        // A burst of changes within one frame is one update naming what differs from before.
        changed.clear();
        b->setStatus(TaskStatus::Downloading);
        b->setProgress(0.29);
        b->setSpeed(1'000'000);
        b->setProgress(0.42);
        QTRY_COMPARE(changed.size(), 1);
        QTest::qWait(3 * DownloadQueueModel::frameMs);
        QCOMPARE(changed.size(), 1);
        QList<int> roles = changed[0][2].value<QList<int>>();
        std::sort(roles.begin(), roles.end());
        // The controls of a queued and a downloading task are the same, so they are not named.
        QCOMPARE(roles, (QList<int>{DownloadQueueModel::StatusTextRole, DownloadQueueModel::StatusIconRole,
                                    DownloadQueueModel::StatusColorRole, DownloadQueueModel::StatusLineRole,
                                    DownloadQueueModel::ProgressRole}));
        QCOMPARE(rig.at(1, DownloadQueueModel::StatusLineRole).toString(), QStringLiteral("42% \u00b7 1.0 MB/s"));

        // A change that shows no different text sends nothing.
        changed.clear();
        b->setSpeed(1'000'001);
        QTest::qWait(DownloadQueueModel::progressMs + 3 * DownloadQueueModel::frameMs);
        QCOMPARE(changed.size(), 0);
        QCOMPARE(reset.size(), 0);
    }

    // Progress moving twenty times a second reaches the view at most four times a second, while
    // the task keeps every value; a new status shows at once, ahead of progress still gathering.
    void progressIsDrawnAtAHumanRate()
    {
        Rig rig;
        DownloadTask *a = rig.add(QStringLiteral("a"));
        DownloadTask *b = rig.add(QStringLiteral("b"));
        rig.readAllRows();
        a->setStatus(TaskStatus::Downloading);
        QElapsedTimer clock;
        QList<qint64> drawn; // when a's bar was updated
        connect(&rig.model, &QAbstractItemModel::dataChanged, &rig.model,
                [&](const QModelIndex &from, const QModelIndex &, const QList<int> &roles) {
                    if (from.row() == 0 && roles.contains(DownloadQueueModel::ProgressRole))
                        drawn.append(clock.elapsed());
                });
        QTimer engine;
        engine.setInterval(50);
        int steps = 0;
        connect(&engine, &QTimer::timeout, a, [&] { a->setProgress(++steps / 100.0); });
        clock.start();
        engine.start();
        QTRY_VERIFY(steps >= 40);
        engine.stop();
        QCOMPARE(a->progress(), steps / 100.0);
        QTRY_COMPARE(rig.at(0, DownloadQueueModel::ProgressRole).toDouble(), steps / 100.0);
        QVERIFY2(drawn.size() >= 4 && drawn.size() <= clock.elapsed() / DownloadQueueModel::progressMs + 1,
                 qPrintable(QString::number(drawn.size())));
        for (qsizetype i = 1; i < drawn.size(); ++i)
            QVERIFY2(drawn[i] - drawn[i - 1] >= DownloadQueueModel::progressMs - 1,
                     qPrintable(QStringLiteral("%1 ms apart").arg(drawn[i] - drawn[i - 1])));

        QSignalSpy changed(&rig.model, &QAbstractItemModel::dataChanged);
        b->setProgress(0.5);
        a->setStatus(TaskStatus::Completed);
        QTRY_VERIFY(!changed.isEmpty());
        QCOMPARE(changed[0][0].toModelIndex().row(), 0);
        QCOMPARE(rig.at(0, DownloadQueueModel::StatusTextRole).toString(), QStringLiteral("Completed"));
        QCOMPARE(rig.at(0, DownloadQueueModel::ShowsProgressRole).toBool(), false);
        QCOMPARE(rig.at(1, DownloadQueueModel::ProgressRole).toDouble(), 0.0);
        QTRY_COMPARE(rig.at(1, DownloadQueueModel::ProgressRole).toDouble(), 0.5);
    }

    void dragMovesTheDraggedTaskById()
    {
        Rig rig;
        for (const char *name : {"a", "b", "c", "d"})
            rig.add(QString::fromLatin1(name));
        QStringList ids; // a removed task is deleted: keep only its id
        for (const DownloadTask *task : rig.manager.tasks())
            ids.append(idOf(task));
        QSignalSpy reset(&rig.model, &QAbstractItemModel::modelReset);
        // Where a view resolves a drop point to a task.
        QCOMPARE(rig.model.idAt(2), ids[2]);
        QCOMPARE(rig.model.idAt(4), QString());
        QCOMPARE(rig.model.idAt(-1), QString());

        // The drag of "d" started at offset 3; "b" is removed before the drop on "a".
        rig.model.trigger(ids[1], QStringLiteral("remove"));
        rig.model.moveTask(ids[3], ids[0]);
        QCOMPARE(rig.names(), (QStringList{QStringLiteral("d"), QStringLiteral("a"), QStringLiteral("c")}));
        QTRY_COMPARE(TestDownloads::readQueueFile().value_or(QList<TaskRecord>()).size(), 3);
        QCOMPARE(Json::uuidText(TestDownloads::readQueueFile()->first().id), ids[3]);

        // Dropped at the end; then ids that are gone move nothing.
        rig.model.moveTask(ids[3], QString());
        QCOMPARE(rig.names(), (QStringList{QStringLiteral("a"), QStringLiteral("c"), QStringLiteral("d")}));
        rig.model.moveTask(ids[1], ids[0]);
        rig.model.moveTask(ids[3], ids[1]);
        rig.model.moveTask(QStringLiteral("not an id"), ids[0]);
        QCOMPARE(rig.names(), (QStringList{QStringLiteral("a"), QStringLiteral("c"), QStringLiteral("d")}));
        QCOMPARE(reset.size(), 0);
    }

    // With one slot, the task dragged to the top is the next to start.
    void draggedTaskStartsNext()
    {
        Rig rig;
        SettingsStore::set(QStringLiteral("maxConcurrent"), 1);
        for (const char *name : {"a", "b", "c", "d"})
            rig.add(QString::fromLatin1(name), "hold\n");
        rig.manager.start();
        QTRY_VERIFY(rig.fake.started(QStringLiteral("a")));
        const QList<DownloadTask *> tasks = rig.manager.tasks();
        rig.model.moveTask(idOf(tasks[3]), idOf(tasks[0]));
        QCOMPARE(rig.names(),
                 (QStringList{QStringLiteral("d"), QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")}));
        QTRY_COMPARE(TestDownloads::readQueueFile().value_or(QList<TaskRecord>()).value(0).id, tasks[3]->id());

        rig.fake.release(QStringLiteral("a"));
        QTRY_VERIFY(rig.fake.started(QStringLiteral("d")));
        QVERIFY(!rig.fake.started(QStringLiteral("b")));
        for (const char *name : {"b", "c", "d"})
            rig.fake.release(QString::fromLatin1(name));
        QTRY_COMPARE(rig.manager.pendingCount(), 0);
    }

    void rowActions()
    {
        Rig rig;
        DownloadTask *task = rig.add(QStringLiteral("a"));
        const QString id = idOf(task);
        rig.readAllRows();

        rig.model.trigger(id, QStringLiteral("pause"));
        QCOMPARE(task->status(), TaskStatus::Paused);
        QTRY_COMPARE(rig.at(0, DownloadQueueModel::StatusLineRole).toString(),
                     QStringLiteral("Paused at 0% \u2014 resume continues from the partial file"));
        QCOMPARE(actionsOf(rig.at(0, DownloadQueueModel::ControlsRole)).first(), QStringLiteral("resume"));
        rig.model.trigger(id, QStringLiteral("resume"));
        QTRY_COMPARE(rig.at(0, DownloadQueueModel::StatusLineRole).toString(), QStringLiteral("Waiting"));
        rig.model.trigger(id, QStringLiteral("cancel"));
        QTRY_COMPARE(rig.at(0, DownloadQueueModel::StatusLineRole).toString(), QStringLiteral("Cancelled"));
        QCOMPARE(rig.at(0, DownloadQueueModel::ShowsProgressRole).toBool(), false);
        QCOMPARE(actionsOf(rig.at(0, DownloadQueueModel::ControlsRole)),
                 (QStringList{QStringLiteral("retry"), QStringLiteral("showLog"), QStringLiteral("remove")}));
        rig.model.trigger(id, QStringLiteral("retry"));
        QTRY_COMPARE(rig.at(0, DownloadQueueModel::StatusLineRole).toString(), QStringLiteral("Waiting"));

        rig.model.trigger(id, QStringLiteral("copyLink"));
        QCOMPARE(QGuiApplication::clipboard()->text(), FakeYtdlp::url(QStringLiteral("a")));

        QSignalSpy logTask(&rig.model, &DownloadQueueModel::logTaskChanged);
        rig.model.trigger(id, QStringLiteral("showLog"));
        QCOMPARE(rig.model.logTask(), id);
        rig.model.closeLog();
        QCOMPARE(rig.model.logTask(), QString());
        rig.model.trigger(id, QStringLiteral("showLog"));
        QCOMPARE(rig.model.logTask(), id);
        QCOMPARE(logTask.size(), 3);

        // Show in Folder only for a finished file.
        rig.model.trigger(id, QStringLiteral("reveal"));
        QCOMPARE(rig.desktop.revealed, QStringList());
        const QString file = rig.folder + QStringLiteral("/a.mp4");
        task->setOutputFiles({file});
        task->setStatus(TaskStatus::Completed);
        QTRY_COMPARE(actionsOf(rig.at(0, DownloadQueueModel::ControlsRole)).first(), QStringLiteral("reveal"));
        QVERIFY(actionsOf(rig.at(0, DownloadQueueModel::MenuRole)).contains(QStringLiteral("reveal")));
        rig.model.trigger(id, QStringLiteral("reveal"));
        QCOMPARE(rig.desktop.revealed, QStringList{file});

        rig.model.trigger(id, QStringLiteral("remove"));
        QCOMPARE(rig.model.rowCount(), 0);
        rig.model.trigger(id, QStringLiteral("pause")); // gone: nothing happens
    }

    void moveUpAndDownFromTheMenu()
    {
        Rig rig;
        DownloadTask *a = rig.add(QStringLiteral("a"));
        DownloadTask *b = rig.add(QStringLiteral("b"));
        rig.model.trigger(idOf(b), QStringLiteral("moveUp"));
        QCOMPARE(rig.names(), (QStringList{QStringLiteral("b"), QStringLiteral("a")}));
        rig.model.trigger(idOf(b), QStringLiteral("moveUp"));
        rig.model.trigger(idOf(a), QStringLiteral("moveDown"));
        QCOMPARE(rig.names(), (QStringList{QStringLiteral("b"), QStringLiteral("a")}));
        rig.model.trigger(idOf(b), QStringLiteral("moveDown"));
        QCOMPARE(rig.names(), (QStringList{QStringLiteral("a"), QStringLiteral("b")}));
    }

    void toolbarAndTheEmptyQueue()
    {
        Rig rig;
        QVERIFY(rig.model.isEmpty());
        QSignalSpy empty(&rig.model, &DownloadQueueModel::emptyChanged);
        // Always offered: on an empty queue they change nothing.
        rig.model.pauseAll();
        rig.model.resumeAll();
        rig.model.clearFinished();
        QCOMPARE(empty.size(), 0);

        DownloadTask *a = rig.add(QStringLiteral("a"));
        DownloadTask *b = rig.add(QStringLiteral("b"));
        QVERIFY(!rig.model.isEmpty());
        QCOMPARE(empty.size(), 1);
        rig.model.pauseAll();
        QCOMPARE(a->status(), TaskStatus::Paused);
        QCOMPARE(b->status(), TaskStatus::Paused);
        rig.model.resumeAll();
        QCOMPARE(b->status(), TaskStatus::Queued);
        rig.model.trigger(idOf(a), QStringLiteral("cancel"));
        rig.model.clearFinished();
        QCOMPARE(rig.names(), QStringList{QStringLiteral("b")});
        rig.model.trigger(idOf(b), QStringLiteral("cancel"));
        rig.model.clearFinished();
        QVERIFY(rig.model.isEmpty());
        QCOMPARE(empty.size(), 2);
    }
};

QTEST_MAIN(TestDownloadQueueModel)
#include "tst_downloadqueuemodel.moc"
