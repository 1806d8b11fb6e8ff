#include "MusicShellScreen.h"

#include <QQuickItem>
#include <QQuickWindow>
#include <QTest>

namespace {
// The class of what fills the page below the header: "SettingsView" or "DiagnosticsScreen".
QString shownContent(const MusicShellScreen &screen)
{
    QQuickItem *content = screen.item(QStringLiteral("settingsContent"));
    auto *shown = content ? content->property("item").value<QObject *>() : nullptr;
    return shown ? QString::fromLatin1(shown->metaObject()->className()).section(QLatin1Char('_'), 0, 0) : QString();
}

int litSegment(const MusicShellScreen &screen)
{
    int lit = -1;
    for (int i = 0; QQuickItem *segment = screen.item(QStringLiteral("segment%1").arg(i)); ++i) {
        if (segment->property("lit").toBool())
            lit = lit == -1 ? i : -2; // two lit segments show as -2
    }
    return lit;
}
} // namespace

// The music window's Settings page: the settings tabs or the diagnostics, starting again on the
// tabs each time the page is entered, never wider than 640.
class TestSettingsScreen : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QmlHarness::prepareApplication(); }
    void init() { QmlHarness::failOnWarnings(); }

    void preferencesAgainAfterLeaving()
    {
        MusicShellScreen screen;
        QVERIFY(screen.window);
        screen.window->show();
        QVERIFY(QTest::qWaitForWindowExposed(screen.window));
        AppState &state = *screen.rig.state;
        state.setRoute({Route::Kind::Settings, {}});
        QCOMPARE(screen.item(QStringLiteral("pageTitle"))->property("text").toString(), QStringLiteral("Settings"));
        QCOMPARE(screen.item(QStringLiteral("segment0"))->property("text").toString(), QStringLiteral("Preferences"));
        QCOMPARE(screen.item(QStringLiteral("segment1"))->property("text").toString(), QStringLiteral("Diagnostics"));
        QCOMPARE(screen.item(QStringLiteral("segments"))->width(), 240.0);
        QCOMPARE(litSegment(screen), 0);
        QCOMPARE(shownContent(screen), QStringLiteral("SettingsView"));

        screen.click(screen.item(QStringLiteral("segment1")));
        QCOMPARE(litSegment(screen), 1);
        QCOMPARE(shownContent(screen), QStringLiteral("DiagnosticsScreen"));
        QCOMPARE(state.route(), (Route{Route::Kind::Settings, {}}));
        // Shown for the first time, the diagnostics run by themselves.
        QTRY_VERIFY(!screen.diagnostics.results().isEmpty());
        // In line with the page's title.
        QCOMPARE(MusicShellScreen::sceneRect(screen.item(QStringLiteral("runDiagnostics"))).left(),
                 MusicShellScreen::sceneRect(screen.item(QStringLiteral("pageTitle"))).left());

        state.setRoute({Route::Kind::Explore, {}});
        state.setRoute({Route::Kind::Settings, {}});
        QCOMPARE(litSegment(screen), 0);
        QCOMPARE(shownContent(screen), QStringLiteral("SettingsView"));
    }

    // Centred in the content area, 640 at most; narrower only when the content area is.
    void preferencesWidth_data()
    {
        QTest::addColumn<QSize>("window");
        QTest::addColumn<bool>("queuePanel");
        QTest::addColumn<double>("width");
        QTest::newRow("wide window") << QSize(1600, 1000) << false << 640.0;
        QTest::newRow("smallest window") << QSize(1020, 660) << false << 640.0;
        QTest::newRow("smallest window, queue open") << QSize(1020, 660) << true << 1020.0 - 217 - 321;
    }
    void preferencesWidth()
    {
        QFETCH(QSize, window);
        QFETCH(bool, queuePanel);
        QFETCH(double, width);
        MusicShellScreen screen(window);
        QVERIFY(screen.window);
        screen.window->show();
        QVERIFY(QTest::qWaitForWindowExposed(screen.window));
        screen.rig.state->setShowQueue(queuePanel);
        screen.rig.state->setRoute({Route::Kind::Settings, {}});
        QQuickItem *area = screen.item(QStringLiteral("contentArea"));
        QQuickItem *content = screen.item(QStringLiteral("settingsContent"));
        QTRY_COMPARE(content->width(), width);
        // Anchored centres land on whole pixels.
        QVERIFY(qAbs(MusicShellScreen::sceneRect(content).center().x() -
                     MusicShellScreen::sceneRect(area).center().x()) <= 0.5);
    }
};

QTEST_MAIN(TestSettingsScreen)
#include "tst_settingsscreen.moc"
