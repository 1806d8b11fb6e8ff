#include "DiagnosticsViewModel.h"

#include "core/AppPaths.h"
#include "core/LogManager.h"
#include "platform/DesktopServices.h"
#include "tools/DependencyManager.h"
#include "tools/Diagnostics.h"
#include "ui/downloader/ComponentRowPresentation.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QSysInfo>

namespace {

QVariantMap labelled(const QString &label, const QString &value)
{
    return {{QStringLiteral("label"), label}, {QStringLiteral("value"), value}};
}

} // namespace

DiagnosticsViewModel::DiagnosticsViewModel(DependencyManager *deps, DesktopServices *desktop,
                                           std::function<void()> repairTools, QObject *parent)
    : QObject(parent)
    , m_deps(deps)
    , m_desktop(desktop)
    , m_repairTools(std::move(repairTools))
{
    for (const auto signal : {&DependencyManager::statesChanged, &DependencyManager::diagnosticsChanged,
                              &DependencyManager::runningDiagnosticsChanged, &DependencyManager::busyChanged,
                              &DependencyManager::currentChanged, &DependencyManager::ejsDetailChanged})
        connect(deps, signal, this, &DiagnosticsViewModel::changed);
}

QVariantList DiagnosticsViewModel::systemRows()
{
    return {labelled(Diagnostics::systemName(), QSysInfo::prettyProductName()),
            labelled(QStringLiteral("Architecture"), Diagnostics::architectureText()),
            labelled(QStringLiteral("Tools folder"), AppPaths::sub(QStringLiteral("Tools"))),
            labelled(QStringLiteral("Logs folder"), AppPaths::sub(QStringLiteral("Logs")))};
}

QVariantList DiagnosticsViewModel::toolRows() const
{
    QVariantList rows;
    for (const Tool tool : Tools::all()) {
        QVariantMap row = ComponentRowPresentation::of(tool, m_deps->state(tool)).toVariant();
        row.insert(QStringLiteral("path"), tool == Tool::Ejs ? QString() : Tools::path(tool));
        rows.append(row);
    }
    return rows;
}

QString DiagnosticsViewModel::ejsLine() const
{
    const QString detail = m_deps->ejsDetail();
    return detail.isEmpty() ? QString() : QStringLiteral("yt-dlp-ejs: ") + detail;
}

QVariantList DiagnosticsViewModel::results() const
{
    QVariantList results;
    for (const DiagnosticItem &item : m_deps->diagnostics()) {
        results.append(QVariantMap{{QStringLiteral("icon"), item.ok ? QStringLiteral("checkmark.circle.fill")
                                                                    : QStringLiteral("xmark.octagon.fill")},
                                   {QStringLiteral("color"), item.ok ? QStringLiteral("green") : QStringLiteral("red")},
                                   {QStringLiteral("name"), item.name},
                                   {QStringLiteral("detail"), item.detail}});
    }
    return results;
}

DiagnosticsViewModel::Controls DiagnosticsViewModel::controlsFor(bool runningDiagnostics, bool busy, bool hasResults)
{
    return {!runningDiagnostics && !busy, !busy, hasResults, runningDiagnostics || busy};
}

DiagnosticsViewModel::Controls DiagnosticsViewModel::controls() const
{
    return controlsFor(m_deps->runningDiagnostics(), m_deps->busy(), !m_deps->diagnostics().isEmpty());
}

QString DiagnosticsViewModel::busyCaption() const
{
    return m_deps->busy() ? m_deps->current() : QString();
}

void DiagnosticsViewModel::shown()
{
    if (m_deps->diagnostics().isEmpty() && !m_deps->runningDiagnostics())
        m_deps->runDiagnostics();
}

void DiagnosticsViewModel::runDiagnostics()
{
    if (runEnabled())
        m_deps->runDiagnostics();
}

void DiagnosticsViewModel::repair()
{
    if (repairEnabled() && m_repairTools)
        m_repairTools();
}

void DiagnosticsViewModel::copyReport() const
{
    if (copyEnabled())
        QGuiApplication::clipboard()->setText(m_deps->report());
}

void DiagnosticsViewModel::revealAppLog() const
{
    m_desktop->reveal(LogManager::appLogPath());
}
