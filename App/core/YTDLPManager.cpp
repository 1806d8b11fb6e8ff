#include "YTDLPManager.h"

#include "core/AppPaths.h"
#include "core/ProcessRunner.h"
#include "core/SettingsStore.h"
#include "core/ToolMirror.h"

#include <QFileInfo>

using namespace std::chrono_literals;

namespace YTDLPManager {

namespace {

// yt-dlp trims names by characters while Linux limits a name to 255 bytes. A character takes at
// most four bytes in UTF-8, so 50 characters stay within 200 bytes and leave room for what yt-dlp
// appends after the trimmed part: format ids, extensions, ".part", "-Frag123", ".ytdl".
constexpr int fileNameCharacterLimit = 50;

QString toolsFolder()
{
    return AppPaths::sub(QStringLiteral("Tools"));
}

} // namespace

QStringList baseArguments(const NetworkOptions &net)
{
    QStringList args{QStringLiteral("--ignore-config"),   QStringLiteral("--no-colors"),
                     QStringLiteral("--ffmpeg-location"), toolsFolder(),
                     QStringLiteral("--cache-dir"),       AppPaths::sub(QStringLiteral("Cache/yt-dlp"))};
    const QFileInfo deno(toolsFolder() + QStringLiteral("/deno"));
    if (deno.isFile() && deno.isExecutable())
        args << QStringLiteral("--js-runtimes") << QStringLiteral("deno:") + deno.filePath();
    if (SettingsStore::boolean(QStringLiteral("remoteEJS")))
        args << QStringLiteral("--remote-components") << QStringLiteral("ejs:github");
    if (!net.cookiesBrowser.isEmpty() && net.cookiesBrowser != QLatin1String("none"))
        args << QStringLiteral("--cookies-from-browser") << net.cookiesBrowser;
    if (!net.userAgent.isEmpty())
        args << QStringLiteral("--user-agent") << net.userAgent;
    if (!net.proxy.isEmpty())
        args << QStringLiteral("--proxy") << net.proxy;
    if (net.timeout >= 1)
        args << QStringLiteral("--socket-timeout") << QString::number(net.timeout);
    return args;
}

QStringList infoArguments(const QString &url, const NetworkOptions &net)
{
    return baseArguments(net) << QStringLiteral("-J") << QStringLiteral("--flat-playlist")
                              << QStringLiteral("--no-warnings") << QStringLiteral("--") << url;
}

QStringList downloadArguments(const DownloadOptions &options)
{
    const NetworkOptions &net = options.network;
    QStringList args = baseArguments(net);
    args << QStringLiteral("--newline") << QStringLiteral("--progress") << QStringLiteral("--continue");
    args << QStringLiteral("--progress-template")
         << QStringLiteral("download:MVPROG|%(progress.downloaded_bytes)s|%(progress.total_bytes)s|"
                           "%(progress.total_bytes_estimate)s|%(progress.speed)s|%(progress.eta)s|"
                           "%(progress.filename)s")
         << QStringLiteral("--progress-template")
         << QStringLiteral("postprocess:MVPP|%(progress.postprocessor)s|%(progress.status)s")
         << QStringLiteral("--print")
         << QStringLiteral("before_dl:MVITEM|%(playlist_index|1)s|%(playlist_count|1)s|%(title)s")
         << QStringLiteral("--print") << QStringLiteral("after_move:MVFILE|%(filepath)s")
         << QStringLiteral("--no-simulate");
    args << QStringLiteral("--retries") << QString::number(net.retries) << QStringLiteral("--fragment-retries")
         << QString::number(net.retries) << QStringLiteral("--concurrent-fragments") << QString::number(net.fragments);
    if (!net.rateLimit.isEmpty())
        args << QStringLiteral("--limit-rate") << net.rateLimit;
    if (options.formatSelector && !options.formatSelector->isEmpty())
        args << QStringLiteral("-f") << *options.formatSelector;
    if (options.formatSort && !options.formatSort->isEmpty())
        args << QStringLiteral("-S") << *options.formatSort;
    if (options.audioOnly) {
        args << QStringLiteral("-x") << QStringLiteral("--audio-format") << options.audioFormat
             << QStringLiteral("--audio-quality") << QStringLiteral("0");
    } else if (!options.container.isEmpty()) {
        args << QStringLiteral("--merge-output-format") << options.container;
    }
    args << QStringLiteral("-P") << options.folder << QStringLiteral("-o") << options.outputTemplate;
    args << QStringLiteral("--windows-filenames") << QStringLiteral("--trim-filenames")
         << QString::number(fileNameCharacterLimit);
    if (options.isPlaylist) {
        args << QStringLiteral("--yes-playlist");
        if (options.playlistItems && !options.playlistItems->isEmpty())
            args << QStringLiteral("--playlist-items") << *options.playlistItems;
    } else {
        args << QStringLiteral("--no-playlist");
    }
    if (options.embedMetadata)
        args << QStringLiteral("--embed-metadata");
    if (options.embedThumbnail)
        args << QStringLiteral("--embed-thumbnail") << QStringLiteral("--convert-thumbnails") << QStringLiteral("jpg");
    if (options.subtitles) {
        args << QStringLiteral("--write-subs") << QStringLiteral("--sub-langs")
             << (options.subLangs.isEmpty() ? QStringLiteral("en.*") : options.subLangs);
        if (options.autoSubs)
            args << QStringLiteral("--write-auto-subs");
        // Audio files cannot carry subtitle streams: keep them beside the file instead.
        if (options.embedSubs && !options.audioOnly)
            args << QStringLiteral("--embed-subs");
        else
            args << QStringLiteral("--convert-subs") << QStringLiteral("srt");
    }
    // After every generated option, so the user's own wins where yt-dlp takes the last occurrence,
    // and before "--", so nothing typed there can become the link.
    args << splitArguments(net.extraArgs);
    args << QStringLiteral("--") << options.url;
    return args;
}

QStringList splitArguments(const QString &text)
{
    QStringList result;
    QString current;
    bool begun = false;
    QChar quote; // the open quote, or null outside quotes
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('\\') && quote != QLatin1Char('\'')) {
            // A trailing backslash escapes nothing and is dropped.
            if (++i < text.size())
                current += text.at(i);
            begun = true;
        } else if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
            else
                current += c;
        } else if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            quote = c;
            begun = true;
        } else if (c.isSpace()) {
            if (begun || !current.isEmpty())
                result.append(current);
            current.clear();
            begun = false;
        } else {
            current += c;
            begun = true;
        }
    }
    if (begun || !current.isEmpty())
        result.append(current);
    return result;
}

ToolSpec spec(CpuArch arch)
{
    const QString asset =
        arch == CpuArch::Arm64 ? QStringLiteral("yt-dlp_linux_aarch64") : QStringLiteral("yt-dlp_linux");
    return {Tool::Ytdlp,
            {ToolMirror::apply(
                QUrl(QStringLiteral("https://github.com/yt-dlp/yt-dlp/releases/latest/download/") + asset))},
            ArchiveKind::None,
            {QStringLiteral("--version")}};
}

QUrl latestAPI()
{
    return ToolMirror::apply(QUrl(QStringLiteral("https://api.github.com/repos/yt-dlp/yt-dlp/releases/latest")));
}

QCoro::Task<ToolCheck> smokeTest()
{
    const QStringList arguments{QStringLiteral("--ignore-config"), QStringLiteral("--list-extractors")};
    const RunResult result = co_await ProcessRunner::run(Tools::path(Tool::Ytdlp), arguments, 90s);
    if (result.status != 0)
        co_return ToolCheck{false, result.stderrText};
    const qsizetype extractors = result.stdoutText.split(QLatin1Char('\n'), Qt::SkipEmptyParts).size();
    co_return ToolCheck{extractors > 100, QString::number(extractors) + QStringLiteral(" extractors loaded")};
}

} // namespace YTDLPManager
