#include "ThumbnailLink.h"

#include <QUrl>

QString loadableThumbnail(const std::optional<QString> &link)
{
    if (!link)
        return {};
    const QUrl url(*link, QUrl::StrictMode);
    const QString scheme = url.scheme().toLower();
    if (!url.isValid() || url.host().isEmpty() || (scheme != QLatin1String("http") && scheme != QLatin1String("https")))
        return {};
    return url.toString(QUrl::FullyEncoded);
}
