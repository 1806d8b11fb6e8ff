#include "UrlScheme.h"

#include <QUrl>
#include <QUrlQuery>

QString UrlScheme::linkText(const QString &openedUrl)
{
    // QUrl folds the scheme to lower case, so "MORVANE:" must be told apart on the raw text.
    if (!openedUrl.startsWith(QLatin1String("morvane:")))
        return openedUrl;
    const QUrl url(openedUrl, QUrl::StrictMode);
    if (!url.isValid() || !url.hasQuery())
        return openedUrl;
    // The first "url" item wins; without "=" its value is null, with "url=" it is empty.
    const QString value = QUrlQuery(url).queryItemValue(QStringLiteral("url"), QUrl::FullyDecoded);
    return value.isNull() ? openedUrl : value;
}
