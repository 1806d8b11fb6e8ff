import QtQuick
import Morvane

// The square cover picture of a song from its candidate links, over a grey placeholder with a note
// while there is none; clipped to `radius` and outlined. The caller gives the frame.
Item {
    id: view

    property list<url> urls
    property real radius: 0

    implicitWidth: 54
    implicitHeight: 54

    ArtworkLoader {
        id: loader

        urls: view.urls
        radius: view.radius
    }

    Rectangle {
        anchors.fill: parent
        radius: view.radius
        gradient: Gradient {
            GradientStop { position: 0; color: Qt.rgba(0.17, 0.17, 0.17, 1) }
            GradientStop { position: 1; color: Qt.rgba(0.1, 0.1, 0.1, 1) }
        }

        Icon {
            anchors.centerIn: parent
            name: "music.note"
            size: Math.min(Theme.title2 * 1.3, view.height * 0.45)
            color: Qt.rgba(1, 1, 1, 0.25)
        }
    }

    Image {
        objectName: "artworkPicture"
        anchors.fill: parent
        // Pictures come from memory on this thread: switching shows the new one at once.
        asynchronous: false
        source: loader.source
        sourceSize.width: view.width
        sourceSize.height: view.height
        opacity: loader.loaded ? 1 : 0

        Behavior on opacity {
            NumberAnimation { duration: 150; easing.type: Easing.InQuad }
        }
    }

    Rectangle {
        anchors.fill: parent
        radius: view.radius
        color: "transparent"
        border.width: 1
        border.color: Theme.stroke
    }
}
