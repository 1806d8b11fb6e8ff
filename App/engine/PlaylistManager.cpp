#include "PlaylistManager.h"

#include <QList>
#include <QStringList>

#include <algorithm>

namespace PlaylistManager {

std::optional<QString> itemsString(const QSet<int> &selected, int total)
{
    if (selected.isEmpty() || selected.size() == total)
        return std::nullopt;
    QList<int> ids(selected.cbegin(), selected.cend());
    std::sort(ids.begin(), ids.end());

    QStringList runs;
    for (qsizetype start = 0; start < ids.size();) {
        qsizetype end = start;
        while (end + 1 < ids.size() && qint64(ids[end + 1]) - ids[end] == 1)
            ++end;
        runs.append(end == start ? QString::number(ids[start])
                                 : QString::number(ids[start]) + QLatin1Char('-') + QString::number(ids[end]));
        start = end + 1;
    }
    return runs.join(QLatin1Char(','));
}

} // namespace PlaylistManager
