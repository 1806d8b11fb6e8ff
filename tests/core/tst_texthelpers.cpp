#include "core/TextHelpers.h"

#include <QTest>

#include <cmath>
#include <limits>

class TestTextHelpers : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void validWebURL_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected"); // fully encoded; empty: rejected

        QTest::newRow("trimmed") << QStringLiteral("  https://a.b/watch?v=1\n")
                                 << QStringLiteral("https://a.b/watch?v=1");
        QTest::newRow("scheme case") << QStringLiteral("HTTPS://a.b") << QStringLiteral("https://a.b");
        QTest::newRow("http") << QStringLiteral("http://127.0.0.1:8080/v.mp4")
                              << QStringLiteral("http://127.0.0.1:8080/v.mp4");
        QTest::newRow("unicode path") << QStringLiteral("https://a.b/日本")
                                      << QStringLiteral("https://a.b/%E6%97%A5%E6%9C%AC");
        QTest::newRow("encoded blank kept")
            << QStringLiteral("https://a.b/x%20y") << QStringLiteral("https://a.b/x%20y");
        QTest::newRow("no dot in host") << QStringLiteral("https://localhost/x") << QString();
        QTest::newRow("ftp") << QStringLiteral("ftp://a.b/c") << QString();
        QTest::newRow("mailto") << QStringLiteral("mailto:me@a.b") << QString();
        QTest::newRow("no scheme") << QStringLiteral("a.b/c") << QString();
        QTest::newRow("blank in path") << QStringLiteral("https://a.b/x y") << QString();
        QTest::newRow("tab in path") << QStringLiteral("https://a.b/x\ty") << QString();
        QTest::newRow("line feed inside") << QStringLiteral("https://a.b/x\ny") << QString();
        QTest::newRow("no-break space") << QStringLiteral("https://a.b/x\u00a0y") << QString();
        QTest::newRow("ideographic space") << QStringLiteral("https://a.b/x\u3000y") << QString();
        QTest::newRow("control") << QStringLiteral("https://a.b/x\u0007y") << QString();
        QTest::newRow("nul") << QStringLiteral("https://a.b/x") + QChar(0) + QStringLiteral("y") << QString();
        QTest::newRow("zero-width space") << QStringLiteral("https://a.b/x\u200by") << QString();
        QTest::newRow("direction override") << QStringLiteral("https://a.b/\u202ex") << QString();
        QTest::newRow("bad escape") << QStringLiteral("https://a.b/%zz") << QString();
        QTest::newRow("bad port") << QStringLiteral("https://a.b:99999/") << QString();
        QTest::newRow("empty") << QStringLiteral(" \n ") << QString();
        QTest::newRow("no host") << QStringLiteral("https:///a.b") << QString();
    }
    void validWebURL()
    {
        QFETCH(QString, text);
        QFETCH(QString, expected);
        const std::optional<QUrl> url = ::validWebURL(text);
        if (expected.isEmpty()) {
            QVERIFY2(!url, qPrintable(url ? url->toString() : QString()));
        } else {
            QVERIFY(url);
            QCOMPARE(url->toString(QUrl::FullyEncoded), expected);
        }
    }

    void extractURLs_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("expected");

        QTest::newRow("web links only, in order")
            << QStringLiteral("see https://a.b/1 or mailto:me@x.y and then http://c.d/2 ok")
            << QStringList{QStringLiteral("https://a.b/1"), QStringLiteral("http://c.d/2")};
        QTest::newRow("duplicates kept") << QStringLiteral("https://a.b/1 https://a.b/1")
                                         << QStringList{QStringLiteral("https://a.b/1"),
                                                        QStringLiteral("https://a.b/1")};
        QTest::newRow("sentence punctuation")
            << QStringLiteral("Look: https://a.b/x. Also https://c.d/y, and https://e.f/z?!")
            << QStringList{QStringLiteral("https://a.b/x"), QStringLiteral("https://c.d/y"),
                           QStringLiteral("https://e.f/z")};
        QTest::newRow("brackets around") << QStringLiteral("(see https://a.b/x) [https://c.d/y] <https://e.f/z>")
                                         << QStringList{QStringLiteral("https://a.b/x"),
                                                        QStringLiteral("https://c.d/y"),
                                                        QStringLiteral("https://e.f/z")};
        QTest::newRow("balanced bracket kept")
            << QStringLiteral("(https://a.b/wiki/X_(y))") << QStringList{QStringLiteral("https://a.b/wiki/X_(y)")};
        QTest::newRow("quotes") << QStringLiteral("\"https://a.b/x\" and 'https://c.d/y'")
                                << QStringList{QStringLiteral("https://a.b/x"), QStringLiteral("https://c.d/y")};
        QTest::newRow("www without scheme")
            << QStringLiteral("go to www.a.b/x.") << QStringList{QStringLiteral("http://www.a.b/x")};
        QTest::newRow("www inside an address is no link") << QStringLiteral("me@www.a.b") << QStringList{};
        QTest::newRow("query and fragment") << QStringLiteral("https://a.b/watch?v=1&list=L#t=3")
                                            << QStringList{QStringLiteral("https://a.b/watch?v=1&list=L#t=3")};
        QTest::newRow("upper-case scheme")
            << QStringLiteral("HTTP://A.B/x") << QStringList{QStringLiteral("http://a.b/x")};
        QTest::newRow("line breaks split")
            << QStringLiteral("https://a.b/1\nhttps://c.d/2\r\n")
            << QStringList{QStringLiteral("https://a.b/1"), QStringLiteral("https://c.d/2")};
        QTest::newRow("zero-width space ends the link")
            << QStringLiteral("https://a.b/1\u200bnext") << QStringList{QStringLiteral("https://a.b/1")};
        QTest::newRow("host without dot skipped")
            << QStringLiteral("https://localhost/x https://a.b/y") << QStringList{QStringLiteral("https://a.b/y")};
        QTest::newRow("no link") << QStringLiteral("nothing here, not even a.b") << QStringList{};
        // Links without a scheme, as text from other programs often holds them.
        QTest::newRow("www link, then a link with a scheme")
            << QStringLiteral("see www.example.com/watch?v=1, then https://a.b/c")
            << QStringList{QStringLiteral("http://www.example.com/watch?v=1"), QStringLiteral("https://a.b/c")};
        QTest::newRow("host and path") << QStringLiteral("example.com/x")
                                       << QStringList{QStringLiteral("http://example.com/x")};
        QTest::newRow("host, port and path, in brackets")
            << QStringLiteral("(at video.example.org:8080/a/b.mp4).")
            << QStringList{QStringLiteral("http://video.example.org:8080/a/b.mp4")};
        QTest::newRow("order and duplicates kept")
            << QStringLiteral("a.co/1 https://a.co/1 a.co/1")
            << QStringList{QStringLiteral("http://a.co/1"), QStringLiteral("https://a.co/1"),
                           QStringLiteral("http://a.co/1")};
        QTest::newRow("e-mail address") << QStringLiteral("mail me at a@b.com") << QStringList{};
        QTest::newRow("other scheme") << QStringLiteral("file:///etc/passwd") << QStringList{};
        QTest::newRow("path inside another scheme")
            << QStringLiteral("ftp://files.example.com/pub and file:///home/u/site.com/x") << QStringList{};
        QTest::newRow("file names and numbers are no hosts")
            << QStringLiteral("notes.txt, version 1.2/3, e.g./i.e. and src/main.cpp") << QStringList{};
        QTest::newRow("www alone") << QStringLiteral("www. and www.,") << QStringList{};
        QTest::newRow("scheme alone") << QStringLiteral("https:// and http://") << QStringList{};
        // Damaged or hostile text finds the same links as without the damage.
        const QString lone = QString(QChar(0xD800)), lowAlone = QString(QChar(0xDC00));
        QTest::newRow("unpaired surrogates around and inside")
            << lone + QStringLiteral("x https://a.b/1") + lone + QStringLiteral(" https://c.d/x") + lowAlone +
                   QStringLiteral("y ") + lowAlone
            << QStringList{QStringLiteral("https://a.b/1"), QStringLiteral("https://c.d/xy")};
        QTest::newRow("surrogate pair is a character") << QStringLiteral("\U0001F600 https://a.b/1\U0001F600")
                                                       << QStringList{QStringLiteral("https://a.b/1\U0001F600")};
        QTest::newRow("huge host-like token before links")
            << QStringLiteral("a.").repeated(200000) + QStringLiteral(" https://a.b/1 c.de/2")
            << QStringList{QStringLiteral("https://a.b/1"), QStringLiteral("http://c.de/2")};
        QTest::newRow("long run of closing brackets")
            << QStringLiteral("https://a.b/(x") + QStringLiteral(")").repeated(5000) + QStringLiteral(" www.c.d/]")
            << QStringList{QStringLiteral("https://a.b/(x)"), QStringLiteral("http://www.c.d/")};
    }
    void extractURLs()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, expected);
        QStringList found;
        for (const QUrl &url : ::extractURLs(text))
            found.append(url.toString());
        QCOMPARE(found, expected);
    }

    void formatDuration_data()
    {
        QTest::addColumn<std::optional<double>>("seconds");
        QTest::addColumn<QString>("expected");

        constexpr double inf = std::numeric_limits<double>::infinity();
        QTest::newRow("59.9") << std::optional<double>(59.9) << QStringLiteral("0:59");
        QTest::newRow("3600") << std::optional<double>(3600) << QStringLiteral("1:00:00");
        QTest::newRow("3725.5") << std::optional<double>(3725.5) << QStringLiteral("1:02:05");
        QTest::newRow("3599") << std::optional<double>(3599) << QStringLiteral("59:59");
        QTest::newRow("100 h") << std::optional<double>(360000) << QStringLiteral("100:00:00");
        QTest::newRow("0.5") << std::optional<double>(0.5) << QStringLiteral("0:00");
        QTest::newRow("zero") << std::optional<double>(0) << QStringLiteral("—");
        QTest::newRow("negative") << std::optional<double>(-5) << QStringLiteral("—");
        QTest::newRow("absent") << std::optional<double>() << QStringLiteral("—");
        QTest::newRow("NaN") << std::optional<double>(std::nan("")) << QStringLiteral("—");
        QTest::newRow("infinity") << std::optional<double>(inf) << QStringLiteral("—");
        QTest::newRow("huge") << std::optional<double>(1e300) << QStringLiteral("2500000000000000:00:00");
    }
    void formatDuration()
    {
        QFETCH(std::optional<double>, seconds);
        QFETCH(QString, expected);
        QCOMPARE(::formatDuration(seconds), expected);
    }

    void formatClock_data()
    {
        QTest::addColumn<double>("seconds");
        QTest::addColumn<QString>("expected");

        QTest::newRow("-1") << -1.0 << QStringLiteral("0:00");
        QTest::newRow("NaN") << std::nan("") << QStringLiteral("0:00");
        QTest::newRow("infinity") << std::numeric_limits<double>::infinity() << QStringLiteral("0:00");
        QTest::newRow("0") << 0.0 << QStringLiteral("0:00");
        QTest::newRow("0.99") << 0.99 << QStringLiteral("0:00");
        QTest::newRow("60") << 60.0 << QStringLiteral("1:00");
        QTest::newRow("75.9") << 75.9 << QStringLiteral("1:15");
        QTest::newRow("3599") << 3599.0 << QStringLiteral("59:59");
        QTest::newRow("3600") << 3600.0 << QStringLiteral("1:00:00");
        QTest::newRow("3725") << 3725.0 << QStringLiteral("1:02:05");
        QTest::newRow("2^63") << 9223372036854775808.0 << QStringLiteral("2500000000000000:00:00");
    }
    void formatClock()
    {
        QFETCH(double, seconds);
        QFETCH(QString, expected);
        QCOMPARE(::formatClock(seconds), expected);
    }

    void formatByteCount_data()
    {
        QTest::addColumn<qint64>("bytes");
        QTest::addColumn<QString>("expected");
        QTest::newRow("negative") << qint64(-1) << QStringLiteral("—");
        QTest::newRow("zero") << qint64(0) << QStringLiteral("—");
        QTest::newRow("one") << qint64(1) << QStringLiteral("1 bytes");
        QTest::newRow("999") << qint64(999) << QStringLiteral("999 bytes");
        QTest::newRow("decimal kilo") << qint64(1000) << QStringLiteral("1.0 kB");
        QTest::newRow("1.5 MB") << qint64(1'500'000) << QStringLiteral("1.5 MB");
        QTest::newRow("just over a GB") << qint64(1'000'000'001) << QStringLiteral("1.0 GB");
    }
    void formatByteCount()
    {
        QFETCH(qint64, bytes);
        QFETCH(QString, expected);
        QCOMPARE(::formatByteCount(bytes), expected);
    }
};

QTEST_APPLESS_MAIN(TestTextHelpers)
#include "tst_texthelpers.moc"
