// Lines per second through ProgressParser::parse over the mix a download prints: mostly progress
// markers, then items, post-processing steps, final files, warnings and yt-dlp's own lines;
// then the time to cut 100 000 post-processing markers glued into one line back apart.
// Usage: bench_progressparser [seconds]
#include "core/ProgressParser.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QStringList>
#include <QTextStream>

#include <cstdio>

namespace {

constexpr int gluedMarkers = 100000;

QStringList recordedMix()
{
    const char *const lines[] = {
        "MVITEM|1|3|Episode: one/two",
        "MVPROG|1024|406616|NA|298303.0487567718|1|/home/u/Downloads/single/talk [talk].mp4",
        "MVPROG|3072|406616|NA|281372.74011311773|1|/home/u/Downloads/single/talk [talk].mp4",
        "MVPROG|7168|406616|NA|278457.43752373365|1|/home/u/Downloads/single/talk [talk].mp4",
        "MVPROG|15360|406616|NA|298318.24299982865|1|/home/u/Downloads/single/talk [talk].mp4",
        "MVPROG|64512|406616|NA|305508.3485453566|1|/home/u/Downloads/single/talk [talk].mp4",
        "MVPROG|406616|406616|NA|306127.1549103232|NA|/home/u/Downloads/single/talk [talk].mp4",
        "MVPROG|816|NA|1632.0|0|NA|/home/u/Downloads/dash/stream [stream].f0.mp4",
        "MVPROG|16176|NA|41421.0|0|NA|/home/u/Downloads/dash/stream [stream].f0.mp4",
        "MVPROG|34253|34253|NA|1185991.851473951|NA|/home/u/Downloads/dash/stream [stream].f0.mp4",
        "MVPROG|54915|NA|105412.5|0|NA|/home/u/Downloads/dash/stream [stream].f1.m4a",
        "MVPROG|130048|406616|NA|31442289.981092922|0|/home/u/Downloads/playlist/Episode «three» 日本語 "
        "[ep3].mp4",
        "MVPROG|74367|74367|NA|18458859.366078828|0|/home/u/Downloads/playlist/Episode： one⧸two [ep1].m4a",
        "MVPP|Merger|started",
        "MVPP|Merger|finished",
        "MVPP|EmbedThumbnail|started",
        "MVFILE|/home/u/Downloads/dash/stream [stream].mkv",
        "WARNING: [generic] Falling back on generic information extractor",
        "         It is strongly recommended to always use the latest version.",
        "[download] Destination: /home/u/Downloads/dash/stream [stream].f0.mp4",
        "[Merger] Merging formats into \"/home/u/Downloads/dash/stream [stream].mkv\"",
        "ERROR: [generic] ep2: Unable to download webpage: HTTP Error 404: File not found",
    };
    QStringList mix;
    for (const char *line : lines)
        mix << QString::fromUtf8(line);
    return mix;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const double seconds = argc > 1 ? QString::fromLocal8Bit(argv[1]).toDouble() : 3.0;
    const QStringList mix = recordedMix();

    qint64 lines = 0;
    qint64 checksum = 0; // keeps the work observable
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < seconds * 1000) {
        for (int round = 0; round < 1000; ++round) {
            for (const QString &line : mix) {
                if (const auto event = ProgressParser::parse(line))
                    checksum += qint64(event->value.index());
            }
        }
        lines += 1000 * mix.size();
    }
    const double elapsed = timer.nsecsElapsed() / 1e9;
    QTextStream(stdout) << "ProgressParser::parse: " << lines << " lines in " << elapsed
                        << " s = " << qint64(lines / elapsed) << " lines/s (checksum " << checksum << ")\n";

    // One output line of glued post-processing markers, as an older yt-dlp prints them.
    const QString glued = QStringLiteral("MVPP|Metadata|startedMVPP|Metadata|finished").repeated(gluedMarkers / 2);
    timer.restart();
    const QList<QStringView> pieces = ProgressParser::splitGlued(glued);
    const double cutting = timer.nsecsElapsed() / 1e9;
    QTextStream(stdout) << "ProgressParser::splitGlued: " << pieces.size() << " of " << gluedMarkers
                        << " glued markers cut out in " << cutting << " s\n";
    return 0;
}
