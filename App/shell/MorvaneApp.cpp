#include "MorvaneApp.h"

#include "core/FreedMemory.h"
#include "ui/AppStateTypes.h"
#include "ui/music/ArtworkProvider.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QSessionManager>


MorvaneApp::MorvaneApp(AppState::Backends backends, QObject *parent)
    : QObject(parent)
    , m_state(std::move(backends))
    // A drop is link text from outside like any other, and takes the same road.
    , m_root(&m_state, [this](const QString &text) { Q_EMIT m_shell.linkTextReceived(text); })
    , m_setup(&m_state.deps(), [this] { m_state.retrySetup(); })
    , m_diagnostics(&m_state.deps(), &m_desktop, [this] { m_state.repairTools(); })
    , m_history(&m_state.history(), &m_state.downloads(), &m_desktop)
    , m_queue(&m_state.downloads(), &m_desktop)
    , m_download(m_state)
    , m_logSheet(&m_desktop)
    , m_musicSettings(m_state.player(), m_state.library())
    , m_tools(&m_state.deps(),
              {[this] { m_state.repairTools(); }, [this](const QString &folder) { m_desktop.revealFolder(folder); }})
    , m_commands(&m_state, &m_desktop)
    , m_musicShell(&m_state)
    , m_shell(&m_state.network())
    , m_quitDialog(m_shell)
    , m_quit(
          m_state.downloads(), [this] { m_state.player().persistNow(); }, m_quitDialog)
    , m_tray(m_state, m_shell, m_quit)
    , m_mpris(&m_state.player())
{
    connect(&m_commands, &CommandController::quitRequested, &m_quit, &QuitController::requestQuit);
    connect(&m_commands, &CommandController::miniPlayerRequested, &m_tray, &TrayPlayer::openMiniPlayer);
    connect(&m_quit, &QuitController::readyToExit, this, [] { QCoreApplication::exit(0); });
    // A signal or the end of the session never waits for an answer.
    connect(&m_terminationSignals, &TerminationSignals::received, &m_quit, &QuitController::quitUnasked);
    connect(qApp, &QGuiApplication::commitDataRequest, &m_quit, [this](QSessionManager &) { m_quit.quitUnasked(); });
    connect(&m_shell, &Shell::linkTextReceived, &m_state, &AppState::receive);

    // The desktop's media controls: raising, quitting and opening links take the same roads as
    // the application's own.
    connect(&m_mpris, &MprisService::raiseRequested, &m_shell, &Shell::showMainWindow);
    connect(&m_mpris, &MprisService::quitRequested, &m_quit, &QuitController::requestQuit);
    connect(&m_mpris, &MprisService::openUriRequested, this, [this](const QString &uri) {
        LaunchRequest request;
        request.kind = LaunchRequest::Kind::Open;
        request.uris = QStringList{uri};
        m_shell.handle(request);
    });
    // The picture the player shows, from a file: clients need no network, and no link of a size
    // that may not exist.
    m_mpris.setArtworkLink(
        [this](const QImage &artwork) { return QUrl::fromLocalFile(m_state.artwork().fileFor(artwork)); });
    ArtworkProvider::install(m_shell.engine(), m_state.artwork());
    AppStateForeign::instance = &m_state;
}

MorvaneApp::~MorvaneApp()
{
    if (AppStateForeign::instance == &m_state)
        AppStateForeign::instance = nullptr;
}

bool MorvaneApp::start()
{
    const QVariantMap models{
        {QStringLiteral("root"), QVariant::fromValue(&m_root)},
        {QStringLiteral("setup"), QVariant::fromValue(&m_setup)},
        {QStringLiteral("diagnostics"), QVariant::fromValue(&m_diagnostics)},
        {QStringLiteral("history"), QVariant::fromValue(&m_history)},
        {QStringLiteral("queue"), QVariant::fromValue(&m_queue)},
        {QStringLiteral("download"), QVariant::fromValue(&m_download)},
        {QStringLiteral("logSheet"), QVariant::fromValue(&m_logSheet)},
        {QStringLiteral("music"), QVariant::fromValue(&m_musicSettings)},
        {QStringLiteral("tools"), QVariant::fromValue(&m_tools)},
        {QStringLiteral("commands"), QVariant::fromValue(&m_commands)},
        {QStringLiteral("musicShell"), QVariant::fromValue(&m_musicShell)},
    };
    m_commands.setMiniPlayerOffered(!m_tray.start());
    if (!m_shell.load(models))
        return false;
    connect(m_shell.mainWindow(), &QWindow::visibleChanged, this, &MorvaneApp::mainWindowVisibilityChanged);
    // Compiling the window leaves freed buffers behind. (The frame may be swapped on the render
    // thread.)
    connect(
        m_shell.mainWindow(), &QQuickWindow::frameSwapped, this, &returnFreedMemory,
        static_cast<Qt::ConnectionType>(Qt::QueuedConnection | Qt::SingleShotConnection));
    return true;
}

void MorvaneApp::mainWindowVisibilityChanged(bool visible)
{
    if (visible)
        m_state.launch();
}
