#include "FolderChoice.h"

#include "core/SettingsStore.h"

bool storeDownloadFolder(const QUrl &folder)
{
    const QString path = folder.isLocalFile() ? folder.toLocalFile() : QString();
    if (path.isEmpty())
        return false;
    SettingsStore::set(QStringLiteral("downloadFolder"), path);
    return true;
}
