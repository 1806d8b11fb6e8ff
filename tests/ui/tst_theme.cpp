#include "QmlHarness.h"

#include <QColor>
#include <QQmlComponent>
#include <QTest>

// The palette holds the design's component values exactly (not their nearest 8-bit values).
class TestTheme : public QObject
{
    Q_OBJECT

    QmlHarness m_harness;
    QObject *m_theme = nullptr;

private Q_SLOTS:
    void initTestCase()
    {
        QmlHarness::prepareApplication();
        QQmlComponent component(&m_harness.engine());
        component.setData("import QtQml\nimport Morvane\nQtObject { property var theme: Theme }", QUrl());
        QObject *holder = component.create();
        QVERIFY2(holder, qPrintable(component.errorString()));
        holder->setParent(&m_harness.engine());
        m_theme = holder->property("theme").value<QObject *>();
        QVERIFY(m_theme);
    }
    void init() { QmlHarness::failOnWarnings(); }

    void colours_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QColor>("expected");
        QTest::newRow("bg") << QStringLiteral("bg") << QColor::fromRgbF(0.035f, 0.035f, 0.043f, 1);
        QTest::newRow("side") << QStringLiteral("side") << QColor::fromRgbF(0.06f, 0.06f, 0.072f, 1);
        QTest::newRow("panel") << QStringLiteral("panel") << QColor::fromRgbF(1, 1, 1, 0.055f);
        QTest::newRow("stroke") << QStringLiteral("stroke") << QColor::fromRgbF(1, 1, 1, 0.08f);
        QTest::newRow("accent") << QStringLiteral("accent") << QColor::fromRgbF(1.0f, 0.34f, 0.42f, 1);
        QTest::newRow("dim") << QStringLiteral("dim") << QColor::fromRgbF(1, 1, 1, 0.55f);
    }
    void colours()
    {
        QFETCH(QString, name);
        QFETCH(QColor, expected);
        const QColor colour = m_theme->property(qPrintable(name)).value<QColor>();
        QCOMPARE(colour.rgba64(), expected.rgba64());
        QCOMPARE(colour.spec(), QColor::Rgb);
    }

    // Dim lightens what lies beneath: over the background it is a mid grey, not white.
    void dimOverBackgroundIsMidGrey()
    {
        const QColor bg = m_theme->property("bg").value<QColor>();
        const QColor dim = m_theme->property("dim").value<QColor>();
        const double grey = dim.alphaF() * dim.redF() + (1 - dim.alphaF()) * bg.redF();
        QVERIFY(grey > 0.4 && grey < 0.7);
        QCOMPARE(m_theme->property("accent").value<QColor>().alphaF(), 1.0f);
    }
};

QTEST_MAIN(TestTheme)
#include "tst_theme.moc"
