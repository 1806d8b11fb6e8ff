#include "AppStateRig.h"
#include "PlayerRig.h"
#include "QmlHarness.h"
#include "ui/music/MenuBarPlayerModel.h"

#include <QAbstractItemModelTester>
#include <QGuiApplication>
#include <QQuickItem>
#include <QQuickWindow>
#include <QSignalSpy>
#include <QTest>

#include <functional>
#include <memory>

namespace {

// The panel's content in a window of its own, over `model`.
struct Panel
{
    explicit Panel(MenuBarPlayerModel &model)
    {
        const QUrl page = QUrl::fromLocalFile(QStringLiteral(MORVANE_GALLERY_SOURCE_DIR "/MenuBarPlayerPage.qml"));
        root.reset(harness.create(page, {{QStringLiteral("model"), QVariant::fromValue(&model)}}));
        window = qobject_cast<QQuickWindow *>(root.get());
        if (window) {
            window->show();
            if (!QTest::qWaitForWindowExposed(window))
                window = nullptr;
        }
    }

    [[nodiscard]] QQuickItem *item(const char *name) const
    {
        auto *found = window->findChild<QQuickItem *>(QLatin1String(name));
        if (!found)
            qWarning("no item %s", name);
        return found;
    }
    [[nodiscard]] QString text(const char *name) const { return item(name)->property("text").toString(); }
    [[nodiscard]] bool shows(const char *name) const { return item(name)->isVisible(); }
    // Runs `change`, then waits for the content's new layout (made at the next frame) and for the
    // window to take its height (the system resizes it later still).
    void settle(const std::function<void()> &change) const
    {
        QSignalSpy frames(window, &QQuickWindow::frameSwapped);
        change();
        QTRY_VERIFY(frames.size() > 0);
        QTRY_COMPARE(qreal(window->height()), item("menuBarPlayer")->implicitHeight());
    }
    void click(QQuickItem *target) const
    {
        QTest::mouseClick(window, Qt::LeftButton, {},
                          target->mapToScene(QPointF(target->width() / 2, target->height() / 2)).toPoint());
    }
    void toggleQueue() const
    {
        settle([this] { click("queueDisclosure"); });
    }
    void click(const char *name) const { click(item(name)); }
    // The queue's rows on screen, top to bottom.
    [[nodiscard]] QList<QQuickItem *> rows() const
    {
        QList<QQuickItem *> shown;
        for (QQuickItem *child : item("queueRows")->childItems()) {
            if (child->property("uid").isValid())
                shown.append(child);
        }
        std::sort(shown.begin(), shown.end(), [](QQuickItem *a, QQuickItem *b) { return a->y() < b->y(); });
        return shown;
    }

    QmlHarness harness;
    std::unique_ptr<QObject> root;
    QQuickWindow *window = nullptr;
};

} // namespace

// The tray's small player: its view model over the real player (fake catalogue and audio) and
// its content on screen, clicked as a person would.
class TestMenuBarPlayer : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QmlHarness::prepareApplication(); }
    void init() { QmlHarness::failOnWarnings(); }

    void queueCountsEverySongAndListsEight_data()
    {
        QTest::addColumn<int>("songs");   // in the queue
        QTest::addColumn<int>("current"); // -1: nothing plays
        QTest::addColumn<bool>("nonStop");
        QTest::addColumn<QString>("title");
        QTest::addColumn<int>("rows");
        QTest::addColumn<QString>("empty"); // shown in place of rows; "" when rows show

        QTest::newRow("nothing") << 0 << -1 << false << "Queue (0)" << 0 << "Queue is empty";
        QTest::newRow("nothing, Non-Stop") << 0 << -1 << true << "Queue (0)" << 0 << "Finding more songs…";
        QTest::newRow("twelve after the current") << 13 << 0 << false << "Queue (12)" << 8 << "";
        QTest::newRow("two after the current") << 5 << 2 << false << "Queue (2)" << 2 << "";
        QTest::newRow("the last song") << 4 << 3 << true << "Queue (0)" << 0 << "Finding more songs…";
    }
    void queueCountsEverySongAndListsEight()
    {
        QFETCH(int, songs);
        QFETCH(int, current);
        QFETCH(bool, nonStop);
        QFETCH(QString, title);
        QFETCH(int, rows);
        QFETCH(QString, empty);

        AppStateRig rig;
        if (current >= 0)
            rig.playing(songs, current);
        rig.player().setNonStop(nonStop);
        MenuBarPlayerModel model(*rig.state);
        QAbstractItemModelTester tester(model.upcoming());
        Panel panel(model);
        QVERIFY(panel.window);
        QCOMPARE(panel.text("queueTitle"), title);
        QVERIFY(!panel.shows("queueRows") && !panel.shows("queueEmpty")); // closed at first

        panel.toggleQueue();
        QTRY_COMPARE(panel.rows().size(), rows);
        QCOMPARE(panel.shows("queueRows"), rows > 0);
        QCOMPARE(panel.shows("queueEmpty"), !empty.isEmpty());
        if (!empty.isEmpty())
            QCOMPARE(panel.text("queueEmpty"), empty);
        // The rows are the songs right after the current one, in order.
        for (int row = 0; row < rows; ++row)
            QCOMPARE(panel.rows().at(row)->property("title").toString(), PlayerRig::track(current + 1 + row).title);

        panel.toggleQueue();
        QTRY_VERIFY(!panel.shows("queueRows") && !panel.shows("queueEmpty"));
    }

    // More songs join beyond the eighth row: the count follows though the rows do not change.
    void countFollowsSongsBeyondTheRows()
    {
        AppStateRig rig;
        rig.playing(10, 0);
        MenuBarPlayerModel model(*rig.state);
        QSignalSpy changes(&model, &MenuBarPlayerModel::upcomingChanged);
        rig.player().enqueue(PlayerRig::tracks(3));
        QVERIFY(changes.size() > 0);
        QCOMPARE(model.queueTitle(), QStringLiteral("Queue (12)"));
        QCOMPARE(model.upcoming()->rowCount(), MenuBarPlayerModel::rowLimit);
    }

    void headerShowsTheSongOrWhereToFindOne()
    {
        AppStateRig rig;
        MenuBarPlayerModel model(*rig.state);
        Panel panel(model);
        QVERIFY(panel.window);
        QCOMPARE(panel.text("titleLabel"), QStringLiteral("Nothing playing"));
        QCOMPARE(panel.text("statusLabel"), QStringLiteral("Open Morvane to search for music."));
        QVERIFY(!panel.shows("likeButton") && !panel.shows("nonStopButton"));
        QVERIFY(!panel.item("playPauseButton")->isEnabled());

        rig.player().play(PlayerRig::tracks(2), 0, false);
        QTRY_COMPARE(panel.text("statusLabel"), QStringLiteral("Loading…"));
        QCOMPARE(panel.text("titleLabel"), PlayerRig::track(0).title);
        rig.audio->becomeReady(200);
        QTRY_COMPARE(panel.text("statusLabel"), PlayerRig::track(0).artist);

        panel.click("likeButton");
        QVERIFY(rig.state->library().likes().contains(PlayerRig::track(0).id));
        QCOMPARE(panel.item("likeButton")->property("symbol").toString(), QStringLiteral("heart.fill"));
        panel.click("nonStopButton");
        QVERIFY(rig.player().nonStop());
    }

    // The player's error shows in orange under the volume, and goes when the player clears it.
    void errorLineFollowsThePlayer()
    {
        AppStateRig rig;
        rig.catalog->listings[QStringLiteral("search found")] = {PlayerRig::tracks(2)};
        MenuBarPlayerModel model(*rig.state);
        Panel panel(model);
        QVERIFY(panel.window);
        QVERIFY(!panel.shows("errorLabel"));

        rig.player().startQuery(QStringLiteral("lost"));
        QTRY_VERIFY(panel.shows("errorLabel"));
        QCOMPARE(panel.text("errorLabel"), QStringLiteral("No songs found for \u201clost\u201d."));

        rig.player().startQuery(QStringLiteral("found"));
        QTRY_VERIFY(!panel.shows("errorLabel"));
    }

    // A row plays its song from the start; a song that left the queue meanwhile plays nothing.
    void rowClickPlaysItsSong()
    {
        AppStateRig rig;
        rig.playing(13, 0);
        MenuBarPlayerModel model(*rig.state);
        Panel panel(model);
        QVERIFY(panel.window);
        panel.settle([&panel] { panel.root->setProperty("showQueue", true); });
        QCOMPARE(panel.rows().size(), 8);

        panel.click(panel.rows().at(2));
        QTRY_COMPARE(rig.player().index(), std::optional<int>(3));
        QCOMPARE(rig.player().current()->id, PlayerRig::track(3).id);

        const QString gone = model.upcoming()->uidAt(0);
        rig.player().removeFromQueue(rig.player().queue().at(4));
        model.upcoming()->play(gone);
        QCOMPARE(rig.player().index(), std::optional<int>(3));
    }

    void bottomButtonsAskTheApplication()
    {
        AppStateRig rig;
        MenuBarPlayerModel model(*rig.state);
        QSignalSpy opens(&model, &MenuBarPlayerModel::openMainRequested);
        QSignalSpy quits(&model, &MenuBarPlayerModel::quitRequested);
        Panel panel(model);
        QVERIFY(panel.window);
        panel.click("openMainButton");
        QCOMPARE(opens.size(), 1);
        QCOMPARE(quits.size(), 0);
        panel.click("quitButton");
        QCOMPARE(quits.size(), 1);
    }
};

QTEST_MAIN(TestMenuBarPlayer)
#include "tst_menubarplayer.moc"
