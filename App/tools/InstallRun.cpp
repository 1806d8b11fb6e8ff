#include "InstallRun.h"

#include "WorkFolder.h"

#include <QDir>

InstallRun::~InstallRun()
{
    if (!m_folder.isEmpty())
        QDir(m_folder).removeRecursively();
}

std::optional<QString> InstallRun::archiveFor(const QUrl &url) const
{
    const auto found = m_archives.constFind(url);
    return found == m_archives.cend() ? std::nullopt : std::optional<QString>(*found);
}

QString InstallRun::newArchivePath(const QString &fileName)
{
    if (m_folder.isEmpty())
        m_folder = WorkFolder::make();
    if (m_folder.isEmpty())
        return {};
    return QStringLiteral("%1/%2-%3").arg(m_folder).arg(++m_count).arg(fileName);
}
