#include "VideoSite.h"

namespace VideoSite {

namespace {

QString overridable(const char *variable, const QString &fallback)
{
    QString base = qEnvironmentVariable(variable);
    if (base.isEmpty())
        return fallback;
    while (base.endsWith(QLatin1Char('/')))
        base.chop(1);
    return base;
}

} // namespace

QString webBase()
{
    return overridable("MORVANE_VIDEO_SITE", QStringLiteral("https://www.youtube.com"));
}

QString imageBase()
{
    return overridable("MORVANE_IMAGE_HOST", QStringLiteral("https://i.ytimg.com"));
}

QString watchLink(const QString &videoId)
{
    return webBase() + QStringLiteral("/watch?v=") + videoId;
}

QString mixLink(const QString &videoId, const QString &listId)
{
    return watchLink(videoId) + QStringLiteral("&list=") + listId;
}

QString playlistLink(const QString &listId)
{
    return webBase() + QStringLiteral("/playlist?list=") + listId;
}

QString playlistResultsLink(const QString &encodedQuery)
{
    // The site's own filter value for "playlists only", already percent-encoded twice as it expects.
    return webBase() + QStringLiteral("/results?search_query=") + encodedQuery + QStringLiteral("&sp=EgIQAw%253D%253D");
}

} // namespace VideoSite
