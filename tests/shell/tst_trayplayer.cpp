#include "HeldDownload.h"
#include "QmlHarness.h"
#include "TestApp.h"
#include "shell/PanelPlacement.h"
#include "shell/TrayPlayer.h"
#include "ui/root/CommandController.h"

#include <QGuiApplication>
#include <QQuickItem>
#include <QQuickWindow>
#include <QScreen>
#include <QSystemTrayIcon>
#include <QTest>

// The small player's windows in the application as it runs, on a desktop without a tray
// (offscreen, or an X server with no tray host): the Mini Player from the File menu, the panel
// beside where the icon would be, and their ways to the main window and out.
class TestTrayPlayer : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QmlHarness::prepareApplication(); }
    void init() { QmlHarness::failOnWarnings(); }

    void panelPlacement_data()
    {
        QTest::addColumn<QRect>("anchor");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QPoint>("topLeft");
        const QSize panel(330, 400);

        // The screen: 1920 × 1080 with a 30-pixel bar at the top.
        QTest::newRow("icon at the top, centred under it") << QRect(900, 4, 22, 22) << panel << QPoint(745, 30);
        QTest::newRow("icon at the top right, kept on the screen")
            << QRect(1890, 4, 22, 22) << panel << QPoint(1590, 30);
        QTest::newRow("icon at the bottom, above it") << QRect(1000, 1050, 22, 22) << panel << QPoint(845, 646);
        QTest::newRow("pointer at the bottom left") << QRect(3, 1070, 1, 1) << panel << QPoint(0, 666);
        QTest::newRow("taller than the screen") << QRect(900, 4, 22, 22) << QSize(330, 2000) << QPoint(745, 30);
    }
    void panelPlacement()
    {
        QFETCH(QRect, anchor);
        QFETCH(QSize, size);
        QFETCH(QPoint, topLeft);
        QCOMPARE(PanelPlacement::topLeft(anchor, size, QRect(0, 30, 1920, 1050)), topLeft);
    }

    // No tray: File offers "Mini Player", a framed window that stays when the main window comes.
    void miniPlayerFromTheFileMenu()
    {
        if (QSystemTrayIcon::isSystemTrayAvailable())
            QSKIP("this desktop has a tray");
        TestApp test;
        QVERIFY(test.app.start());
        QVERIFY(!test.app.tray().icon());
        auto *commands = test.model<CommandController>("commands");
        QVERIFY(commands->miniPlayerOffered());
        // In the File menu after the new-item group and its separator.
        auto *menu = test.window()->findChild<QObject *>(QStringLiteral("fileMenu"));
        QVERIFY(menu);
        QStringList texts;
        QList<QObject *> actions;
        for (int index = 0; index < 5; ++index) {
            QQuickItem *item = nullptr;
            QVERIFY(QMetaObject::invokeMethod(menu, "itemAt", Q_RETURN_ARG(QQuickItem *, item), Q_ARG(int, index)));
            QVERIFY(item);
            actions.append(item->property("action").value<QObject *>());
            texts.append(actions.last() ? actions.last()->property("text").toString() : QStringLiteral("-"));
        }
        QCOMPARE(texts, (QStringList{QStringLiteral("New Download"), QStringLiteral("Paste Link && Fetch"),
                                     QStringLiteral("-"), QStringLiteral("Mini Player"), QStringLiteral("Settings…")}));
        QObject *action = actions[3];

        QVERIFY(QMetaObject::invokeMethod(action, "trigger"));
        QQuickWindow *mini = test.app.tray().miniPlayer();
        QVERIFY(mini);
        QVERIFY(QTest::qWaitForWindowExposed(mini));
        QCOMPARE(mini->title(), QStringLiteral("Mini Player"));
        QCOMPARE(mini->width(), 330);
        QVERIFY(!(mini->flags() & Qt::FramelessWindowHint));

        test.app.tray().model().openMain();
        QVERIFY(test.window()->isVisible());
        QVERIFY(mini->isVisible());
        // Asked again, the same window comes forward.
        if (QGuiApplication::platformName() == QLatin1String("offscreen"))
            QTest::ignoreMessage(QtWarningMsg, "This plugin does not support raise()");
        commands->openMiniPlayer();
        QCOMPARE(test.app.tray().miniPlayer(), mini);

        // Escape and Ctrl+W close it; asked again, it comes back.
        for (const QKeySequence &close : {QKeySequence(Qt::Key_Escape), QKeySequence(Qt::CTRL | Qt::Key_W)}) {
            // Keys reach a window's shortcuts only while it has the keyboard.
            mini->requestActivate();
            QVERIFY(QTest::qWaitForWindowActive(mini));
            QTest::keySequence(mini, close);
            QTRY_VERIFY(!mini->isVisible());
            commands->openMiniPlayer();
            QTRY_VERIFY(mini->isVisible());
        }
    }

    // The panel: frameless beside its anchor, gone when it loses the focus or the main window is
    // asked for.
    void panelClosesWhenItLosesTheFocus()
    {
        TestApp test;
        QVERIFY(test.app.start());
        TrayPlayer &tray = test.app.tray();
        const QRect anchor(100, 0, 22, 22);
        tray.openPanel(anchor);
        QQuickWindow *panel = tray.panel();
        QVERIFY(panel);
        QVERIFY(QTest::qWaitForWindowActive(panel));
        QVERIFY(panel->flags() & Qt::FramelessWindowHint);
        QCOMPARE(panel->width(), 330);
        const QRect screen = panel->screen()->availableGeometry();
        QCOMPARE(panel->position(), PanelPlacement::topLeft(anchor, panel->size(), screen));

        // Another window takes the focus.
        test.app.shell().showMainWindow();
        QTRY_VERIFY(!panel->isVisible());

        tray.openPanel(anchor);
        QVERIFY(QTest::qWaitForWindowActive(panel));
        test.window()->hide();
        tray.model().openMain();
        QVERIFY(!panel->isVisible());
        QVERIFY(test.window()->isVisible());
    }

    // "Quit" puts the panel away and takes the application's road out: with a download running,
    // the question comes.
    void quitFromThePanelAsksWhileDownloading()
    {
        TestApp test;
        QVERIFY(test.app.start());
        HeldDownload download(test);
        QVERIFY(download.start());
        TrayPlayer &tray = test.app.tray();
        tray.openPanel(QRect(100, 0, 22, 22));
        QVERIFY(QTest::qWaitForWindowExposed(tray.panel()));

        tray.model().quit();
        QVERIFY(!tray.panel()->isVisible());
        QVERIFY(test.app.quitController().isAsking());
        QVERIFY(test.window()->isVisible()); // the question stands over the main window
    }
};

QTEST_MAIN(TestTrayPlayer)
#include "tst_trayplayer.moc"
