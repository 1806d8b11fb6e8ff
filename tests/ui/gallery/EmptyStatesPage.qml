import QtQuick
import Morvane

// An empty state in a panel-sized box and in a screen-sized one with a message that wraps.
AppWindow {
    width: 1000
    height: 520

    Rectangle {
        x: 20
        y: 20
        width: 320
        height: 280
        color: Theme.side
        border.color: Theme.stroke

        EmptyState {
            anchors.fill: parent
            symbol: "music.note.list"
            title: "Queue is empty"
            message: "Play something to get started."
        }
    }
    Rectangle {
        x: 360
        y: 20
        width: 620
        height: 480
        color: Theme.panel

        EmptyState {
            anchors.fill: parent
            symbol: "music.note.list"
            title: "No playlists yet"
            message: "Create a playlist from any song's menu, or import one from a link. Playlists you make show up here and in the sidebar."
        }
    }
}
