#include "QmlHarness.h"
#include "ui/music/EqualizerClock.h"
#include "ui/music/EqualizerMeter.h"

#include <QQmlComponent>
#include <QQuickItem>
#include <QQuickWindow>
#include <QTest>

#include <cmath>
#include <memory>

// The equalizer's one clock ticks only while some bars animate on screen.
class TestEqualizer : public QObject
{
    Q_OBJECT

    QmlHarness m_harness;
    std::unique_ptr<QQuickWindow> m_window;
    EqualizerClock *m_clock = nullptr;
    double m_now = 100;

    EqualizerMeter *meter(const char *bars) const
    {
        return m_window->findChild<QQuickItem *>(QLatin1String(bars))->findChild<EqualizerMeter *>();
    }

    void setActive(const char *bars, bool active)
    {
        m_window->findChild<QQuickItem *>(QLatin1String(bars))->setProperty("active", active);
    }

    // No tick comes for a while.
    void verifyIdle()
    {
        QCOMPARE(m_clock->meterCount(), 0);
        QVERIFY(!m_clock->isRunning());
        const int ticks = m_clock->ticks();
        QTest::qWait(400);
        QCOMPARE(m_clock->ticks(), ticks);
    }

private Q_SLOTS:
    void initTestCase() { QmlHarness::prepareApplication(); }

    void init()
    {
        QmlHarness::failOnWarnings();
        QQmlComponent component(&m_harness.engine());
        component.setData("import QtQuick\nimport Morvane\n"
                          "Window { width: 120; height: 40\n"
                          "  Row { objectName: \"row\"\n"
                          "    EqualizerBars { objectName: \"first\" }\n"
                          "    EqualizerBars { objectName: \"second\" } } }",
                          QUrl());
        m_window.reset(qobject_cast<QQuickWindow *>(component.create()));
        QVERIFY(m_window);
        m_clock = EqualizerClock::of(m_window.get());
        m_clock->setTimeSource([this] { return m_now; });
    }

    void cleanup() { m_window.reset(); }

    void heightsFollowTheFormula()
    {
        const QList<qreal> heights = EqualizerMeter::heightsAt(0.25);
        QCOMPARE(heights.size(), 3);
        for (int bar = 0; bar < 3; ++bar)
            QCOMPARE(heights[bar], std::abs(std::sin(1 + 1.7 * bar)) * 10 + 4);
    }

    void ticksOnlyForShownActiveBars()
    {
        setActive("first", true);
        verifyIdle(); // the window is not shown
        QCOMPARE(meter("first")->heights(), (QList<qreal>{4, 4, 4}));

        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
        QCOMPARE(m_clock->meterCount(), 1);
        m_now = 100.5;
        QTRY_VERIFY(m_clock->ticks() > 0);
        QTRY_COMPARE(meter("first")->heights(), EqualizerMeter::heightsAt(100.5));
        setActive("second", true);
        QCOMPARE(m_clock->meterCount(), 2);

        setActive("first", false); // paused
        setActive("second", false);
        QCOMPARE(meter("first")->heights(), (QList<qreal>{4, 4, 4}));
        verifyIdle();

        setActive("first", true);
        m_window->findChild<QQuickItem *>(QStringLiteral("row"))->setVisible(false); // hidden
        verifyIdle();
        m_window->findChild<QQuickItem *>(QStringLiteral("row"))->setVisible(true);
        QCOMPARE(m_clock->meterCount(), 1);
        m_window->hide();
        verifyIdle();
    }
};

QTEST_MAIN(TestEqualizer)
#include "tst_equalizer.moc"
