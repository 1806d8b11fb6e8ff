#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

class TestHttpServer;

// Small real media for download tests, made with ffmpeg once per test process.
namespace TestMedia {

[[nodiscard]] QString videoFile();  // 3 s, 640x480 H.264 with AAC sound, mp4
[[nodiscard]] QString audioFile();  // the same sound alone, m4a
[[nodiscard]] QString dashFolder(); // "manifest.mpd" with separate 640x480 video and audio streams
// A 12 s, 440 Hz song for the player: "mp3" (192 kb/s) or "wav" (16-bit stereo, 44.1 kHz).
[[nodiscard]] QString songFile(const QString &extension);
// The same tone for 120 s, as a small mp3 (32 kb/s mono).
[[nodiscard]] QString longSongFile();

// Registers "/video.mp4", "/audio.m4a", and "/dash/manifest.mpd" with every segment under "/dash/".
void serve(TestHttpServer &server);

struct FeedItem
{
    QString title;
    QString path; // served path of the enclosure, such as "/video.mp4"
    QString guid;
    QString type = QStringLiteral("video/mp4");
};
// An RSS 2.0 feed whose items enclose `path`s on `server`; yt-dlp reads it as a playlist.
[[nodiscard]] QByteArray rssFeed(const TestHttpServer &server, const QString &title, const QList<FeedItem> &items);
// Registers "/feed.xml", the feed "Three Clips" over what serve() registers: "Clip one" (video),
// "Clip «two»: 日本語" (the sound alone) and "Clip three" (video).
void serveFeed(TestHttpServer &server);

} // namespace TestMedia
