#include "WorkFolder.h"

#include "core/AppPaths.h"
#include "core/Json.h"

#include <QDir>

namespace WorkFolder {

QString make()
{
    const QString path = AppPaths::sub(QStringLiteral("Tools")) + QLatin1Char('/') + QString::fromUtf16(prefix) +
                         Json::uuidText(QUuid::createUuid());
    return QDir().mkdir(path) ? path : QString();
}

void removeLeftovers()
{
    QDir tools(AppPaths::sub(QStringLiteral("Tools")));
    const QStringList leftovers = tools.entryList({QString::fromUtf16(prefix) + QLatin1Char('*')},
                                                  QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden);
    for (const QString &name : leftovers)
        QDir(tools.filePath(name)).removeRecursively();
}

} // namespace WorkFolder
