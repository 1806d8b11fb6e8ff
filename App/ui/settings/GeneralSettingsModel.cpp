#include "GeneralSettingsModel.h"

#include "FolderChoice.h"

#include "core/SettingsStore.h"

namespace {
const QString defaultTemplate = QStringLiteral("%(title)s [%(id)s].%(ext)s");
}

GeneralSettingsModel::GeneralSettingsModel(QObject *parent)
    : QObject(parent)
    , m_maxConcurrent(QStringLiteral("maxConcurrent"), 2, {1, 6, 1}, tr("Simultaneous downloads: "), QString())
{}

void GeneralSettingsModel::chooseFolder(const QUrl &folder)
{
    storeDownloadFolder(folder);
}

void GeneralSettingsModel::resetTemplate()
{
    SettingsStore::set(QStringLiteral("outputTemplate"), defaultTemplate);
}
