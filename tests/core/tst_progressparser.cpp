#include "core/ProgressParser.h"

#include <QFile>
#include <QTest>

#include <map>

using Event = std::optional<ProgressEvent>;
using P = ProgressEvent;

namespace {

QString describe(const Event &event)
{
    if (!event)
        return QStringLiteral("no event");
    const auto number = [](const auto &value) {
        return value ? QString::number(*value, 'g', 17) : QStringLiteral("-");
    };
    return std::visit(
        [&](const auto &e) -> QString {
            using T = std::decay_t<decltype(e)>;
            if constexpr (std::is_same_v<T, P::Progress>)
                return QStringLiteral("progress %1 of %2 at %3 eta %4 [%5]")
                    .arg(QString::number(e.downloaded), number(e.total), number(e.speed), number(e.eta), e.filename);
            else if constexpr (std::is_same_v<T, P::Postprocess>)
                return QStringLiteral("postprocess [%1] [%2]").arg(e.name, e.status);
            else if constexpr (std::is_same_v<T, P::Item>)
                return QStringLiteral("item %1/%2 [%3]").arg(e.index).arg(e.count).arg(e.title);
            else if constexpr (std::is_same_v<T, P::Target>)
                return QStringLiteral("target [%1] [%2]").arg(e.format, e.path);
            else if constexpr (std::is_same_v<T, P::FinalFile>)
                return QStringLiteral("final [%1]").arg(e.path);
            else if constexpr (std::is_same_v<T, P::Destination>)
                return QStringLiteral("destination [%1]").arg(e.path);
            else if constexpr (std::is_same_v<T, P::Merging>)
                return QStringLiteral("merging [%1]").arg(e.path);
            else if constexpr (std::is_same_v<T, P::Error>)
                return QStringLiteral("error [%1]").arg(e.message);
            else if constexpr (std::is_same_v<T, P::Warning>)
                return QStringLiteral("warning [%1]").arg(e.message);
            else
                return QStringLiteral("info [%1]").arg(e.line);
        },
        event->value);
}

P progress(qint64 downloaded, std::optional<qint64> total, std::optional<double> speed, std::optional<int> eta,
           const char *filename)
{
    return P{P::Progress{downloaded, total, speed, eta, QString::fromUtf8(filename)}};
}

QString text(const char *utf8)
{
    return QString::fromUtf8(utf8);
}

} // namespace

class TestProgressParser : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void parse_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<Event>("event");
        const Event none;

        // Progress markers: download, total, estimate, speed, eta, file name.
        QTest::newRow("estimate stands in for total")
            << text("MVPROG|1024|NA|4096|512.5|7|/tmp/a.mp4") << Event(progress(1024, 4096, 512.5, 7, "/tmp/a.mp4"));
        QTest::newRow("exact total wins over estimate")
            << text("MVPROG|10|20|30|NA|NA|f") << Event(progress(10, 20, {}, {}, "f"));
        QTest::newRow("no total at all") << text("MVPROG|10|NA|NA|NA|NA|f") << Event(progress(10, {}, {}, {}, "f"));
        QTest::newRow("downloaded not a number") << text("MVPROG|NA|NA|NA|NA|NA|x") << none;
        QTest::newRow("six pieces") << text("MVPROG|1|2|3|4|5") << none;
        QTest::newRow("blanks around numbers, bar in file name")
            << text("MVPROG| 10 |20|NA|NA|NA|a|b") << Event(progress(10, 20, {}, {}, "a|b"));
        QTest::newRow("fractions truncate")
            << text("MVPROG|10.9|NA|NA|NA|3.7|f") << Event(progress(10, {}, {}, 3, "f"));
        QTest::newRow("tabs trimmed, file name kept as is")
            << text("MVPROG|\t5\t|\t6|NA|2.5e3|0| x ") << Event(progress(5, 6, 2500, 0, " x "));
        QTest::newRow("empty file name") << text("MVPROG|1|NA|NA|NA|NA|") << Event(progress(1, {}, {}, {}, ""));
        QTest::newRow("line break is not trimmed") << text("MVPROG|1\n|NA|NA|NA|NA|f") << none;
        QTest::newRow("empty downloaded") << text("MVPROG||NA|NA|NA|NA|f") << none;
        QTest::newRow("non-finite fields are missing")
            << text("MVPROG|5|inf|nan|inf|-inf|f") << Event(progress(5, {}, {}, {}, "f"));
        QTest::newRow("infinite downloaded") << text("MVPROG|inf|NA|NA|NA|NA|f") << none;
        QTest::newRow("beyond 64 bits") << text("MVPROG|1e19|1e300|7|NA|1e10|f") << none;
        QTest::newRow("total beyond 64 bits falls back to estimate")
            << text("MVPROG|1|1e19|7|NA|1e10|f") << Event(progress(1, 7, {}, {}, "f"));
        QTest::newRow("signs and exponents")
            << text("MVPROG|+12|-1|NA|-0.5|1E2|f") << Event(progress(12, -1, -0.5, 100, "f"));
        QTest::newRow("hex is not decimal") << text("MVPROG|0x10|NA|NA|NA|NA|f") << none;
        QTest::newRow("double sign") << text("MVPROG|+-1|NA|NA|NA|NA|f") << none;
        QTest::newRow("non-ASCII digits") << text("MVPROG|١٢|NA|NA|NA|NA|f") << none;
        QTest::newRow("long decimal")
            << text("MVPROG|000000000000000000000000000000000000000000000000000000000000000000000000000001|"
                    "NA|NA|NA|NA|f")
            << Event(progress(1, {}, {}, {}, "f"));

        // Post-processing, items, files.
        QTest::newRow("postprocess") << text("MVPP|Merger|started")
                                     << Event(P{P::Postprocess{text("Merger"), text("started")}});
        QTest::newRow("postprocess without status") << text("MVPP|Merger") << none;
        QTest::newRow("postprocess keeps further bars")
            << text("MVPP|Metadata|startedMVPP|Metadata|finished")
            << Event(P{P::Postprocess{text("Metadata"), text("startedMVPP|Metadata|finished")}});
        QTest::newRow("item of a single video")
            << text("MVITEM|NA|NA|Some title") << Event(P{P::Item{1, 1, text("Some title")}});
        QTest::newRow("item title keeps bars") << text("MVITEM|2|5|A|B") << Event(P{P::Item{2, 5, text("A|B")}});
        QTest::newRow("item without title") << text("MVITEM|2|5") << none;
        QTest::newRow("item numbers are not trimmed") << text("MVITEM| 2|5 |t") << Event(P{P::Item{1, 1, text("t")}});
        QTest::newRow("item numbers are integers")
            << text("MVITEM|2.0||«t» 日本") << Event(P{P::Item{1, 1, text("«t» 日本")}});
        QTest::newRow("item index beyond int") << text("MVITEM|99999999999|+3|t") << Event(P{P::Item{1, 3, text("t")}});
        QTest::newRow("target of merged streams, path keeps bars")
            << text("MVDEST|137+140|/o/a|b [x].mp4") << Event(P{P::Target{text("137+140"), text("/o/a|b [x].mp4")}});
        QTest::newRow("target without path") << text("MVDEST|18") << none;
        QTest::newRow("final file") << text("MVFILE|/o/Episode： one⧸two [ep1].m4a")
                                    << Event(P{P::FinalFile{text("/o/Episode： one⧸two [ep1].m4a")}});
        QTest::newRow("empty final file") << text("MVFILE|") << Event(P{P::FinalFile{QString()}});

        // yt-dlp's own lines.
        QTest::newRow("error trimmed") << text("ERROR:   [generic] abc: Video unavailable  ")
                                       << Event(P{P::Error{text("[generic] abc: Video unavailable")}});
        QTest::newRow("warning trimmed") << text("WARNING:\t[generic] Falling back\t")
                                         << Event(P{P::Warning{text("[generic] Falling back")}});
        QTest::newRow("destination") << text("[download] Destination: /x/a b.f1.m4a ")
                                     << Event(P{P::Destination{text("/x/a b.f1.m4a ")}});
        QTest::newRow("merger quotes removed")
            << text("[Merger] Merging formats into \"/x/y.mp4\"") << Event(P{P::Merging{text("/x/y.mp4")}});
        QTest::newRow("merger blanks removed")
            << text("[Merger] Merging formats into  \"/x/y z.mkv\" ") << Event(P{P::Merging{text("/x/y z.mkv")}});
        QTest::newRow("indented error is info") << text(" ERROR: x") << Event(P{P::Info{text(" ERROR: x")}});
        QTest::newRow("refused command line") << text("yt-dlp: error: no such option: --foo")
                                              << Event(P{P::Error{text("yt-dlp: error: no such option: --foo")}});
        QTest::newRow("site line naming an error is info")
            << text("[generic] abc: error: x") << Event(P{P::Info{text("[generic] abc: error: x")}});
        QTest::newRow("usage line is info") << text("Usage: yt-dlp [OPTIONS] URL [URL...]")
                                            << Event(P{P::Info{text("Usage: yt-dlp [OPTIONS] URL [URL...]")}});
        QTest::newRow("lower-case marker is info")
            << text("mvprog|1|2|3|4|5|6") << Event(P{P::Info{text("mvprog|1|2|3|4|5|6")}});
        QTest::newRow("marker without bar is info") << text("MVPROG") << Event(P{P::Info{text("MVPROG")}});
        QTest::newRow("continuation line is info") << text("         It is strongly recommended")
                                                   << Event(P{P::Info{text("         It is strongly recommended")}});
        QTest::newRow("empty line is info") << QString() << Event(P{P::Info{QString()}});
    }

    void parse()
    {
        QFETCH(QString, line);
        QFETCH(Event, event);
        const Event actual = ProgressParser::parse(line);
        QVERIFY2(actual == event, qPrintable(describe(actual) + QStringLiteral(" instead of ") + describe(event)));
    }

    void splitGlued_data()
    {
        const auto lines = [](std::initializer_list<const char *> texts) {
            QStringList list;
            for (const char *line : texts)
                list << QString::fromUtf8(line);
            return list;
        };
        QTest::addColumn<QString>("line");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("plain line") << "[info] x MVPP|a|b" << lines({"[info] x MVPP|a|b"});
        QTest::newRow("one marker") << "MVPP|Merger|started" << lines({"MVPP|Merger|started"});
        QTest::newRow("malformed marker") << "MVPP|MergerMVPP|x" << lines({"MVPP|MergerMVPP|x"});
        QTest::newRow("glued markers, then an error (Debian's 2023 build)")
            << "MVPP|Metadata|startedMVPP|Metadata|finishedERROR: [generic] None: HTTP Error 404: File not found"
            << lines({"MVPP|Metadata|started", "MVPP|Metadata|finished",
                      "ERROR: [generic] None: HTTP Error 404: File not found"});
        QTest::newRow("then a warning and a final file")
            << "MVPP|MoveFiles|finishedWARNING: slow MVFILE|/o/a.mp4"
            << lines({"MVPP|MoveFiles|finished", "WARNING: slow MVFILE|/o/a.mp4"});
        QStringList many;
        for (int i = 0; i < 2000; ++i)
            many << QStringLiteral("MVPP|Step%1|%2").arg(i).arg(i % 2 ? u"finished" : u"started");
        many << QStringLiteral("MVITEM|2|2|next");
        QTest::newRow("thousands glued, each marker cut out") << many.join(QString()) << many;
    }

    void splitGlued()
    {
        QFETCH(QString, line);
        QFETCH(QStringList, lines);
        QStringList actual;
        for (QStringView piece : ProgressParser::splitGlued(line))
            actual << piece.toString();
        QCOMPARE(actual, lines);
    }

    // The recorded output of a current yt-dlp for our command line: every line is understood.
    void recordedOutput_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QList<int>>("counts"); // per kind, in the order of ProgressEvent::Value
        //                                  progress, pp, item, target, final, dest, merge, error, warning, info
        QTest::newRow("single") << "single" << QList<int>{10, 8, 1, 0, 1, 0, 0, 0, 1, 3};
        QTest::newRow("dash") << "dash" << QList<int>{25, 8, 1, 0, 1, 0, 0, 0, 2, 3};
        QTest::newRow("playlist") << "playlist" << QList<int>{18, 10, 2, 0, 2, 0, 0, 1, 2, 3};
        QTest::newRow("notfound") << "notfound" << QList<int>{0, 0, 0, 0, 0, 0, 0, 1, 1, 3};
        QTest::newRow("audio") << "audio" << QList<int>{8, 10, 1, 0, 1, 0, 0, 0, 1, 3};
    }

    void recordedOutput()
    {
        QFETCH(QString, name);
        QFETCH(QList<int>, counts);
        QList<int> actual(std::variant_size_v<ProgressEvent::Value>, 0);
        for (const char *stream : {".stdout", ".stderr"}) {
            QFile file(QStringLiteral(MORVANE_FIXTURES_DIR "/ytdlp-2026.08/") + name + QLatin1String(stream));
            QVERIFY2(file.open(QIODevice::ReadOnly), qPrintable(file.fileName()));
            for (const QString &line : QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts)) {
                const Event event = ProgressParser::parse(line);
                QVERIFY2(event, qPrintable(line));
                ++actual[int(event->value.index())];
                if (const auto *p = event->as<P::Progress>()) {
                    QVERIFY2(p->total && *p->total >= p->downloaded, qPrintable(line));
                    QVERIFY(p->filename.startsWith(QLatin1String("<OUT>/")));
                }
                if (const auto *file = event->as<P::FinalFile>())
                    QVERIFY(file->path.startsWith(QLatin1String("<OUT>/")));
            }
        }
        QCOMPARE(actual, counts);
    }

    void recordedPlaylistItems()
    {
        QFile file(QStringLiteral(MORVANE_FIXTURES_DIR "/ytdlp-2026.08/playlist.stdout"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QList<P::Item> items;
        for (const QByteArray &line : file.readAll().split('\n')) {
            if (const Event event = ProgressParser::parse(QString::fromUtf8(line)); event && event->as<P::Item>())
                items << *event->as<P::Item>();
        }
        const QList<P::Item> expected{{1, 3, text("Episode: one/two")}, {3, 3, text("Episode «three» 日本語")}};
        QVERIFY(items == expected);
    }
};

QTEST_APPLESS_MAIN(TestProgressParser)
#include "tst_progressparser.moc"
