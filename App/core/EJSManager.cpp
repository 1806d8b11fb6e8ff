#include "EJSManager.h"

#include "core/ProcessRunner.h"
#include "core/SettingsStore.h"
#include "core/Tool.h"

#include <QFileInfo>

using namespace std::chrono_literals;

namespace EJSManager {

namespace {

QString trimBlanks(const QString &text)
{
    qsizetype begin = 0, end = text.size();
    while (begin < end && (text[begin] == QLatin1Char(' ') || text[begin] == QLatin1Char('\t')))
        ++begin;
    while (end > begin && (text[end - 1] == QLatin1Char(' ') || text[end - 1] == QLatin1Char('\t')))
        --end;
    return text.mid(begin, end - begin);
}

} // namespace

QCoro::Task<ToolCheck> status()
{
    const QString ytdlp = Tools::path(Tool::Ytdlp);
    const QFileInfo file(ytdlp);
    if (!file.isFile() || !file.isExecutable())
        co_return ToolCheck{false, QStringLiteral("yt-dlp not installed")};

    const QStringList arguments{QStringLiteral("--ignore-config"), QStringLiteral("-v"),
                                QStringLiteral("--list-extractors")};
    const RunResult result = co_await ProcessRunner::run(ytdlp, arguments, 90s);
    const QStringList lines = (result.stdoutText + result.stderrText).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    for (const QString &line : lines) {
        if (line.toLower().contains(QLatin1String("ejs"))) {
            QString found = line;
            found.remove(QStringLiteral("[debug] "));
            co_return ToolCheck{true, QStringLiteral("Bundled — ") + trimBlanks(found)};
        }
    }
    if (SettingsStore::boolean(QStringLiteral("remoteEJS")))
        co_return ToolCheck{true,
                            QStringLiteral("Fetched on demand from GitHub by yt-dlp (remote components enabled)")};
    co_return ToolCheck{false, QStringLiteral("Not found. Enable remote components in Settings › Tools.")};
}

} // namespace EJSManager
