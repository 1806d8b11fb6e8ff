#include "WorkFolder.h"

#include "core/AppPaths.h"
#include "core/Json.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace WorkFolder {

QString make()
{
    const QString path = AppPaths::sub(QStringLiteral("Tools")) + QLatin1Char('/') + QString::fromUtf16(prefix) +
                         Json::uuidText(QUuid::createUuid());
    return QDir().mkdir(path) ? path : QString();
}

void removeLeftovers()
{
    const QDir tools(AppPaths::sub(QStringLiteral("Tools")));
    const QFileInfoList leftovers =
        tools.entryInfoList({QString::fromUtf16(prefix) + QLatin1Char('*')},
                            QDir::Dirs | QDir::Files | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot);
    for (const QFileInfo &leftover : leftovers) {
        // A link is removed itself, never followed: emptying the folder it points to would
        // delete files that are not ours. (removeRecursively does not follow the links inside.)
        if (leftover.isSymLink())
            QFile::remove(leftover.filePath());
        else if (leftover.isDir())
            QDir(leftover.filePath()).removeRecursively();
    }
}

} // namespace WorkFolder
