#pragma once

#include "QuitController.h"
#include "QuitDialog.h"
#include "Shell.h"
#include "TrayPlayer.h"
#include "coordinator/AppState.h"
#include "platform/DesktopServices.h"
#include "platform/MprisService.h"
#include "platform/TerminationSignals.h"
#include "ui/downloader/DiagnosticsViewModel.h"
#include "ui/downloader/DownloadQueueModel.h"
#include "ui/downloader/DownloadScreenModel.h"
#include "ui/downloader/HistoryViewModel.h"
#include "ui/downloader/LogSheetModel.h"
#include "ui/downloader/SetupViewModel.h"
#include "ui/music/MusicShellModel.h"
#include "ui/root/CommandController.h"
#include "ui/root/RootViewModel.h"
#include "ui/settings/MusicSettingsModel.h"
#include "ui/settings/ToolsSettingsModel.h"

#include <QObject>

// The application: the one coordinator, the view models of every screen wired to it, and the
// windows that show them. The entry point makes one after it has become the running instance.
class MorvaneApp final : public QObject
{
    Q_OBJECT

public:
    // The running application passes nothing (libmpv and the video site); tests pass stand-ins.
    explicit MorvaneApp(AppState::Backends backends = {}, QObject *parent = nullptr);
    ~MorvaneApp() override;

    // Builds the main window, hidden; false when its QML fails to load (the reason is in app.log).
    bool start();

    [[nodiscard]] AppState &state() { return m_state; }
    [[nodiscard]] Shell &shell() { return m_shell; }
    // The one road out: ends the event loop once everything is saved.
    [[nodiscard]] QuitController &quitController() { return m_quit; }
    [[nodiscard]] TrayPlayer &tray() { return m_tray; }

private:
    // Each time the main window appears, the start-up check runs again.
    void mainWindowVisibilityChanged(bool visible);

    // Declared in construction order: the view models read the coordinator's services.
    AppState m_state;
    DesktopServices m_desktop;
    RootViewModel m_root;
    SetupViewModel m_setup;
    DiagnosticsViewModel m_diagnostics;
    HistoryViewModel m_history;
    DownloadQueueModel m_queue;
    DownloadScreenModel m_download;
    LogSheetModel m_logSheet;
    MusicSettingsModel m_musicSettings;
    ToolsSettingsModel m_tools;
    CommandController m_commands;
    MusicShellModel m_musicShell;
    Shell m_shell;
    QuitDialog m_quitDialog;
    QuitController m_quit;
    TrayPlayer m_tray;
    TerminationSignals m_terminationSignals;
    MprisService m_mpris;
};
