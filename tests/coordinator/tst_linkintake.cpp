#include "AppStateRig.h"
#include "TestDownloads.h"
#include "core/SettingsStore.h"
#include "engine/DownloadManager.h"
#include "engine/DownloadTask.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {

QStringList queuedLinks(AppState &state)
{
    QStringList links;
    for (const DownloadTask *task : state.downloads().tasks())
        links.append(task->options().url);
    return links;
}

void copy(const QString &text)
{
    QGuiApplication::clipboard()->setText(text);
}

} // namespace

class TestLinkIntake : public QObject
{
    Q_OBJECT

    // Waits until the clipboard watch has looked at the latest change.
    static bool awaitCheck(QSignalSpy &checks)
    {
        const qsizetype seen = checks.size();
        return QTest::qWaitFor([&] { return checks.size() > seen; });
    }

private Q_SLOTS:
    void receive_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("queued");
        QTest::addColumn<int>("route");     // Route::Kind; Home when untouched
        QTest::addColumn<int>("selection"); // SidebarItem; Queue when untouched
        QTest::addColumn<QString>("urlText");
        QTest::addColumn<QString>("searched");
        QTest::addColumn<QString>("toast");

        const int downloads = int(Route::Kind::Downloads), home = int(Route::Kind::Home);
        const int queue = int(SidebarItem::Queue), download = int(SidebarItem::Download);
        QTest::newRow("three links")
            << u"get https://a.example/1, then http://b.example/two\nand https://c.example/3."_s
            << QStringList{u"https://a.example/1"_s, u"http://b.example/two"_s, u"https://c.example/3"_s} << downloads
            << queue << QString() << QString() << QString();
        QTest::newRow("two video-site links")
            << u"https://www.youtube.com/watch?v=aaaaaaaaaaa https://youtu.be/bbbbbbbbbbb"_s
            << QStringList{u"https://www.youtube.com/watch?v=aaaaaaaaaaa"_s, u"https://youtu.be/bbbbbbbbbbb"_s}
            << downloads << queue << QString() << QString() << QString();
        QTest::newRow("one link written twice")
            << u"https://a.example/1 https://a.example/1"_s << QStringList{u"https://a.example/1"_s} << downloads
            << queue << QString() << QString() << QString();
        QTest::newRow("a repeat among others") << u"https://a.example/1 https://b.example/2 https://a.example/1"_s
                                               << QStringList{u"https://a.example/1"_s, u"https://b.example/2"_s}
                                               << downloads << queue << QString() << QString() << QString();
        QTest::newRow("one video-site link")
            << u"listen: https://music.youtube.com/watch?v=ccccccccccc"_s << QStringList() << int(Route::Kind::Search)
            << queue << QString() << u"https://music.youtube.com/watch?v=ccccccccccc"_s << QString();
        QTest::newRow("another site") << u"  https://media.example/clip.mp4 "_s << QStringList() << downloads
                                      << download << u"https://media.example/clip.mp4"_s << QString() << QString();
        QTest::newRow("%20 stays encoded")
            << u"https://media.example/a%20b.mp4?q=x%20y"_s << QStringList() << downloads << download
            << u"https://media.example/a%20b.mp4?q=x%20y"_s << QString() << QString();
        QTest::newRow("file link") << u"file:///x"_s << QStringList() << home << queue << QString() << QString()
                                   << u"No valid link found."_s;
        QTest::newRow("no link") << u"just words"_s << QStringList() << home << queue << QString() << QString()
                                 << u"No valid link found."_s;
    }

    // Before the tools are ready: queued links wait, nothing else depends on setup.
    void receive()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, queued);
        QFETCH(int, route);
        QFETCH(int, selection);
        QFETCH(QString, urlText);
        QFETCH(QString, searched);
        QFETCH(QString, toast);
        AppStateRig rig;
        AppState &state = *rig.state;

        state.receive(text);
        QCOMPARE(queuedLinks(state), queued);
        for (const DownloadTask *task : state.downloads().tasks()) {
            QCOMPARE(task->status(), TaskStatus::Queued);
            QCOMPARE(task->options().presetName, u"Best Quality"_s);
        }
        QCOMPARE(int(state.route().kind), route);
        QCOMPARE(int(state.selection()), selection);
        QCOMPARE(state.urlText(), urlText);
        QCOMPARE(state.search().submitted(), searched);
        QCOMPARE(state.toastText(), toast);
        // Nothing is fetched on intake: the download screen fetches after its own pause.
        QCOMPARE(state.fetchState(), FetchState());
        if (!searched.isEmpty())
            QTRY_COMPARE(rig.catalog->calls.isEmpty(), false);
    }

    // A drop of hundreds of links reaches the queue as one insertion of every link, in the order
    // of the text, and the queue file lists them all in that order.
    void manyLinksAreQueuedAtOnce()
    {
        AppStateRig rig;
        AppState &state = *rig.state;
        QStringList links;
        for (int n = 0; n < 300; ++n)
            links.append(u"https://media.example/clips/%1.mp4"_s.arg(n));
        QSignalSpy inserted(&state.downloads(), &QAbstractItemModel::rowsInserted);
        QSignalSpy counts(&state.downloads(), &DownloadManager::countsChanged);

        state.receive(links.join(u'\n'));
        QCOMPARE(queuedLinks(state), links);
        QCOMPARE(inserted.size(), 1);
        QCOMPARE(inserted[0][1].toInt(), 0);
        QCOMPARE(inserted[0][2].toInt(), 299);
        QCOMPARE(counts.size(), 1);

        QStringList saved;
        QTRY_VERIFY([&] {
            saved.clear();
            const auto records = TestDownloads::readQueueFile();
            for (const TaskRecord &record : records.value_or(QList<TaskRecord>()))
                saved.append(record.options.url);
            return saved.size() == links.size();
        }());
        QCOMPARE(saved, links);
    }

    void copiedLinkFillsAnEmptyField()
    {
        AppStateRig rig;
        AppState &state = *rig.state;
        QVERIFY(rig.makeReady());
        SettingsStore::set(u"clipboardMonitor"_s, true);
        QSignalSpy checks(state.findChild<QTimer *>(u"clipboardCheck"_s), &QTimer::timeout);
        QVERIFY(checks.isValid());

        copy(u"https://media.example/first%20one.mp4"_s);
        QTRY_COMPARE(state.urlText(), u"https://media.example/first%20one.mp4"_s);
        QCOMPARE(state.route(), Route());
        QCOMPARE(state.selection(), SidebarItem::Queue);

        copy(u"https://media.example/second.mp4"_s);
        QVERIFY(awaitCheck(checks));
        QCOMPARE(state.urlText(), u"https://media.example/first%20one.mp4"_s);
    }

    void linkCopiedWhileIgnoredIsNeverTaken_data()
    {
        QTest::addColumn<bool>("setupFirst");
        QTest::newRow("watch off") << true;
        QTest::newRow("tools missing") << false;
    }

    void linkCopiedWhileIgnoredIsNeverTaken()
    {
        QFETCH(bool, setupFirst);
        AppStateRig rig;
        AppState &state = *rig.state;
        QSignalSpy checks(state.findChild<QTimer *>(u"clipboardCheck"_s), &QTimer::timeout);
        if (setupFirst)
            QVERIFY(rig.makeReady());
        else
            SettingsStore::set(u"clipboardMonitor"_s, true);

        copy(u"https://media.example/early.mp4"_s);
        QVERIFY(awaitCheck(checks));
        if (setupFirst)
            SettingsStore::set(u"clipboardMonitor"_s, true);
        else
            QVERIFY(rig.makeReady());

        // A later look at the clipboard does not take the early link either.
        copy(u"no link here"_s);
        QVERIFY(awaitCheck(checks));
        QCOMPARE(state.urlText(), QString());

        copy(u"https://media.example/late.mp4"_s);
        QTRY_COMPARE(state.urlText(), u"https://media.example/late.mp4"_s);
    }
};

QTEST_MAIN(TestLinkIntake)
#include "tst_linkintake.moc"
