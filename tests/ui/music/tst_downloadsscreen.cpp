#include "MusicShellScreen.h"
#include "TestRequests.h"
#include "core/Json.h"
#include "engine/DownloadTask.h"
#include "engine/HistoryStore.h"

#include <QQuickItem>
#include <QQuickWindow>
#include <QSignalSpy>
#include <QTest>

namespace {
const QString segmentsOnStart = QStringLiteral("Active (0)|Finished|From Link");

// The class of what fills the screen below the header: "QueueView", "HistoryTab", "DownloadScreen".
QString shownContent(const MusicShellScreen &screen)
{
    QQuickItem *tab = screen.item(QStringLiteral("downloaderTab"));
    auto *shown = tab ? tab->property("item").value<QObject *>() : nullptr;
    return shown ? QString::fromLatin1(shown->metaObject()->className()).section(QLatin1Char('_'), 0, 0) : QString();
}

// The segment texts as shown, and the one lit (-1 for none).
std::pair<QString, int> shownSegments(const MusicShellScreen &screen)
{
    QStringList texts;
    int lit = -1;
    for (int i = 0; QQuickItem *segment = screen.item(QStringLiteral("segment%1").arg(i)); ++i) {
        texts.append(segment->property("text").toString());
        if (segment->property("lit").toBool())
            lit = lit == -1 ? i : -2; // two lit segments show as -2
    }
    return {texts.join(QLatin1Char('|')), lit};
}
} // namespace

// The Downloads screen: its segments are the coordinator's selection, and the first one counts
// the tasks that have not finished.
class TestDownloadsScreen : public QObject
{
    Q_OBJECT

    static void show(MusicShellScreen &screen)
    {
        QVERIFY(screen.window);
        screen.window->show();
        QVERIFY(QTest::qWaitForWindowExposed(screen.window));
        screen.rig.state->setRoute({Route::Kind::Downloads, {}});
    }

private Q_SLOTS:
    void initTestCase() { QmlHarness::prepareApplication(); }
    void init() { QmlHarness::failOnWarnings(); }

    void activeCountsUnfinishedTasks_data()
    {
        QTest::addColumn<TaskStatus>("status");
        QTest::addColumn<int>("active");
        QTest::newRow("queued") << TaskStatus::Queued << 2;
        QTest::newRow("downloading") << TaskStatus::Downloading << 2;
        QTest::newRow("processing") << TaskStatus::Processing << 2;
        QTest::newRow("paused") << TaskStatus::Paused << 2;
        QTest::newRow("completed") << TaskStatus::Completed << 1;
        QTest::newRow("failed") << TaskStatus::Failed << 1;
        QTest::newRow("cancelled") << TaskStatus::Cancelled << 1;
    }
    void activeCountsUnfinishedTasks()
    {
        QFETCH(TaskStatus, status);
        QFETCH(int, active);
        MusicShellRig rig;
        DownloadsScreenModel model(rig.state.get());
        QCOMPARE(model.property("title").toString(), QStringLiteral("Downloads"));
        QCOMPARE(model.segments().join(QLatin1Char('|')), segmentsOnStart);
        QSignalSpy segments(&model, &DownloadsScreenModel::segmentsChanged);
        rig.addDownload(QStringLiteral("one"));
        rig.addDownload(QStringLiteral("two"))->setStatus(status);
        QCOMPARE(model.segments().constFirst(), QStringLiteral("Active (%1)").arg(active));
        QCOMPARE(segments.size(), active == 2 ? 2 : 3); // once per new count
    }

    // Each selection lights its segment and shows its content; the diagnostics have no segment
    // and show the queue.
    void screenFollowsTheSelection_data()
    {
        QTest::addColumn<SidebarItem>("selection");
        QTest::addColumn<int>("lit");
        QTest::addColumn<QString>("content");
        QTest::newRow("queue") << SidebarItem::Queue << 0 << QStringLiteral("QueueView");
        QTest::newRow("history") << SidebarItem::History << 1 << QStringLiteral("HistoryTab");
        QTest::newRow("download") << SidebarItem::Download << 2 << QStringLiteral("DownloadScreen");
        QTest::newRow("diagnostics") << SidebarItem::Diagnostics << -1 << QStringLiteral("QueueView");
    }
    void screenFollowsTheSelection()
    {
        QFETCH(SidebarItem, selection);
        QFETCH(int, lit);
        QFETCH(QString, content);
        MusicShellScreen screen;
        show(screen);
        QCOMPARE(screen.item(QStringLiteral("pageTitle"))->property("text").toString(), QStringLiteral("Downloads"));
        QCOMPARE(shownSegments(screen), std::make_pair(segmentsOnStart, 0)); // the process starts on the queue
        QCOMPARE(shownContent(screen), QStringLiteral("QueueView"));
        screen.rig.state->setSelection(selection);
        QCOMPARE(shownSegments(screen), std::make_pair(segmentsOnStart, lit));
        QCOMPARE(shownContent(screen), content);
        QCOMPARE(screen.item(QStringLiteral("segments"))->width(), 320.0);
        if (selection == SidebarItem::Queue) {
            // The queue's rows and toolbar line up with the page's title and segments.
            screen.rig.addDownload(QStringLiteral("one"));
            const auto edge = [&screen](const char *name) {
                return MusicShellScreen::sceneRect(screen.item(QLatin1String(name)));
            };
            QTRY_COMPARE(edge("queueList").left(), edge("pageTitle").left());
            QCOMPARE(edge("queueList").right(), edge("segments").right());
            QCOMPARE(edge("clearFinished").right(), edge("segments").right());
        }
        if (selection == SidebarItem::Download) {
            // The empty state stands in the middle of the page, to the whole pixel layouts round to.
            const auto middle = [&screen](const char *name) {
                return MusicShellScreen::sceneRect(screen.item(QLatin1String(name))).center().x();
            };
            QVERIFY(qAbs(middle("placeholder") - middle("downloaderTab")) <= 0.5);
        }
    }

    // A click only moves the selection; the choice is still there after another route.
    void clickChoosesAndTheChoiceStays()
    {
        MusicShellScreen screen;
        show(screen);
        AppState &state = *screen.rig.state;
        screen.click(screen.item(QStringLiteral("segment1")));
        QCOMPARE(state.selection(), SidebarItem::History);
        QCOMPARE(state.route(), (Route{Route::Kind::Downloads, {}}));
        state.setRoute({Route::Kind::Home, {}});
        QVERIFY(!screen.item(QStringLiteral("downloadsHeader")));
        state.setRoute({Route::Kind::Downloads, {}});
        QCOMPARE(shownSegments(screen).second, 1);
        QCOMPARE(shownContent(screen), QStringLiteral("HistoryTab"));
        screen.click(screen.item(QStringLiteral("segment2")));
        QCOMPARE(state.selection(), SidebarItem::Download);
        QCOMPARE(shownContent(screen), QStringLiteral("DownloadScreen"));
    }

    // The finished downloads come back with no search and nothing selected.
    void finishedStartsFresh()
    {
        MusicShellScreen screen;
        show(screen);
        AppState &state = *screen.rig.state;
        DownloadTask task(
            TestRequests::defaultRequest(QStringLiteral("http://127.0.0.1:9/walk"), screen.rig.env.root()));
        task.setStatus(TaskStatus::Completed);
        state.history().record(task);
        state.setSelection(SidebarItem::History);
        screen.history.setSearch(QStringLiteral("walk"));
        screen.history.click(Json::uuidText(state.history().items().constFirst().id));
        QCOMPARE(screen.history.selectedCount(), 1);
        state.setRoute({Route::Kind::Home, {}});
        state.setRoute({Route::Kind::Downloads, {}});
        QCOMPARE(shownContent(screen), QStringLiteral("HistoryTab"));
        QCOMPARE(screen.history.search(), QString());
        QCOMPARE(screen.history.selectedCount(), 0);
    }

    // Link intake queues several links and turns the screen to the queue, which counts them.
    void severalLinksShowTheQueue()
    {
        MusicShellScreen screen;
        show(screen);
        AppState &state = *screen.rig.state;
        state.setSelection(SidebarItem::History);
        state.setRoute({Route::Kind::Home, {}});
        state.receive(QStringLiteral("http://127.0.0.1:9/a.mp4 http://127.0.0.1:9/b.mp4"));
        QCOMPARE(state.route(), (Route{Route::Kind::Downloads, {}}));
        QCOMPARE(shownSegments(screen), std::make_pair(QStringLiteral("Active (2)|Finished|From Link"), 0));
        QCOMPARE(shownContent(screen), QStringLiteral("QueueView"));
    }
};

QTEST_MAIN(TestDownloadsScreen)
#include "tst_downloadsscreen.moc"
