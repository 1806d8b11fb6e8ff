#include "shell/UrlScheme.h"

#include <QTest>

class TestUrlScheme : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void linkText_data()
    {
        QTest::addColumn<QString>("opened");
        QTest::addColumn<QString>("expected");

        const QString web = QStringLiteral("https://www.youtube.com/watch?v=abc&list=PL1");
        QTest::newRow("decoded value") << QStringLiteral("morvane://add?url=https%3A%2F%2Fwww.youtube.com%2Fwatch%3Fv%"
                                                         "3Dabc%26list%3DPL1")
                                       << web;
        QTest::newRow("first url wins") << QStringLiteral(
                                               "morvane://add?url=https%3A%2F%2Fa.b%2F1&url=https%3A%2F%2Fa.b%2F2")
                                        << QStringLiteral("https://a.b/1");
        QTest::newRow("other items around")
            << QStringLiteral("morvane:?x=1&url=https%3A%2F%2Fa.b&y") << QStringLiteral("https://a.b");
        QTest::newRow("plus stays a plus") << QStringLiteral("morvane://add?url=a+b") << QStringLiteral("a+b");
        // Deliberate: an unencoded inner link loses what follows its first "&".
        QTest::newRow("unencoded inner link")
            << QStringLiteral("morvane://add?url=https://a.b/watch?v=1&t=5") << QStringLiteral("https://a.b/watch?v=1");
        QTest::newRow("no url item") << QStringLiteral("morvane://add?link=https%3A%2F%2Fa.b")
                                     << QStringLiteral("morvane://add?link=https%3A%2F%2Fa.b");
        QTest::newRow("url without equals")
            << QStringLiteral("morvane://add?url") << QStringLiteral("morvane://add?url");
        QTest::newRow("url without equals, then one with") << QStringLiteral("morvane://add?url&url=https%3A%2F%2Fa.b")
                                                           << QStringLiteral("morvane://add?url&url=https%3A%2F%2Fa.b");
        QTest::newRow("empty value") << QStringLiteral("morvane://add?url=") << QStringLiteral("");
        QTest::newRow("no query") << QStringLiteral("morvane://add") << QStringLiteral("morvane://add");
        QTest::newRow("name case") << QStringLiteral("morvane://add?URL=https%3A%2F%2Fa.b")
                                   << QStringLiteral("morvane://add?URL=https%3A%2F%2Fa.b");
        QTest::newRow("scheme case") << QStringLiteral("MORVANE://add?url=https%3A%2F%2Fa.b")
                                     << QStringLiteral("MORVANE://add?url=https%3A%2F%2Fa.b");
        QTest::newRow("web link") << QStringLiteral("https://a.b/watch?url=x")
                                  << QStringLiteral("https://a.b/watch?url=x");
        QTest::newRow("not a url") << QStringLiteral("just words") << QStringLiteral("just words");
        QTest::newRow("malformed morvane")
            << QStringLiteral("morvane://a b?url=%zz") << QStringLiteral("morvane://a b?url=%zz");
    }
    void linkText()
    {
        QFETCH(QString, opened);
        QFETCH(QString, expected);
        const QString text = UrlScheme::linkText(opened);
        QCOMPARE(text, expected);
        // "url=" hands over an empty text, not nothing: intake still runs and says what is wrong.
        QCOMPARE(text.isNull(), expected.isNull());
    }
};

QTEST_APPLESS_MAIN(TestUrlScheme)
#include "tst_urlscheme.moc"
