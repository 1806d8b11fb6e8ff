#include "QmlHarness.h"

#include "ui/Icons.h"

#include <QRawFont>
#include <QTest>

class TestIcons : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QmlHarness::prepareApplication(); }
    void init() { QmlHarness::failOnWarnings(); }

    void everySymbolIsAGlyphOfTheFont()
    {
        const QRawFont font(Icons::fontPath(), 24);
        QVERIFY2(font.isValid(), qPrintable(Icons::fontPath()));
        QVERIFY(!Icons::load().isEmpty());
        const QStringList names = Icons::names();
        QVERIFY(names.contains(QStringLiteral("waveform.circle.fill")));
        for (const QString &name : names) {
            const std::optional<char32_t> point = Icons::codePoint(name);
            QVERIFY(point);
            QVERIFY2(font.supportsCharacter(uint(*point)), qPrintable(name));
        }
    }

    void namedExamples_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<uint>("point");
        QTest::newRow("graphic_eq") << QStringLiteral("waveform.circle.fill") << 0xe1b8u;
        QTest::newRow("explore") << QStringLiteral("safari.fill") << 0xe87au;
        QTest::newRow("settings_suggest") << QStringLiteral("gearshape.2.fill") << 0xf05eu;
        QTest::newRow("play_arrow") << QStringLiteral("play.fill") << 0xe037u;
    }
    void namedExamples()
    {
        QFETCH(QString, name);
        QFETCH(uint, point);
        QCOMPARE(uint(Icons::codePoint(name).value_or(0)), point);
    }

    // An Icon draws its glyph in the icon font; a name the table lacks draws nothing and warns.
    void iconType()
    {
        QmlHarness harness;
        const QUrl url(QStringLiteral("qrc:/Morvane/components/Icon.qml"));
        QObject *icon = harness.create(url, {{QStringLiteral("name"), QStringLiteral("play.fill")}});
        QVERIFY(icon);
        QCOMPARE(icon->property("text").toString(), QString(QChar(0xe037)));
        QCOMPARE(icon->property("font").value<QFont>().family(), Icons::load());

        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("unknown icon name \"play\\.fil\"")));
        icon->setProperty("name", QStringLiteral("play.fil"));
        QCOMPARE(icon->property("text").toString(), QString());
    }
};

QTEST_MAIN(TestIcons)
#include "tst_icons.moc"
