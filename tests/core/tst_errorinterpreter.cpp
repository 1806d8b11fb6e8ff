#include "core/ErrorInterpreter.h"

#include <QFile>
#include <QTest>

namespace {

QString text(const char *utf8)
{
    return QString::fromUtf8(utf8);
}

const char *const unsupported = "This site or link isn’t supported by yt-dlp.";
const char *const invalidUrl = "That doesn’t look like a valid URL.";
const char *const signIn = "This video is private or requires you to sign in. Try choosing your browser under "
                           "Settings › Network › Cookies.";
const char *const unavailable = "This video is unavailable (removed, region-locked, or deleted).";
const char *const rateLimited = "The site is rate limiting requests. Wait a while, or lower the speed/concurrency "
                                "in Settings › Network.";
const char *const forbidden = "The site refused access (HTTP 403). Updating yt-dlp or using browser cookies may help.";
const char *const notFound = "The media could not be found (HTTP 404).";
const char *const noFormat = "The requested format isn’t available for this video. Pick another quality or use "
                             "Advanced Formats.";
const char *const diskFull = "The disk is full. Free up space or choose another download folder.";
const char *const cannotWrite = "Morvane can’t write to the download folder. Choose a different folder in Settings.";
const char *const ffmpegFailed = "FFmpeg failed while processing the file. Try Settings › Tools › Repair, then retry.";
const char *const network = "Network problem. Check your internet connection (or proxy) and retry — progress is "
                            "resumed automatically.";
const char *const networkStartsOver = "Network problem. Check your internet connection (or proxy) and retry.";
const char *const ageRestricted = "This video is age-restricted. Use browser cookies from a signed-in account.";
const char *const drm = "This video is DRM-protected and can’t be downloaded.";
const char *const challenge = "Challenge solving failed. Run Repair Dependencies in Settings › Tools (Deno / "
                              "yt-dlp-ejs).";

} // namespace

class TestErrorInterpreter : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void explain_data()
    {
        QTest::addColumn<QString>("errorText");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("message");
        // What a run that starts over, not a download, is told; the same unless given.
        QTest::addColumn<QString>("startsOver");
        const auto row = [](const char *name, const char *input, const char *message, int exitCode = 1,
                            const char *startsOver = nullptr) {
            QTest::newRow(name) << text(input) << exitCode << text(message) << text(startsOver ? startsOver : message);
        };
        // One row per rule, with wording yt-dlp prints.
        row("unsupported", "ERROR: [generic] Unsupported URL: x", unsupported, 0);
        row("invalid", "ERROR: 'foo' is not a valid URL. Set --default-search", invalidUrl);
        row("file instead of link", "ERROR: [Errno 2] No such file or directory: 'https:/x'", invalidUrl);
        row("private", "ERROR: [youtube] abc: Private video. Sign in if you've been granted access", signIn);
        row("members", "ERROR: Join this channel to get access to members-only content", signIn);
        row("bot check", "ERROR: [youtube] abc: Sign in to confirm you’re not a bot", signIn);
        row("unavailable", "ERROR: [generic] abc: Video unavailable", unavailable);
        row("removed", "ERROR: This video has been removed by the uploader", unavailable);
        row("content isn't available", "ERROR: This content isn't available.", unavailable);
        row("429", "ERROR: unable to download video data: HTTP Error 429: Too Many Requests", rateLimited);
        row("403 before network", "ERROR: unable to download video data: HTTP Error 403: Forbidden", forbidden);
        row("404", "ERROR: [generic] nothing-here: Unable to download webpage: HTTP Error 404: File not found",
            notFound);
        row("format", "ERROR: [youtube] abc: Requested format is not available. Use --list-formats", noFormat);
        row("disk full", "ERROR: unable to write data: [Errno 28] No space left on device", diskFull);
        row("permission", "ERROR: unable to open for writing: [Errno 13] Permission denied: '/x'", cannotWrite);
        row("errno 1", "ERROR: [Errno 1] Operation not permitted", cannotWrite);
        row("postprocessing failed", "ERROR: Postprocessing: Conversion failed!", ffmpegFailed);
        row("ffprobe not found", "ERROR: ffprobe not found. Please install or provide the path", ffmpegFailed);
        row("ffmpeg alone is not enough", "WARNING: ffmpeg not installed", "WARNING: ffmpeg not installed");
        row("postprocessing alone falls through", "WARNING: Postprocessing: timed out", network, 1, networkStartsOver);
        row("timeout", "ERROR: Read timed out.", network, 1, networkStartsOver);
        row("dns", "ERROR: <urlopen error [Errno -3] Temporary failure in name resolution>", network, 1,
            networkStartsOver);
        row("refused", "ERROR: [Errno 111] Connection refused", network, 1, networkStartsOver);
        row("ssl", "ERROR: [SSL: CERTIFICATE_VERIFY_FAILED] certificate verify failed", network, 1, networkStartsOver);
        row("age", "ERROR: Sign-in required: confirm your age", ageRestricted);
        row("drm", "ERROR: This video is DRM protected", drm);
        row("challenge", "WARNING: n challenge solving failed: No JavaScript runtime found", challenge);
        row("ejs inside a longer word", "ERROR: rejsomething went wrong", challenge);
        // Earlier rules win where patterns overlap.
        row("unsupported before invalid", "Unsupported URL; invalid URL", unsupported);
        row("unavailable before network", "Video unavailable. Unable to download", unavailable);
        row("403 and 404 give 403", "HTTP Error 404\nHTTP Error 403", forbidden);
        row("upper case", "ERROR: HTTP ERROR 404: NOT FOUND", notFound);
        row("non-ASCII case folding", "ERROR: VIDEO UNAVAILABLE — ÄÖÜ", unavailable);
        // Fallback: the first non-empty line, untrimmed.
        row("empty text", "", "yt-dlp exited with code 2.", 2);
        row("negative exit code", "", "yt-dlp exited with code -1.", -1);
        row("first non-empty line", "\n\nfirst line\nsecond", "first line");
        row("line breaks only", "\n\n", "\n\n", 3);
        row("first line not trimmed", "  odd thing  \nmore", "  odd thing  ");
        // A refused command line in yt-dlp's words, never through the rules its words would match.
        row("refused rate limit", "yt-dlp: error: invalid rate limit \"1 MB\" given",
            "invalid rate limit \"1 MB\" given", 2);
        row("refused time-out", "yt-dlp: error: option --socket-timeout: invalid floating-point value: 'abc'",
            "option --socket-timeout: invalid floating-point value: 'abc'", 2);
        row("refusal among other lines", "WARNING: unable to download x\nyt-dlp: error: no such option: --ffmpeg",
            "no such option: --ffmpeg", 2);
    }

    void explain()
    {
        QFETCH(QString, errorText);
        QFETCH(int, exitCode);
        QFETCH(QString, message);
        QFETCH(QString, startsOver);
        QCOMPARE(ErrorInterpreter::explain(errorText, exitCode), message);
        QCOMPARE(ErrorInterpreter::explain(errorText, exitCode, ErrorInterpreter::Run::StartsOver), startsOver);
    }

    // What a one-shot run's caller hands to explain(): the line that names the failure.
    void failureText_data()
    {
        QTest::addColumn<QString>("stderrText");
        QTest::addColumn<QString>("failure");
        const QString usage = text("Usage: yt-dlp [OPTIONS] URL [URL...]\n\n");
        QTest::newRow("last ERROR line") << text("WARNING: a\nERROR: first\nERROR: second\nmore\n")
                                         << text("ERROR: second");
        QTest::newRow("refused option") << usage + text("yt-dlp: error: no such option: --foo\n")
                                        << text("yt-dlp: error: no such option: --foo");
        QTest::newRow("missing option value") << usage + text("yt-dlp: error: --proxy option requires 1 argument")
                                              << text("yt-dlp: error: --proxy option requires 1 argument");
        QTest::newRow("ERROR line wins") << text("x: error: y\nERROR: z") << text("ERROR: z");
        QTest::newRow("site line is no refusal") << text("[generic] a: error: b\n") << text("[generic] a: error: b\n");
        QTest::newRow("empty refusal is none") << text("yt-dlp: error: \n") << text("yt-dlp: error: \n");
        QTest::newRow("nothing recognised") << text("Traceback\n  boom\n") << text("Traceback\n  boom\n");
        const QString traceback = text("Traceback (most recent call last):\n  File \"x.py\", line 1, in <module>\n"
                                       "    raise syntax_error('Expected a selector', start)\n");
        QTest::newRow("traceback: its exception's message")
            << traceback + text("yt_dlp.utils.SyntaxError: Invalid format: Expected a selector\n"
                                "\tbv*+\n\t   ^\n")
            << text("Invalid format: Expected a selector");
        QTest::newRow("of chained tracebacks the last")
            << traceback + text("KeyError: 'a'\n\nDuring handling, another:\n") + traceback +
                   text("KeyboardInterrupt\n")
            << text("KeyboardInterrupt");
        QTest::newRow("ERROR line before a traceback")
            << text("ERROR: z\n") + traceback + text("OSError: x\n") << text("ERROR: z");
        QTest::newRow("unended traceback") << traceback << traceback;
    }

    void failureText()
    {
        QFETCH(QString, stderrText);
        QFETCH(QString, failure);
        QCOMPARE(ErrorInterpreter::failureText(stderrText), failure);
    }

    // What a current yt-dlp printed for a missing file.
    void recordedNotFound()
    {
        QFile file(QStringLiteral(MORVANE_FIXTURES_DIR "/ytdlp-2026.08/notfound.stderr"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QStringList errors;
        for (const QString &line : QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'))) {
            if (line.startsWith(QLatin1String("ERROR:")))
                errors << line;
        }
        QCOMPARE(errors.size(), 1);
        QCOMPARE(ErrorInterpreter::explain(errors.join(QLatin1Char('\n')), 1), text(notFound));
    }
};

QTEST_APPLESS_MAIN(TestErrorInterpreter)
#include "tst_errorinterpreter.moc"
