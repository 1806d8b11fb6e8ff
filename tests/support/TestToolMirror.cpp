#include "TestToolMirror.h"

#include "TestArchive.h"
#include "TestEnvironment.h"
#include "core/DenoManager.h"
#include "core/FFmpegManager.h"
#include "core/YTDLPManager.h"

#include <QDir>
#include <QFile>

namespace {

const char *const mirrorVariable = "MORVANE_TOOL_MIRROR";

QString releasePath(Tool tool)
{
    return (tool == Tool::Deno ? DenoManager::latestAPI() : YTDLPManager::latestAPI()).path();
}

} // namespace

TestToolMirror::TestToolMirror(const QString &workFolder)
    : m_folder(workFolder + QStringLiteral("/mirror"))
    , m_savedMirror(qgetenv(mirrorVariable))
{
    QDir().mkpath(m_folder);
    qputenv(mirrorVariable, m_server.base().toUtf8());
}

TestToolMirror::~TestToolMirror()
{
    if (m_savedMirror.isEmpty())
        qunsetenv(mirrorVariable);
    else
        qputenv(mirrorVariable, m_savedMirror);
}

void TestToolMirror::serveYtdlp(const QString &path)
{
    m_server.serveFile(YTDLPManager::spec().urls.value(0).path(), path, "application/octet-stream");
}

void TestToolMirror::serveFfmpeg(const QString &ffmpegPath, const QString &ffprobePath)
{
    using namespace TestArchive;
    const QString archive = m_folder + QStringLiteral("/ffmpeg-%1.tar.xz").arg(++m_files);
    const QString top = QStringLiteral("ffmpeg-n7.1-latest-linux64-gpl-7.1/");
    write(archive, Format::TarXz,
          {directory(top), directory(top + QStringLiteral("bin/")),
           copyOf(top + QStringLiteral("bin/ffmpeg"), ffmpegPath),
           copyOf(top + QStringLiteral("bin/ffprobe"), ffprobePath), file(top + QStringLiteral("LICENSE.txt"), "GPL")});
    m_server.serveFile(FFmpegManager::spec(Tool::Ffmpeg).urls.value(0).path(), archive, "application/x-xz");
}

void TestToolMirror::serveDeno(const QString &path)
{
    using namespace TestArchive;
    const QString archive = m_folder + QStringLiteral("/deno-%1.zip").arg(++m_files);
    write(archive, Format::Zip, {copyOf(QStringLiteral("deno"), path)});
    m_server.serveFile(DenoManager::spec().urls.value(0).path(), archive, "application/zip");
}

void TestToolMirror::serveRelease(Tool tool, const QString &tag)
{
    const QByteArray body = "{\"tag_name\":\"" + tag.toUtf8() + "\",\"assets\":[]}";
    m_server.serveText(releasePath(tool), body, "application/json");
}

int TestToolMirror::downloadCount() const
{
    return int(m_server.requests().size()) - releaseLookupCount();
}

int TestToolMirror::releaseLookupCount() const
{
    return int(m_server.requestsFor(releasePath(Tool::Ytdlp)).size() +
               m_server.requestsFor(releasePath(Tool::Deno)).size());
}

QString TestToolMirror::fakeYtdlp(const QString &version)
{
    // Enough extractors for the smoke test; nothing that looks like bundled scripts.
    return writeScript(QStringLiteral("yt-dlp"), "#!/bin/sh\n"
                                                 "case \"$*\" in\n"
                                                 "--version) echo '" +
                                                     version.toUtf8() +
                                                     "' ;;\n"
                                                     "*--list-extractors*) seq -f 'extractor%g' 150 ;;\n"
                                                     "*) exit 2 ;;\n"
                                                     "esac\n");
}

QString TestToolMirror::fakeFfmpeg(const QString &name, const QString &version)
{
    return writeScript(name, "#!/bin/sh\necho '" + name.toUtf8() + " version " + version.toUtf8() +
                                 " Copyright (c) the FFmpeg developers'\n");
}

QString TestToolMirror::fakeDeno(const QString &version)
{
    return writeScript(QStringLiteral("deno"), "#!/bin/sh\n"
                                               "case \"$1\" in\n"
                                               "--version) echo 'deno " +
                                                   version.toUtf8() +
                                                   " (stable, release, x86_64-unknown-linux-gnu)' ;;\n"
                                                   "eval) echo 42 ;;\n"
                                                   "*) exit 1 ;;\n"
                                                   "esac\n");
}

void TestToolMirror::installFakes(const TestEnvironment &env, const QString &ytdlpVersion, const QString &denoVersion)
{
    env.installTool(QStringLiteral("yt-dlp"), fakeYtdlp(ytdlpVersion));
    env.installTool(QStringLiteral("ffmpeg"), fakeFfmpeg(QStringLiteral("ffmpeg"), QStringLiteral("7.0")));
    env.installTool(QStringLiteral("ffprobe"), fakeFfmpeg(QStringLiteral("ffprobe"), QStringLiteral("7.0")));
    env.installTool(QStringLiteral("deno"), fakeDeno(denoVersion));
}

QString TestToolMirror::writeScript(const QString &name, const QByteArray &script)
{
    const QString folder = m_folder + QStringLiteral("/fake-%1").arg(++m_files);
    QDir().mkpath(folder);
    const QString path = folder + QLatin1Char('/') + name;
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(script);
    file.close();
    file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::ExeGroup |
                        QFile::ReadOther | QFile::ExeOther);
    return path;
}
