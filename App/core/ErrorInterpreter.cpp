#include "ErrorInterpreter.h"

#include <QList>
#include <QStringList>
#include <QStringTokenizer>

#include <algorithm>

namespace ErrorInterpreter {

namespace {

using Patterns = QList<QLatin1String>;

struct Rule
{
    Patterns patterns;
    // When not empty, the text must also hold one of these.
    Patterns alsoOneOf;
    const char16_t *message;
    // What a run that starts over when tried again is told instead, where the message promises
    // that a download picks up where it stopped.
    const char16_t *startsOver = nullptr;
};

bool containsAny(const QString &text, const Patterns &patterns)
{
    for (QLatin1String pattern : patterns) {
        if (text.contains(pattern))
            return true;
    }
    return false;
}

// Tried in order; the first match wins, so the more specific causes come first (an HTTP 403 is
// reported as such even though the same line also says "unable to download").
const Rule rules[] = {
    {{QLatin1String("unsupported url")}, {}, u"This site or link isn’t supported by yt-dlp."},
    {{QLatin1String("is not a valid url"), QLatin1String("invalid url"),
      QLatin1String("no such file or directory: 'http")},
     {},
     u"That doesn’t look like a valid URL."},
    {{QLatin1String("private video"), QLatin1String("sign in to confirm"), QLatin1String("login required"),
      QLatin1String("this video is private"), QLatin1String("members-only"), QLatin1String("join this channel")},
     {},
     u"This video is private or requires you to sign in. "
     u"Try choosing your browser under Settings › Network › Cookies."},
    {{QLatin1String("video unavailable"), QLatin1String("this video is not available"),
      QLatin1String("has been removed"), QLatin1String("no longer available"), QLatin1String("does not exist"),
      QLatin1String("content isn't available")},
     {},
     u"This video is unavailable (removed, region-locked, or deleted)."},
    {{QLatin1String("http error 429"), QLatin1String("too many requests"), QLatin1String("rate limit"),
      QLatin1String("rate-limit")},
     {},
     u"The site is rate limiting requests. "
     u"Wait a while, or lower the speed/concurrency in Settings › Network."},
    {{QLatin1String("http error 403")},
     {},
     u"The site refused access (HTTP 403). Updating yt-dlp or using browser cookies may help."},
    {{QLatin1String("http error 404")}, {}, u"The media could not be found (HTTP 404)."},
    {{QLatin1String("requested format is not available"), QLatin1String("no video formats found")},
     {},
     u"The requested format isn’t available for this video. Pick another quality or use Advanced Formats."},
    {{QLatin1String("no space left"), QLatin1String("disk full"), QLatin1String("errno 28")},
     {},
     u"The disk is full. Free up space or choose another download folder."},
    {{QLatin1String("permission denied"), QLatin1String("operation not permitted"), QLatin1String("errno 13"),
      QLatin1String("errno 1]")},
     {},
     u"Morvane can’t write to the download folder. Choose a different folder in Settings."},
    {{QLatin1String("ffmpeg"), QLatin1String("ffprobe"), QLatin1String("postprocessing")},
     {QLatin1String("error"), QLatin1String("failed"), QLatin1String("not found"), QLatin1String("invalid")},
     u"FFmpeg failed while processing the file. Try Settings › Tools › Repair, then retry."},
    {{QLatin1String("timed out"), QLatin1String("timeout"), QLatin1String("connection reset"),
      QLatin1String("connection refused"), QLatin1String("network is unreachable"),
      QLatin1String("temporary failure in name resolution"), QLatin1String("getaddrinfo"),
      QLatin1String("unable to download"), QLatin1String("urlopen error"), QLatin1String("nodename nor servname"),
      QLatin1String("offline"), QLatin1String("ssl:")},
     {},
     u"Network problem. Check your internet connection (or proxy) and retry — progress is resumed "
     u"automatically.",
     u"Network problem. Check your internet connection (or proxy) and retry."},
    {{QLatin1String("age-restricted"), QLatin1String("confirm your age")},
     {},
     u"This video is age-restricted. Use browser cookies from a signed-in account."},
    {{QLatin1String("drm")}, {}, u"This video is DRM-protected and can’t be downloaded."},
    {{QLatin1String("javascript runtime"), QLatin1String("ejs"), QLatin1String("n challenge"),
      QLatin1String("signature solving")},
     {},
     u"Challenge solving failed. Run Repair Dependencies in Settings › Tools (Deno / yt-dlp-ejs)."},
};

} // namespace

QString explain(const QString &text, int exitCode, Run run)
{
    // The complaint says exactly what is wrong with the command line, in words the rules below
    // would misread ("invalid rate limit" is no rate limiting, "--socket-timeout" no time-out).
    for (const QStringView line : QStringTokenizer(text, u'\n')) {
        if (auto refused = commandLineError(line))
            return std::move(*refused);
    }
    const QString lower = text.toLower();
    for (const Rule &rule : rules) {
        if (containsAny(lower, rule.patterns) && (rule.alsoOneOf.isEmpty() || containsAny(lower, rule.alsoOneOf)))
            return QString::fromUtf16(run == Run::StartsOver && rule.startsOver ? rule.startsOver : rule.message);
    }
    const QStringList lines = text.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    const QString first = lines.isEmpty() ? text : lines.first();
    if (first.isEmpty())
        return QStringLiteral("yt-dlp exited with code %1.").arg(exitCode);
    return first;
}

std::optional<QString> commandLineError(QStringView line)
{
    // The program name comes first and holds no blank, unlike yt-dlp's "[site] id: ..." lines.
    static constexpr QStringView marker = u": error: ";
    const qsizetype at = line.indexOf(marker);
    if (at <= 0 || std::any_of(line.cbegin(), line.cbegin() + at, [](QChar c) { return c.isSpace(); }))
        return std::nullopt;
    const QString message = line.sliced(at + marker.size()).trimmed().toString();
    if (message.isEmpty())
        return std::nullopt;
    return message;
}

std::optional<QString> followTraceback(QStringView line, bool &inside)
{
    if (line == u"Traceback (most recent call last):") {
        inside = true;
        return std::nullopt;
    }
    // Frames and source lines are indented; the exception's line is the first one that is not.
    if (!inside || line.isEmpty() || line.front() == u' ' || line.front() == u'\t')
        return std::nullopt;
    inside = false;
    // "SyntaxError: Invalid format …": the exception's type means nothing to the user.
    const qsizetype colon = line.indexOf(u": ");
    const QStringView type = line.first(std::max<qsizetype>(colon, 0));
    const bool typed = colon > 0 && std::all_of(type.cbegin(), type.cend(),
                                                [](QChar c) { return c.isLetterOrNumber() || c == u'_' || c == u'.'; });
    return (typed ? line.sliced(colon + 2) : line).toString();
}

QString failureText(const QString &stderrText)
{
    const QStringList lines = stderrText.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    const auto last = std::find_if(lines.crbegin(), lines.crend(),
                                   [](const QString &line) { return line.startsWith(QLatin1String("ERROR")); });
    if (last != lines.crend())
        return *last;
    const auto refused =
        std::find_if(lines.cbegin(), lines.cend(), [](const QString &line) { return commandLineError(line); });
    if (refused != lines.cend())
        return *refused;
    bool inside = false;
    std::optional<QString> exception;
    for (const QString &line : lines) {
        if (auto message = followTraceback(line, inside))
            exception = std::move(message);
    }
    return exception.value_or(stderrText);
}

} // namespace ErrorInterpreter
