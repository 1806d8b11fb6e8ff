#include "MenuBarIcon.h"

#include "player/PlayerManager.h"
#include "ui/Icons.h"

#include <QPainter>
#include <QPixmap>

namespace {
// The accent of the interface's palette: it reads on light and dark panels alike.
const QColor glyphColour = QColor::fromRgbF(1.0f, 0.34f, 0.42f);
} // namespace

MenuBarIcon::MenuBarIcon(PlayerManager &player, QObject *parent)
    : QObject(parent)
    , m_player(player)
{
    connect(m_menu.addAction(tr("Open Morvane")), &QAction::triggered, this, &MenuBarIcon::openRequested);
    connect(m_menu.addAction(tr("Quit")), &QAction::triggered, this, &MenuBarIcon::quitRequested);
    m_tray.setContextMenu(&m_menu);
    m_tray.setToolTip(QStringLiteral("Morvane"));
    connect(&m_tray, &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        if (reason == QSystemTrayIcon::Trigger)
            Q_EMIT clicked();
    });
    connect(&m_player, &PlayerManager::playingChanged, this, &MenuBarIcon::followPlayer);
    followPlayer();
}

void MenuBarIcon::show()
{
    m_tray.show();
}

void MenuBarIcon::followPlayer()
{
    const QString symbol =
        m_player.isPlaying() ? QStringLiteral("waveform.circle.fill") : QStringLiteral("music.note.list");
    if (symbol == m_symbol)
        return;
    m_symbol = symbol;
    m_tray.setIcon(symbolIcon(symbol));
}

QIcon MenuBarIcon::symbolIcon(const QString &symbol)
{
    const std::optional<char32_t> codePoint = Icons::codePoint(symbol);
    QIcon icon;
    if (!codePoint)
        return icon;
    QFont font(Icons::load());
    for (const int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::TextAntialiasing);
        font.setPixelSize(size);
        painter.setFont(font);
        painter.setPen(glyphColour);
        painter.drawText(pixmap.rect(), Qt::AlignCenter, QString::fromUcs4(&*codePoint, 1));
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}
