#include "ToolMirror.h"

namespace ToolMirror {

QUrl apply(const QUrl &url)
{
    const QUrl mirror(qEnvironmentVariable("MORVANE_TOOL_MIRROR"), QUrl::StrictMode);
    if (!mirror.isValid() || mirror.scheme().isEmpty() || mirror.host().isEmpty())
        return url;
    QString prefix = mirror.path(QUrl::FullyEncoded);
    while (prefix.endsWith(QLatin1Char('/')))
        prefix.chop(1);
    // Redirect targets go through here as well as the original links.
    if (url.scheme() == mirror.scheme() && url.authority() == mirror.authority() &&
        (prefix.isEmpty() || url.path(QUrl::FullyEncoded).startsWith(prefix + QLatin1Char('/'))))
        return url;
    QUrl result = url;
    result.setScheme(mirror.scheme());
    result.setAuthority(mirror.authority());
    result.setPath(prefix + url.path(QUrl::FullyEncoded), QUrl::TolerantMode);
    return result;
}

} // namespace ToolMirror
