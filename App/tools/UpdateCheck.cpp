#include "UpdateCheck.h"

namespace UpdateCheck {

bool isUpToDate(const QString &tag, const QString &installed)
{
    QString stripped = tag;
    stripped.remove(QLatin1Char('v'));
    return stripped.startsWith(installed);
}

bool isDue(const std::optional<QDateTime> &last, const QDateTime &now)
{
    return !last || last->secsTo(now) >= interval;
}

} // namespace UpdateCheck
