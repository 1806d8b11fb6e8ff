#include "DownloadSettings.h"

#include "ui/settings/FolderChoice.h"
#include "ui/settings/FormatSettingsModel.h"

DownloadSettings::DownloadSettings(QObject *parent)
    : QObject(parent)
    , m_audioFormat(QStringLiteral("audioFormat"), QStringLiteral("mp3"), FormatSettingsModel::audioFormatOptions())
    , m_container(QStringLiteral("mergeContainer"), QStringLiteral("mp4"), FormatSettingsModel::containerOptions())
    , m_embedThumbnail(QStringLiteral("embedThumbnail"), true)
    , m_embedMetadata(QStringLiteral("embedMetadata"), true)
    , m_writeSubs(QStringLiteral("writeSubs"), false)
    , m_autoSubs(QStringLiteral("autoSubs"), false)
    , m_embedSubs(QStringLiteral("embedSubs"), false)
    , m_subLangs(QStringLiteral("subLangs"), QStringLiteral("en.*"))
    , m_folder(QStringLiteral("downloadFolder"), QString())
    , m_defaultPreset(QStringLiteral("defaultPreset"), QStringLiteral("Best Quality"))
{}

void DownloadSettings::chooseFolder(const QUrl &folder)
{
    storeDownloadFolder(folder);
}
