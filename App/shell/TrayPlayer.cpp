#include "TrayPlayer.h"

#include "PanelPlacement.h"
#include "QuitController.h"
#include "Shell.h"
#include "coordinator/AppState.h"
#include "core/LogManager.h"

#include <QCursor>
#include <QGuiApplication>
#include <QQmlComponent>
#include <QQuickWindow>
#include <QScreen>

TrayPlayer::TrayPlayer(AppState &state, Shell &shell, QuitController &quit, QObject *parent)
    : QObject(parent)
    , m_player(state.player())
    , m_shell(shell)
    , m_quit(quit)
    , m_model(state)
{
    connect(&m_model, &MenuBarPlayerModel::openMainRequested, this, &TrayPlayer::openMain);
    connect(&m_model, &MenuBarPlayerModel::quitRequested, this, &TrayPlayer::quit);
}

// The windows go before the model they show.
TrayPlayer::~TrayPlayer() = default;

bool TrayPlayer::start()
{
    if (!QSystemTrayIcon::isSystemTrayAvailable()) {
        LogManager::appLog(QStringLiteral("Interface: the desktop has no tray; the Mini Player is in the File menu."));
        return false;
    }
    m_icon = std::make_unique<MenuBarIcon>(m_player);
    connect(m_icon.get(), &MenuBarIcon::clicked, this, &TrayPlayer::iconClicked);
    connect(m_icon.get(), &MenuBarIcon::openRequested, this, &TrayPlayer::openMain);
    connect(m_icon.get(), &MenuBarIcon::quitRequested, this, &TrayPlayer::quit);
    m_icon->show();
    return true;
}

std::unique_ptr<QQuickWindow> TrayPlayer::create(bool framed)
{
    QQmlComponent component(&m_shell.engine(), QUrl(QStringLiteral("qrc:/Morvane/music/MenuBarPlayerWindow.qml")));
    const QVariantMap properties{{QStringLiteral("model"), QVariant::fromValue(&m_model)},
                                 {QStringLiteral("framed"), framed}};
    std::unique_ptr<QObject> created(component.createWithInitialProperties(properties));
    auto *window = qobject_cast<QQuickWindow *>(created.get());
    if (!window) {
        LogManager::appLog(QStringLiteral("Interface: the small player could not be created: ") +
                           component.errorString());
        return nullptr;
    }
    created.release();
    return std::unique_ptr<QQuickWindow>(window);
}

void TrayPlayer::iconClicked()
{
    // StatusNotifier hosts keep the icon's place to themselves: the pointer is where the click was.
    const QRect geometry = m_icon->geometry();
    openPanel(geometry.isValid() ? geometry : QRect(QCursor::pos(), QSize(1, 1)));
}

void TrayPlayer::openPanel(const QRect &anchor)
{
    if (!m_panel) {
        m_panel = create(false);
        if (!m_panel)
            return;
        connect(m_panel.get(), &QWindow::activeChanged, this, &TrayPlayer::panelActiveChanged);
        // The queue opening makes it taller: it must stay on the screen.
        connect(m_panel.get(), &QWindow::heightChanged, this, &TrayPlayer::placePanel);
    }
    m_anchor = anchor;
    placePanel();
    Shell::bringForward(m_panel.get());
}

void TrayPlayer::placePanel()
{
    const QScreen *screen = QGuiApplication::screenAt(m_anchor.center());
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    m_panel->setPosition(PanelPlacement::topLeft(m_anchor, m_panel->size(), screen->availableGeometry()));
}

void TrayPlayer::panelActiveChanged()
{
    if (!m_panel->isActive())
        m_panel->hide();
}

void TrayPlayer::openMiniPlayer()
{
    if (!m_miniPlayer)
        m_miniPlayer = create(true);
    if (m_miniPlayer)
        Shell::bringForward(m_miniPlayer.get());
}

void TrayPlayer::openMain()
{
    if (m_panel)
        m_panel->hide();
    m_shell.showMainWindow();
}

void TrayPlayer::quit()
{
    if (m_panel)
        m_panel->hide();
    m_quit.requestQuit();
}
