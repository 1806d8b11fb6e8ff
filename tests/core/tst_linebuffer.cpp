#include "core/LineBuffer.h"

#include <QTest>

using namespace Qt::Literals::StringLiterals;

class TestLineBuffer : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Each row: the reads, and what each feed and the final flush return.
    void cutsLines_data()
    {
        QTest::addColumn<QList<QByteArray>>("reads");
        QTest::addColumn<QList<QStringList>>("returned");

        QTest::newRow("line spread over reads, rest flushed")
            << QList<QByteArray>{"a", "b", "c\r\nde"} << QList<QStringList>{{}, {}, {u"abc"_s}, {u"de"_s}};
        QTest::newRow("only terminators") << QList<QByteArray>{"\n\n\r\n"} << QList<QStringList>{{}, {}};
        QTest::newRow("lone CR redraws") << QList<QByteArray>{"10%\r20%\r30%\n"}
                                         << QList<QStringList>{{u"10%"_s, u"20%"_s, u"30%"_s}, {}};
        QTest::newRow("two-byte character split")
            << QList<QByteArray>{"\xC3", "\xA9\n"} << QList<QStringList>{{}, {u"é"_s}, {}};
        QTest::newRow("three-byte character split twice")
            << QList<QByteArray>{"x\xE2", "\x82", "\xAC\r"} << QList<QStringList>{{}, {}, {u"x€"_s}, {}};
        QTest::newRow("invalid byte repaired") << QList<QByteArray>{"a\xFF"
                                                                    "b\n"}
                                               << QList<QStringList>{{u"a\uFFFDb"_s}, {}};
        QTest::newRow("other whitespace kept")
            << QList<QByteArray>{"  x \t\n\t"} << QList<QStringList>{{u"  x \t"_s}, {u"\t"_s}};
        QTest::newRow("terminator at the start of the next read")
            << QList<QByteArray>{"first", "\nsecond", "\r"} << QList<QStringList>{{}, {u"first"_s}, {u"second"_s}, {}};
        QTest::newRow("nothing at all") << QList<QByteArray>{""} << QList<QStringList>{{}, {}};

        // A line keeps its first 64 KiB of whole characters and says how many bytes it had beyond.
        const qsizetype cap = 64 * 1024;
        const auto capped = [](const QString &kept, qint64 left) {
            return kept + u"\u2026 (%1 bytes left out)"_s.arg(left);
        };
        QTest::newRow("long line in one read") << QList<QByteArray>{QByteArray(cap + 10, 'a') + "\nb\n"}
                                               << QList<QStringList>{{capped(QString(cap, u'a'), 10), u"b"_s}, {}};
        QTest::newRow("endless line over reads, flushed")
            << QList<QByteArray>{QByteArray(cap - 1, 'a'), "\xC3\xA9", QByteArray(cap, 'b')}
            << QList<QStringList>{{}, {}, {}, {capped(QString(cap - 1, u'a'), cap + 2)}};
    }

    void cutsLines()
    {
        QFETCH(QList<QByteArray>, reads);
        QFETCH(QList<QStringList>, returned);
        QCOMPARE(returned.size(), reads.size() + 1);

        LineBuffer buffer;
        for (qsizetype i = 0; i < reads.size(); ++i)
            QCOMPARE(buffer.feed(reads[i]), returned[i]);
        QCOMPARE(buffer.flush(), returned.last());
        QCOMPARE(buffer.flush(), QStringList());
    }

    void keepsWorkingAfterFlush()
    {
        LineBuffer buffer;
        QCOMPARE(buffer.feed("tail"), QStringList());
        QCOMPARE(buffer.flush(), QStringList{u"tail"_s});
        QCOMPARE(buffer.feed("next\n"), QStringList{u"next"_s});
    }
};

QTEST_APPLESS_MAIN(TestLineBuffer)
#include "tst_linebuffer.moc"
