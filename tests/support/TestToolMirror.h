#pragma once

#include "TestHttpServer.h"
#include "core/Tool.h"

#include <QByteArray>
#include <QString>

class TestEnvironment;

// The tool download and release-API hosts, played by a local test server: while this object
// lives, MORVANE_TOOL_MIRROR points at it, so every tool spec built meanwhile downloads from it.
// Payloads are packed the way the real hosts pack them: yt-dlp bare, Deno in a zip, FFmpeg and
// ffprobe together in a sub-folder of one tar.xz.
class TestToolMirror
{
public:
    // Archives and fake tools are written into `workFolder`.
    explicit TestToolMirror(const QString &workFolder);
    ~TestToolMirror();
    TestToolMirror(const TestToolMirror &) = delete;
    TestToolMirror &operator=(const TestToolMirror &) = delete;

    [[nodiscard]] TestHttpServer &server() { return m_server; }

    // Publishes the executable at `path` as yt-dlp's download.
    void serveYtdlp(const QString &path);
    // Publishes one archive holding both executables at the first FFmpeg source.
    void serveFfmpeg(const QString &ffmpegPath, const QString &ffprobePath);
    // Publishes a zip holding the executable at `path` as Deno's download.
    void serveDeno(const QString &path);
    // Answers the release API of yt-dlp or Deno with `tag` as the newest release.
    void serveRelease(Tool tool, const QString &tag);

    // Requests that fetched a tool, release lookups left out.
    [[nodiscard]] int downloadCount() const;
    [[nodiscard]] int releaseLookupCount() const;

    // Small stand-ins that answer the version probe with `version` (and, for yt-dlp and Deno,
    // pass the smoke tests), written into the work folder; returns the path.
    QString fakeYtdlp(const QString &version);
    QString fakeFfmpeg(const QString &name, const QString &version);
    QString fakeDeno(const QString &version);
    // Working stand-ins for yt-dlp, FFmpeg, ffprobe (both "7.0") and Deno in env's "Tools" folder.
    void installFakes(const TestEnvironment &env, const QString &ytdlpVersion,
                      const QString &denoVersion = QStringLiteral("2.1.4"));

private:
    QString writeScript(const QString &name, const QByteArray &script);

    QString m_folder;
    TestHttpServer m_server;
    QByteArray m_savedMirror;
    int m_files = 0;
};
