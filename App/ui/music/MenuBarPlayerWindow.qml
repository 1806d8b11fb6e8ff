import QtQuick
import Morvane

// The small player in a window of its own: frameless as the tray's panel, framed as the Mini
// Player where the desktop has no tray. Its height follows the content (the queue opening).
// Escape and Ctrl+W close it.
AppWindow {
    id: window

    required property MenuBarPlayerModel model
    property bool framed: false

    objectName: framed ? "miniPlayerWindow" : "trayPanel"
    title: qsTr("Mini Player")
    // A tool window keeps the panel out of the task bar.
    flags: framed ? Qt.Window : Qt.Tool | Qt.FramelessWindowHint
    width: content.width
    height: content.implicitHeight
    // The framed window's width is the player's; its height follows the queue opening.
    minimumWidth: content.width
    maximumWidth: content.width

    Shortcut {
        sequences: ["Esc", "Ctrl+W"]
        onActivated: window.close()
    }

    MenuBarPlayer {
        id: content

        model: window.model
    }
}
