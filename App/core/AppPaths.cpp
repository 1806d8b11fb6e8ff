#include "AppPaths.h"

#include <QDir>
#include <QStandardPaths>

namespace AppPaths {

QString support()
{
    const QString path =
        QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/Morvane");
    QDir().mkpath(path);
    return path;
}

QString sub(const QString &name)
{
    const QString path = support() + QLatin1Char('/') + name;
    QDir().mkpath(path);
    return path;
}

} // namespace AppPaths
