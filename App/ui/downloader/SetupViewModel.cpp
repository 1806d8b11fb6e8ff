#include "SetupViewModel.h"

#include "tools/DependencyManager.h"
#include "tools/Diagnostics.h"
#include "ui/downloader/PercentText.h"

SetupViewModel::SetupViewModel(DependencyManager *deps, std::function<void()> retrySetup, QObject *parent)
    : QObject(parent)
    , m_deps(deps)
    , m_retrySetup(std::move(retrySetup))
{
    for (const auto signal : {&DependencyManager::phaseChanged, &DependencyManager::statesChanged,
                              &DependencyManager::currentChanged, &DependencyManager::busyChanged})
        connect(deps, signal, this, &SetupViewModel::changed);
}

QString SetupViewModel::intro()
{
    return QStringLiteral("Downloading the tools needed for this computer (") + Diagnostics::architectureText() +
           QStringLiteral("). This only happens once.");
}

double SetupViewModel::overall() const
{
    return m_deps->overall();
}

QString SetupViewModel::percentText() const
{
    return ::percentText(m_deps->overall());
}

QString SetupViewModel::current() const
{
    return m_deps->current();
}

QList<ComponentRowPresentation> SetupViewModel::rows() const
{
    QList<ComponentRowPresentation> rows;
    for (const Tool tool : Tools::all())
        rows.append(ComponentRowPresentation::of(tool, m_deps->state(tool)));
    return rows;
}

QVariantList SetupViewModel::rowVariants() const
{
    QVariantList list;
    for (const ComponentRowPresentation &row : rows())
        list.append(row.toVariant());
    return list;
}

bool SetupViewModel::failed() const
{
    return m_deps->phase() == DependencyManager::Phase::Failed;
}

bool SetupViewModel::retryEnabled() const
{
    return !m_deps->busy();
}

void SetupViewModel::retry()
{
    if (retryEnabled() && m_retrySetup)
        m_retrySetup();
}
