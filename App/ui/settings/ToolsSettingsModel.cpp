#include "ToolsSettingsModel.h"

#include "core/AppPaths.h"
#include "tools/DependencyManager.h"

ToolsSettingsModel::ToolsSettingsModel(DependencyManager *deps, Actions actions, QObject *parent)
    : QObject(parent)
    , m_deps(deps)
    , m_actions(std::move(actions))
    , m_tools(deps)
{
    connect(m_deps, &DependencyManager::busyChanged, this, &ToolsSettingsModel::busyChanged);
    connect(m_deps, &DependencyManager::busyChanged, this, &ToolsSettingsModel::stepTextChanged);
    connect(m_deps, &DependencyManager::currentChanged, this, &ToolsSettingsModel::stepTextChanged);
}

bool ToolsSettingsModel::busy() const
{
    return m_deps->busy();
}

QString ToolsSettingsModel::stepText() const
{
    return m_deps->busy() ? m_deps->current() : QString();
}

void ToolsSettingsModel::checkForUpdates()
{
    // The task runs on by itself; the manager lives as long as the process.
    m_deps->updateTools();
}

void ToolsSettingsModel::repairDependencies()
{
    m_actions.repair();
}

void ToolsSettingsModel::revealToolsFolder()
{
    m_actions.reveal(AppPaths::sub(QStringLiteral("Tools")));
}
