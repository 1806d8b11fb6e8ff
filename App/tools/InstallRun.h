#pragma once

#include <QHash>
#include <QString>
#include <QUrl>

#include <optional>

// The archives downloaded during one install, so that tools packed in the same archive
// (ffmpeg and ffprobe) are downloaded once. Its files go away with it.
class InstallRun final
{
public:
    InstallRun() = default;
    ~InstallRun();
    InstallRun(const InstallRun &) = delete;
    InstallRun &operator=(const InstallRun &) = delete;

    [[nodiscard]] std::optional<QString> archiveFor(const QUrl &url) const;
    // A fresh path to download an archive to; empty when the run's folder cannot be made.
    [[nodiscard]] QString newArchivePath(const QString &fileName);
    void remember(const QUrl &url, const QString &path) { m_archives.insert(url, path); }

private:
    QString m_folder;
    QHash<QUrl, QString> m_archives;
    int m_count = 0;
};
