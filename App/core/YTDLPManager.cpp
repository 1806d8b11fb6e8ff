#include "YTDLPManager.h"

#include "core/AppPaths.h"
#include "core/ProcessRunner.h"
#include "core/SettingsStore.h"
#include "core/ToolMirror.h"

#include <QFileInfo>
#include <QRegularExpression>

using namespace std::chrono_literals;

namespace YTDLPManager {

namespace {

// Linux limits a name to 255 bytes. The text fields of our own templates are cut by bytes inside
// the template, so a name keeps its id, a run's mark and its extension and leaves over 60 bytes
// for what yt-dlp appends to it: format ids, ".part", "-Frag123", ".ytdl", ".temp", subtitle languages.
// yt-dlp cuts a field before it makes it fit for a file name, where each of "*:<>?|/\ grows to a
// character of three bytes; so the fields are first made fit into fields of our own ("mv_title",
// from "%(title)S"), and those are cut. An id longer than any site's (the generic extractor takes
// it from the link) is cut as well.
struct BoundedField
{
    QLatin1StringView field;
    QLatin1StringView bounded;
    QLatin1StringView source; // the field, made fit for a file name
    QLatin1StringView own;    // our field that holds it
};
constexpr BoundedField boundedFields[] = {
    {QLatin1StringView("%(title)s"), QLatin1StringView("%(mv_title,title).96B"), QLatin1StringView("%(title)S"),
     QLatin1StringView("mv_title")},
    {QLatin1StringView("%(id)s"), QLatin1StringView("%(mv_id,id).64B"), QLatin1StringView("%(id)S"),
     QLatin1StringView("mv_id")},
    {QLatin1StringView("%(artist,uploader)s"), QLatin1StringView("%(mv_artist,artist,uploader).40B"),
     QLatin1StringView("%(artist,uploader)S"), QLatin1StringView("mv_artist")},
    {QLatin1StringView("%(playlist_title|Playlist)s"), QLatin1StringView("%(mv_playlist,playlist_title|Playlist).120B"),
     QLatin1StringView("%(playlist_title|Playlist)S"), QLatin1StringView("mv_playlist")},
};

// Fills our fields of the bounded ones the template uses, all at once: a text made fit for a file
// name holds no "/", so it parts them.
QStringList fittedFields(const QString &outputTemplate)
{
    QStringList sources;
    QStringList targets;
    for (const auto &field : boundedFields) {
        if (outputTemplate.contains(field.field)) {
            sources << field.source;
            targets << QStringLiteral("(?P<") + field.own + QStringLiteral(">[^/]*)");
        }
    }
    if (sources.isEmpty())
        return {};
    return {QStringLiteral("--parse-metadata"), sources.join(u'/') + u':' + targets.join(u'/')};
}

// The template with the run's mark before the extension, so everything the run downloads is named
// apart from what any other run downloads (see DownloadRunner).
QString markedTemplate(const QString &outputTemplate, const QString &mark)
{
    const QLatin1StringView extension(".%(ext)s");
    if (!outputTemplate.endsWith(extension))
        return outputTemplate + u'.' + mark;
    return outputTemplate.chopped(extension.size()) + u'.' + mark + extension;
}

// yt-dlp trims names by characters, and counts a folder in the template too, so this only guards
// the templates a user wrote with other text fields: a character takes at most four bytes in UTF-8,
// so 50 characters stay within 200 bytes.
constexpr int fileNameCharacterLimit = 50;

// The template with the text fields we know cut by bytes.
QString boundedTemplate(QString outputTemplate)
{
    for (const auto &field : boundedFields)
        outputTemplate.replace(field.field, field.bounded);
    return outputTemplate;
}

// Whether a field of the template can still give text of any length: one that is neither cut
// ("%(mv_title,title).96B", "%(uploader).30s") nor a number ("%(playlist_index)03d") nor the extension.
bool hasUnboundedText(const QString &outputTemplate)
{
    static const QRegularExpression field(QStringLiteral("%\\(([^)]*)\\)([-#0+ ]*\\d*)(\\.\\d+)?[a-zA-Z]"));
    for (auto it = field.globalMatch(outputTemplate); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        const QChar conversion = match.capturedView().back();
        const bool number = QStringView(u"diouxXeEfFgG").contains(conversion);
        if (!number && !match.hasCaptured(3) && match.capturedView(1) != u"ext")
            return true;
    }
    return false;
}

QString shellQuoted(QString text)
{
    text.replace(QLatin1Char('\''), QLatin1String("'\\''"));
    return u'\'' + text + u'\'';
}

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

QString unmarked(const QString &path, const QString &mark)
{
    const QString tag = u'.' + mark;
    const qsizetype at = path.lastIndexOf(tag);
    if (mark.isEmpty() || at < 0 || at < path.lastIndexOf(u'/'))
        return path;
    const qsizetype after = at + tag.size();
    if (after < path.size() && path.at(after) != u'.')
        return path;
    return path.left(at) + path.mid(after);
}

QStringList downloadArguments(const DownloadOptions &options, const RunFiles &run)
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
         << QStringLiteral("--print") << QStringLiteral("before_dl:MVDEST|%(format_id)s|%(_filename)s")
         << QStringLiteral("--print") << QStringLiteral("after_move:MVFILE|%(filepath)s")
         << QStringLiteral("--no-simulate");
    if (!run.gate.isEmpty()) {
        // Run through the shell after the "MVDEST|" line: the file's name, which yt-dlp puts in
        // place of "{}" (a command without fields gets it), goes to the knock so we learn it at
        // once, then the gate holds yt-dlp until we write a line to it.
        args << QStringLiteral("--exec")
             << QStringLiteral("before_dl:printf '%s\\n' {} > ") + shellQuoted(run.knock) +
                    QStringLiteral("; read -r _ < ") + shellQuoted(run.gate);
    }
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
    const QString outputTemplate = boundedTemplate(options.outputTemplate);
    args << fittedFields(options.outputTemplate);
    args << QStringLiteral("-P") << options.folder;
    // A converting run would take an earlier download's file of the same name for its own and
    // delete it after converting, and any run would re-process a finished file it found: so these
    // runs download under names of their own, and the runner gives each file its name when done.
    // A playlist of videos keeps yt-dlp's names, so that fetching it again skips what is there.
    if (!run.mark.isEmpty() && (options.audioOnly || !options.isPlaylist)) {
        args << QStringLiteral("-o") << markedTemplate(outputTemplate, run.mark);
        // Subtitles kept beside the file, and thumbnails, are named as usual.
        args << QStringLiteral("-o") << QStringLiteral("subtitle:") + outputTemplate << QStringLiteral("-o")
             << QStringLiteral("thumbnail:") + outputTemplate;
    } else {
        args << QStringLiteral("-o") << outputTemplate;
    }
    args << QStringLiteral("--windows-filenames");
    if (hasUnboundedText(outputTemplate))
        args << QStringLiteral("--trim-filenames") << QString::number(fileNameCharacterLimit);
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
    return {
        Tool::Ytdlp,
        {ToolMirror::apply(QUrl(QStringLiteral("https://github.com/yt-dlp/yt-dlp/releases/latest/download/") + asset))},
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
