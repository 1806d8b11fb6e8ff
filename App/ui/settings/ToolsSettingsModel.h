#pragma once

#include "ToolStateListModel.h"

#include <QObject>

#include <functional>

class DependencyManager;

// The Tools tab: the tools' states, the progress of a run, and three actions. The two switches
// bind Setting objects of their own. Both runs are started and left to themselves: what they
// do reaches the tab only through the tool manager's published state.
class ToolsSettingsModel final : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString toolsHeader MEMBER m_toolsHeader CONSTANT)
    Q_PROPERTY(QString autoUpdateText MEMBER m_autoUpdateText CONSTANT)
    Q_PROPERTY(QString remoteEJSText MEMBER m_remoteEJSText CONSTANT)
    Q_PROPERTY(QString checkText MEMBER m_checkText CONSTANT)
    Q_PROPERTY(QString repairText MEMBER m_repairText CONSTANT)
    Q_PROPERTY(QString revealText MEMBER m_revealText CONSTANT)
    Q_PROPERTY(ToolStateListModel *tools READ tools CONSTANT)
    // While a bootstrap, update or repair runs: the action row is disabled and the spinner and
    // the step text show (a spinner kept while idle would animate for nothing).
    Q_PROPERTY(bool busy READ busy NOTIFY busyChanged)
    // The current step while busy, else empty.
    Q_PROPERTY(QString stepText READ stepText NOTIFY stepTextChanged)

public:
    // Where the two outside actions go, both required: repair through the coordinator, which
    // may leave the setup screen once every tool works; reveal to the file manager.
    struct Actions
    {
        std::function<void()> repair;
        std::function<void(const QString &folder)> reveal;
    };

    // `deps` must outlive this model.
    ToolsSettingsModel(DependencyManager *deps, Actions actions, QObject *parent = nullptr);

    [[nodiscard]] ToolStateListModel *tools() { return &m_tools; }
    [[nodiscard]] bool busy() const;
    [[nodiscard]] QString stepText() const;

    Q_INVOKABLE void checkForUpdates();
    Q_INVOKABLE void repairDependencies();
    Q_INVOKABLE void revealToolsFolder();

Q_SIGNALS:
    void busyChanged();
    void stepTextChanged();

private:
    const QString m_toolsHeader = tr("Installed tools");
    const QString m_autoUpdateText = tr("Check for yt-dlp and Deno updates automatically");
    const QString m_remoteEJSText = tr("Let yt-dlp fetch challenge solver (ejs) from GitHub if needed");
    const QString m_checkText = tr("Check for Updates");
    const QString m_repairText = tr("Repair Dependencies");
    const QString m_revealText = tr("Reveal Tools Folder");
    DependencyManager *m_deps;
    Actions m_actions;
    ToolStateListModel m_tools;
};
