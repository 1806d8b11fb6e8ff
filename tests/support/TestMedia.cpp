#include "TestMedia.h"

#include "TestHttpServer.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>

namespace TestMedia {

namespace {

QString mediaFolder()
{
    static QTemporaryDir folder;
    return folder.path();
}

// Runs ffmpeg with `arguments` once per output file and returns that file's path.
QString generate(const QString &output, const QStringList &arguments)
{
    const QString path = mediaFolder() + QLatin1Char('/') + output;
    if (QFile::exists(path))
        return path;
    QDir().mkpath(QFileInfo(path).path());
    QProcess ffmpeg;
    QStringList all{QStringLiteral("-hide_banner"), QStringLiteral("-loglevel"), QStringLiteral("error"),
                    QStringLiteral("-y")};
    all << arguments << path;
    ffmpeg.start(QStringLiteral("ffmpeg"), all);
    if (!ffmpeg.waitForFinished(60000) || ffmpeg.exitCode() != 0)
        qFatal("ffmpeg could not make %s: %s", qPrintable(output), ffmpeg.readAllStandardError().constData());
    return path;
}

} // namespace

QString videoFile()
{
    return generate(QStringLiteral("video.mp4"),
                    {QStringLiteral("-f"),       QStringLiteral("lavfi"),
                     QStringLiteral("-i"),       QStringLiteral("testsrc=size=640x480:rate=25"),
                     QStringLiteral("-f"),       QStringLiteral("lavfi"),
                     QStringLiteral("-i"),       QStringLiteral("sine=frequency=440:sample_rate=44100"),
                     QStringLiteral("-t"),       QStringLiteral("3"),
                     QStringLiteral("-c:v"),     QStringLiteral("libx264"),
                     QStringLiteral("-preset"),  QStringLiteral("ultrafast"),
                     QStringLiteral("-pix_fmt"), QStringLiteral("yuv420p"),
                     QStringLiteral("-c:a"),     QStringLiteral("aac"),
                     QStringLiteral("-b:a"),     QStringLiteral("64k"),
                     QStringLiteral("-shortest")});
}

QString audioFile()
{
    return generate(QStringLiteral("audio.m4a"), {QStringLiteral("-i"), videoFile(), QStringLiteral("-vn"),
                                                  QStringLiteral("-c:a"), QStringLiteral("copy")});
}

QString dashFolder()
{
    const QString manifest =
        generate(QStringLiteral("dash/manifest.mpd"),
                 {QStringLiteral("-i"), videoFile(), QStringLiteral("-map"), QStringLiteral("0:v"),
                  QStringLiteral("-map"), QStringLiteral("0:a"), QStringLiteral("-c"), QStringLiteral("copy"),
                  QStringLiteral("-f"), QStringLiteral("dash"), QStringLiteral("-seg_duration"), QStringLiteral("1"),
                  QStringLiteral("-init_seg_name"), QStringLiteral("init-$RepresentationID$.m4s"),
                  QStringLiteral("-media_seg_name"), QStringLiteral("chunk-$RepresentationID$-$Number%05d$.m4s")});
    return QFileInfo(manifest).path();
}

QString songFile(const QString &extension)
{
    QStringList arguments{QStringLiteral("-f"),  QStringLiteral("lavfi"),
                          QStringLiteral("-i"),  QStringLiteral("sine=frequency=440:sample_rate=44100:duration=12"),
                          QStringLiteral("-ac"), QStringLiteral("2")};
    if (extension == QStringLiteral("mp3"))
        arguments << QStringLiteral("-b:a") << QStringLiteral("192k");
    return generate(QStringLiteral("song.") + extension, arguments);
}

QString longSongFile()
{
    return generate(QStringLiteral("long.mp3"), {QStringLiteral("-f"), QStringLiteral("lavfi"), QStringLiteral("-i"),
                                                 QStringLiteral("sine=frequency=440:sample_rate=22050:duration=120"),
                                                 QStringLiteral("-b:a"), QStringLiteral("32k")});
}

void serve(TestHttpServer &server)
{
    server.serveFile(QStringLiteral("/video.mp4"), videoFile(), "video/mp4");
    server.serveFile(QStringLiteral("/audio.m4a"), audioFile(), "audio/mp4");
    const QDir dash(dashFolder());
    for (const QString &name : dash.entryList(QDir::Files)) {
        const QByteArray type = name.endsWith(QStringLiteral(".mpd")) ? "application/dash+xml" : "video/iso.segment";
        server.serveFile(QStringLiteral("/dash/") + name, dash.filePath(name), type);
    }
}

QByteArray rssFeed(const TestHttpServer &server, const QString &title, const QList<FeedItem> &items)
{
    const auto escaped = [](const QString &text) { return text.toHtmlEscaped().toUtf8(); };
    QByteArray feed = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<rss version=\"2.0\"><channel><title>" +
                      escaped(title) + "</title><link>" + server.base().toUtf8() +
                      "/</link><description>Test feed</description>\n";
    for (const FeedItem &item : items) {
        const QByteArray url = escaped(server.base() + item.path);
        feed += "<item><title>" + escaped(item.title) + "</title><link>" + url + "</link><guid>" + escaped(item.guid) +
                "</guid><enclosure url=\"" + url + "\" type=\"" + escaped(item.type) + "\" length=\"1\"/></item>\n";
    }
    return feed + "</channel></rss>\n";
}

void serveFeed(TestHttpServer &server)
{
    const QList<FeedItem> items{{QStringLiteral("Clip one"), QStringLiteral("/video.mp4"), QStringLiteral("c1")},
                                {QStringLiteral("Clip «two»: 日本語"), QStringLiteral("/audio.m4a"),
                                 QStringLiteral("c2"), QStringLiteral("audio/mp4")},
                                {QStringLiteral("Clip three"), QStringLiteral("/video.mp4"), QStringLiteral("c3")}};
    server.serveText(QStringLiteral("/feed.xml"), rssFeed(server, QStringLiteral("Three Clips"), items),
                     "application/rss+xml");
}

} // namespace TestMedia
