import QtQuick
import Morvane

// Stands in for the music shell inside the main window's shell slot.
Rectangle {
    color: Theme.side

    Column {
        anchors.centerIn: parent
        spacing: 8
        Icon {
            anchors.horizontalCenter: parent.horizontalCenter
            name: "waveform.circle.fill"
            size: 44
            color: Theme.accent
        }
        Text {
            text: "Shell slot"
            color: Theme.text
            font.pixelSize: Theme.title2
        }
    }
}
