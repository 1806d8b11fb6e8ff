#include "TestRequests.h"

#include "core/SettingsStore.h"

namespace TestRequests {

DownloadOptions defaultRequest(const QString &url, const QString &folder)
{
    DownloadOptions options;
    options.url = url;
    options.audioFormat = SettingsStore::string(QStringLiteral("audioFormat"));
    options.container = SettingsStore::string(QStringLiteral("mergeContainer"));
    options.folder = folder;
    options.outputTemplate = SettingsStore::string(QStringLiteral("outputTemplate"));
    options.embedThumbnail = SettingsStore::boolean(QStringLiteral("embedThumbnail"));
    options.embedMetadata = SettingsStore::boolean(QStringLiteral("embedMetadata"));
    options.subtitles = SettingsStore::boolean(QStringLiteral("writeSubs"));
    options.autoSubs = SettingsStore::boolean(QStringLiteral("autoSubs"));
    options.embedSubs = SettingsStore::boolean(QStringLiteral("embedSubs"));
    options.subLangs = SettingsStore::string(QStringLiteral("subLangs"));
    options.network = SettingsStore::networkSnapshot();
    options.presetName = QStringLiteral("Best Quality");
    return options;
}

} // namespace TestRequests
