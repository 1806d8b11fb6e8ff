#include "QmlHarness.h"
#include "TestApp.h"

#include <QMimeData>
#include <QQuickItem>
#include <QSignalSpy>
#include <QTest>

namespace {
// Drags `data` into the middle of `window` and drops it there, as a file manager or browser would.
Qt::DropAction dropOn(QQuickWindow *window, QMimeData *data)
{
    const QPoint middle(window->width() / 2, window->height() / 2);
    QDragEnterEvent enter(middle, Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(window, &enter);
    QDragMoveEvent move(middle, Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(window, &move);
    QDropEvent drop(middle, Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(window, &drop);
    return drop.isAccepted() ? drop.dropAction() : Qt::IgnoreAction;
}

QTimer *toastTimer(TestApp &test)
{
    return test.model<RootViewModel>("root")->findChild<QTimer *>(QStringLiteral("toastTimer"));
}
} // namespace

class TestRoot : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QmlHarness::prepareApplication(); }
    void init() { QmlHarness::failOnWarnings(); }

    // Several links in one drop reach intake together, a link a line, whether they come as link items
    // or as text; a file is handed over like any link. The setup screen does not stop a drop.
    void drop_data()
    {
        QTest::addColumn<QList<QUrl>>("urls");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("received");
        const QString two = QStringLiteral("http://127.0.0.1:9/a.mp4\nhttp://127.0.0.1:9/b.mp4");
        QTest::newRow("two link items") << QList<QUrl>{QUrl(QStringLiteral("http://127.0.0.1:9/a.mp4")),
                                                       QUrl(QStringLiteral("http://127.0.0.1:9/b.mp4"))}
                                        << QString() << two;
        QTest::newRow("links win over their text")
            << QList<QUrl>{QUrl(QStringLiteral("http://127.0.0.1:9/a.mp4"))} << QStringLiteral("A video")
            << QStringLiteral("http://127.0.0.1:9/a.mp4");
        QTest::newRow("text with two links") << QList<QUrl>() << two << two;
        QTest::newRow("a file") << QList<QUrl>{QUrl::fromLocalFile(QStringLiteral("/tmp/song.mp3"))} << QString()
                                << QStringLiteral("file:///tmp/song.mp3");
    }
    void drop()
    {
        QFETCH(QList<QUrl>, urls);
        QFETCH(QString, text);
        QFETCH(QString, received);
        TestApp test;
        QVERIFY(test.app.start());
        test.app.shell().showMainWindow();
        QVERIFY(QTest::qWaitForWindowExposed(test.window()));
        QSignalSpy intake(&test.app.shell(), &Shell::linkTextReceived);

        QMimeData data;
        if (!urls.isEmpty())
            data.setUrls(urls);
        if (!text.isEmpty())
            data.setText(text);
        QCOMPARE(dropOn(test.window(), &data), Qt::CopyAction);
        QCOMPARE(intake.size(), 1);
        QCOMPARE(intake.constFirst().constFirst().toString(), received);
    }

    // The overlay shows while an accepted drag hovers and goes when it leaves.
    void overlayFollowsTheDrag()
    {
        TestApp test;
        QVERIFY(test.app.start());
        test.app.shell().showMainWindow();
        QVERIFY(QTest::qWaitForWindowExposed(test.window()));
        auto *overlay = test.window()->findChild<QObject *>(QStringLiteral("dropOverlay"));
        QVERIFY(overlay);
        QVERIFY(!overlay->property("active").toBool());

        QMimeData data;
        data.setUrls({QUrl(QStringLiteral("http://127.0.0.1:9/a.mp4"))});
        const QPoint middle(test.window()->width() / 2, test.window()->height() / 2);
        QDragEnterEvent enter(middle, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(test.window(), &enter);
        QVERIFY(overlay->property("active").toBool());
        QDragLeaveEvent leave;
        QCoreApplication::sendEvent(test.window(), &leave);
        QVERIFY(!overlay->property("active").toBool());
    }

    // A new message gets a full wait of its own; the same message set again keeps the wait it has.
    void toastWaits()
    {
        TestApp test;
        QVERIFY(test.app.start());
        AppState &state = test.app.state();
        QTimer *timer = toastTimer(test);
        QVERIFY(timer);
        QVERIFY(!timer->isActive());

        state.setToast(QStringLiteral("Added 2 downloads"));
        QVERIFY(timer->isActive());
        // Longer than the 5 % a coarse timer may add to its wait.
        QTest::qWait(500);
        state.setToast(QStringLiteral("Added 2 downloads"));
        const int kept = timer->remainingTime();
        QVERIFY(kept < RootViewModel::toastMs - 200);

        // A new wait is longer than what was left of the old, however busy the machine.
        state.setToast(QStringLiteral("No valid link found."));
        QVERIFY(timer->remainingTime() > kept);
        QCOMPARE(test.model<RootViewModel>("root")->toast(), QStringLiteral("No valid link found."));

        QTRY_VERIFY(!state.toast().has_value());
        QVERIFY(!timer->isActive());
        QCOMPARE(test.model<RootViewModel>("root")->toast(), QString());

        // Cleared early by someone else: nothing waits any more.
        state.setToast(QStringLiteral("Already downloaded"));
        state.setToast(std::nullopt);
        QVERIFY(!timer->isActive());
    }

    // Over the music window the toast stands 18 above the player bar and its divider, clear of
    // the bar's controls.
    void toastStandsAboveThePlayerBar()
    {
        TestApp test;
        QVERIFY(test.app.start());
        QVERIFY(test.finishSetup());
        test.app.state().setToast(QStringLiteral("Added to queue"));
        auto *toast = test.window()->findChild<QQuickItem *>(QStringLiteral("toast"));
        auto *bar = test.window()->findChild<QQuickItem *>(QStringLiteral("playerBarSlot"));
        QVERIFY(toast && bar);
        QTRY_COMPARE(toast->mapToScene(QPointF(0, toast->height())).y(), bar->mapToScene(QPointF()).y() - 1 - 18);
    }

    // The settings window opened from the main window edits the application's own player.
    void settingsWindowShowsThePlayersNonStop()
    {
        TestApp test;
        QVERIFY(test.app.start());
        QVERIFY(QMetaObject::invokeMethod(test.window(), "openSettings"));
        auto *settings = test.window()->property("settingsWindow").value<QQuickWindow *>();
        QVERIFY(settings);
        auto *nonStop = settings->findChild<QObject *>(QStringLiteral("nonStop"));
        QVERIFY(nonStop);
        PlayerManager &player = test.app.state().player();
        player.setNonStop(!player.nonStop());
        QCOMPARE(nonStop->property("checked").toBool(), player.nonStop());
        settings->close();
    }
};

QTEST_MAIN(TestRoot)
#include "tst_root.moc"
