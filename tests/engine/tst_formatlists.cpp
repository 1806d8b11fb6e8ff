#include "engine/MediaInfo.h"
#include "engine/PlaylistManager.h"

#include <QLocale>
#include <QTest>

#include <limits>

// The rows name only the fields that matter to them; g++ 12 warns about the members such
// designated initializers leave out, though that is what they are for.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(FormatInfo)
Q_DECLARE_METATYPE(QList<FormatInfo>)
Q_DECLARE_METATYPE(QList<qint64>)
Q_DECLARE_METATYPE(QSet<int>)
Q_DECLARE_METATYPE(std::optional<QString>)

namespace {

QStringList idsOf(const QList<FormatInfo> &formats)
{
    QStringList ids;
    for (const FormatInfo &format : formats)
        ids.append(format.id);
    return ids;
}

} // namespace

class TestFormatLists : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QLocale::setDefault(QLocale::c()); }

    void label_data()
    {
        QTest::addColumn<FormatInfo>("format");
        QTest::addColumn<QString>("expected");

        QTest::newRow("video only") << FormatInfo{u"18"_s,          u"mp4"_s,  360,     640, 30,
                                                  u"avc1.4d401f"_s, u"none"_s, 1234567, {},  u"360p"_s}
                                    << u"18 · mp4 · 360p · avc1 · 1.2 MB · 360p"_s;
        QTest::newRow("audio only") << FormatInfo{.id = u"251"_s,
                                                  .ext = u"webm"_s,
                                                  .vcodec = u"none"_s,
                                                  .acodec = u"opus"_s,
                                                  .tbr = 129.5,
                                                  .note = u"medium"_s}
                                    << u"251 · webm · opus · 129 kbps · medium"_s;
        QTest::newRow("both streams, frame rate above 30") << FormatInfo{.id = u"22"_s,
                                                                         .ext = u"mp4"_s,
                                                                         .height = 1080,
                                                                         .fps = 60,
                                                                         .vcodec = u"avc1.64001F"_s,
                                                                         .acodec = u"mp4a.40.2"_s,
                                                                         .tbr = 2500}
                                                           << u"22 · mp4 · 1080p60 · avc1 · mp4a"_s;
        QTest::newRow("frame rate truncated")
            << FormatInfo{.id = u"1"_s, .ext = u"webm"_s, .height = 720, .fps = 30.5} << u"1 · webm · 720p30"_s;
        QTest::newRow("frame rate beyond 64 bits left out")
            << FormatInfo{.id = u"1"_s, .ext = u"webm"_s, .height = 720, .fps = 1e300} << u"1 · webm · 720p"_s;
        QTest::newRow("frame rate without a height")
            << FormatInfo{.id = u"1"_s, .ext = u"webm"_s, .fps = 60} << u"1 · webm"_s;
        QTest::newRow("zero size shows a dash")
            << FormatInfo{.id = u"a"_s, .ext = u"m4a"_s, .filesize = 0} << u"a · m4a · —"_s;
        QTest::newRow("sizes in decimal units")
            << FormatInfo{.id = u"a"_s, .ext = u"m4a"_s, .filesize = 999} << u"a · m4a · 999 bytes"_s;
        QTest::newRow("empty ext and empty codec")
            << FormatInfo{.id = u"x"_s, .vcodec = QString(), .acodec = QString()} << u"x · "_s;
        QTest::newRow("bit rate without audio codec")
            << FormatInfo{.id = u"x"_s, .ext = u"mp3"_s, .tbr = 320.9} << u"x · mp3 · 320 kbps"_s;
        QTest::newRow("odd codec texts") << FormatInfo{.id = u"x"_s,
                                                       .ext = u"mp4"_s,
                                                       .vcodec = u"..hev1.1"_s,
                                                       .acodec = u"."_s}
                                         << u"x · mp4 · hev1 · "_s;
    }

    void label()
    {
        QFETCH(FormatInfo, format);
        QFETCH(QString, expected);
        QCOMPARE(format.label(), expected);
    }

    void lists_data()
    {
        QTest::addColumn<QList<FormatInfo>>("formats");
        QTest::addColumn<QStringList>("video");
        QTest::addColumn<QStringList>("audio");
        QTest::addColumn<QList<qint64>>("heights");

        const auto avc = u"avc1"_s, opus = u"opus"_s;
        QTest::newRow("video by height then bit rate, stable")
            << QList<FormatInfo>{{.id = u"a"_s, .height = 720, .vcodec = avc, .tbr = 100},
                                 {.id = u"b"_s, .height = 1080, .vcodec = avc, .tbr = 50},
                                 {.id = u"c"_s, .height = 1080, .vcodec = avc, .tbr = 80},
                                 {.id = u"d"_s, .height = 720, .vcodec = avc, .tbr = 100},
                                 {.id = u"e"_s, .vcodec = avc, .tbr = 900},
                                 {.id = u"f"_s, .height = 1080, .vcodec = avc}}
            << QStringList{u"c"_s, u"b"_s, u"f"_s, u"a"_s, u"d"_s, u"e"_s} << QStringList{} << QList<qint64>{1080, 720};
        QTest::newRow("storyboards and pages are not video")
            << QList<FormatInfo>{{.id = u"sb0"_s, .ext = u"mhtml"_s, .height = 90, .vcodec = u"images"_s},
                                 {.id = u"sb1"_s,
                                  .ext = u"jpg"_s,
                                  .height = 45,
                                  .vcodec = avc,
                                  .note = u"StoryBoard"_s},
                                 {.id = u"v"_s, .height = 144, .vcodec = avc}}
            << QStringList{u"v"_s} << QStringList{} << QList<qint64>{144};
        QTest::newRow("audio only, by bit rate")
            << QList<FormatInfo>{{.id = u"muxed"_s, .height = 360, .vcodec = avc, .acodec = u"mp4a"_s, .tbr = 500},
                                 {.id = u"low"_s, .acodec = opus, .tbr = 50},
                                 {.id = u"empty-video"_s, .vcodec = QString(), .acodec = opus, .tbr = 160},
                                 {.id = u"no-rate"_s, .acodec = opus},
                                 {.id = u"silent"_s, .acodec = QString(), .tbr = 999},
                                 {.id = u"also-low"_s, .acodec = opus, .tbr = 50}}
            << QStringList{u"muxed"_s} << QStringList{u"empty-video"_s, u"low"_s, u"also-low"_s, u"no-rate"_s}
            << QList<qint64>{360};
        QTest::newRow("heights are distinct and known")
            << QList<FormatInfo>{{.id = u"1"_s, .height = 1080, .vcodec = avc},
                                 {.id = u"2"_s, .height = 720, .vcodec = avc},
                                 {.id = u"3"_s, .height = 1080, .vcodec = avc},
                                 {.id = u"4"_s, .vcodec = avc}}
            << QStringList{u"1"_s, u"3"_s, u"2"_s, u"4"_s} << QStringList{} << QList<qint64>{1080, 720};
        QTest::newRow("nothing") << QList<FormatInfo>{} << QStringList{} << QStringList{} << QList<qint64>{};
    }

    void lists()
    {
        QFETCH(QList<FormatInfo>, formats);
        QFETCH(QStringList, video);
        QFETCH(QStringList, audio);
        QFETCH(QList<qint64>, heights);
        const MediaInfo info{.formats = formats};
        QCOMPARE(idsOf(info.videoFormats()), video);
        QCOMPARE(idsOf(info.audioFormats()), audio);
        QCOMPARE(info.heights(), heights);
    }

    void itemsString_data()
    {
        QTest::addColumn<QSet<int>>("selected");
        QTest::addColumn<int>("total");
        QTest::addColumn<std::optional<QString>>("expected");

        const std::optional<QString> all;
        QTest::newRow("runs") << QSet<int>{8, 1, 3, 2, 5, 7} << 10 << std::optional(u"1-3,5,7-8"_s);
        QTest::newRow("one") << QSet<int>{4} << 10 << std::optional(u"4"_s);
        QTest::newRow("every entry") << QSet<int>{1, 2} << 2 << all;
        QTest::newRow("none") << QSet<int>{} << 5 << all;
        QTest::newRow("a tail") << QSet<int>{2, 3} << 3 << std::optional(u"2-3"_s);
        QTest::newRow("only the count is compared") << QSet<int>{7, 9} << 2 << all;
        QTest::newRow("no run across the top")
            << QSet<int>{std::numeric_limits<int>::max(), std::numeric_limits<int>::min(), 1} << 9
            << std::optional(u"-2147483648,1,2147483647"_s);
    }

    void itemsString()
    {
        QFETCH(QSet<int>, selected);
        QFETCH(int, total);
        QFETCH(std::optional<QString>, expected);
        const auto text = PlaylistManager::itemsString(selected, total);
        QCOMPARE(text.has_value(), expected.has_value());
        QCOMPARE(text.value_or(QString()), expected.value_or(QString()));
    }
};

QTEST_APPLESS_MAIN(TestFormatLists)
#include "tst_formatlists.moc"
