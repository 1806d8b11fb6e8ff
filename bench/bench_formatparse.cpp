// Reading yt-dlp's "-J" answer: a synthetic 5 000-entry flat playlist and a single video with
// 200 formats, shaped like what a current yt-dlp prints for the video site. Prints the median of
// several runs for the JSON reading and for the conversion to MediaInfo.
#include "core/Json.h"
#include "engine/FormatManager.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QJsonObject>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

QByteArray thumbnails(int n)
{
    QByteArray list = "[";
    const int sizes[][2] = {{168, 94}, {196, 110}, {246, 138}, {336, 188}};
    for (int i = 0; i < 4; ++i) {
        if (i)
            list += ", ";
        list +=
            QStringLiteral(
                R"({"url": "https://i.ytimg.com/vi/vid%1/hqdefault.jpg?sqp=-oaymwEbCKgBEF5IVfKriqkDDggBFQAAiEIYAXABwAEG&rs=AOn4CLB%2", "height": %3, "width": %4})")
                .arg(n)
                .arg(i)
                .arg(sizes[i][1])
                .arg(sizes[i][0])
                .toUtf8();
    }
    return list + "]";
}

QByteArray playlist(int count)
{
    QByteArray json =
        R"({"_type": "playlist", "id": "PLbench", "title": "A long playlist", "uploader": "Bench", "webpage_url": "https://www.youtube.com/playlist?list=PLbench", "extractor_key": "YoutubeTab", "entries": [)";
    for (int n = 0; n < count; ++n) {
        if (n)
            json += ", ";
        json +=
            QStringLiteral(
                R"({"_type": "url", "ie_key": "Youtube", "id": "vid%1", "url": "https://www.youtube.com/watch?v=vid%1", "title": "Entry number %1 — a title of ordinary length", "description": null, "duration": %2, "channel_id": "UCbench", "channel": "Bench Channel", "channel_url": "https://www.youtube.com/channel/UCbench", "uploader": "Bench Channel", "uploader_id": "@bench", "uploader_url": "https://www.youtube.com/@bench", "thumbnails": )")
                .arg(n)
                .arg(60 + n % 600)
                .toUtf8() +
            thumbnails(n) +
            R"(, "timestamp": null, "release_timestamp": null, "availability": null, "view_count": 123456, "live_status": null, "channel_is_verified": null, "__x_forwarded_for_ip": null})";
    }
    return json + "]}";
}

QByteArray video(int formatCount)
{
    QByteArray json =
        R"({"id": "vid0", "title": "One video", "duration": 754.0, "uploader": "Bench", "webpage_url": "https://www.youtube.com/watch?v=vid0", "extractor_key": "Youtube", "thumbnail": "https://i.ytimg.com/vi/vid0/maxresdefault.jpg", "formats": [)";
    for (int n = 0; n < formatCount; ++n) {
        if (n)
            json += ", ";
        const bool audio = n % 4 == 0;
        json +=
            QStringLiteral(
                R"json({"format_id": "%1", "format_note": "%2", "ext": "%3", "protocol": "https", "acodec": "%4", "vcodec": "%5", "url": "https://rr1---sn-bench.googlevideo.com/videoplayback?expire=1796792292&ei=abc&ip=127.0.0.1&id=o-bench&itag=%1&source=youtube&requiressl=yes&mime=video/mp4&dur=754.000&lmt=1796792292&mt=1796792292&fvip=1&keepalive=yes&c=IOS&sig=AJfQdSswRQIhAbench", "width": %6, "height": %7, "fps": %8, "audio_channels": %9, "quality": 5.0, "has_drm": false, "tbr": %10, "filesize": %11, "language": "en", "language_preference": -1, "preference": null, "dynamic_range": "SDR", "container": "mp4_dash", "downloader_options": {"http_chunk_size": 10485760}, "http_headers": {"User-Agent": "Mozilla/5.0 (Windows NT 10.0; Win64; x64) AppleWebKit/537.36 (KHTML, like Gecko) Chrome/149.0.0.0 Safari/537.36", "Accept": "text/html,application/xhtml+xml,application/xml;q=0.9,*/*;q=0.8", "Accept-Language": "en-us,en;q=0.5", "Sec-Fetch-Mode": "navigate"}, "video_ext": "%3", "audio_ext": "none", "vbr": %10, "abr": 0, "resolution": "%6x%7", "aspect_ratio": 1.78, "format": "%1 - %6x%7 (%2)"})json")
                .arg(n)
                .arg(audio ? QStringLiteral("medium") : QStringLiteral("%1p").arg(144 * (1 + n % 8)))
                .arg(audio ? QStringLiteral("webm") : QStringLiteral("mp4"))
                .arg(audio ? QStringLiteral("opus") : QStringLiteral("none"))
                .arg(audio ? QStringLiteral("none") : QStringLiteral("avc1.64001F"))
                .arg(audio ? QStringLiteral("null") : QString::number(256 * (1 + n % 8)))
                .arg(audio ? QStringLiteral("null") : QString::number(144 * (1 + n % 8)))
                .arg(audio ? QStringLiteral("null") : QStringLiteral("30"))
                .arg(audio ? QStringLiteral("2") : QStringLiteral("null"))
                .arg(100.5 + n)
                .arg(1000000 + n * 12345)
                .toUtf8();
    }
    return json + R"(], "subtitles": {}, "automatic_captions": {"en": [], "en-orig": [], "de-en": []}})";
}

struct Timing
{
    double readMs;
    double convertMs;
};

Timing measure(const QByteArray &json, int runs, qsizetype *countOut)
{
    std::vector<double> reads, converts;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        const auto object = Json::parseObject(json);
        reads.push_back(timer.nsecsElapsed() / 1e6);
        timer.restart();
        const MediaInfo info = FormatManager::parse(*object, QString());
        converts.push_back(timer.nsecsElapsed() / 1e6);
        *countOut = info.entries.size() + info.formats.size();
    }
    std::sort(reads.begin(), reads.end());
    std::sort(converts.begin(), converts.end());
    return {reads[reads.size() / 2], converts[converts.size() / 2]};
}

void report(const char *name, const QByteArray &json, int runs)
{
    qsizetype count = 0;
    const Timing t = measure(json, runs, &count);
    std::printf("%-22s %8.2f MB  %5lld items  read %7.2f ms  convert %7.2f ms  total %7.2f ms (median of %d)\n", name,
                json.size() / 1e6, static_cast<long long>(count), t.readMs, t.convertMs, t.readMs + t.convertMs, runs);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    report("playlist, 5000 entries", playlist(5000), 21);
    report("video, 200 formats", video(200), 101);
    return 0;
}
