import QtQuick
import QtQuick.Controls
import Morvane
import Morvane.Style as Style

// The round play/pause button; it spins while the song loads, or waits for data while meant to play.
AbstractButton {
    id: button

    required property TransportModel model
    property real size: 38

    implicitWidth: size
    implicitHeight: size
    focusPolicy: Qt.NoFocus
    enabled: model.hasCurrent
    Accessible.name: model.playSymbol === "pause.fill" ? qsTr("Pause") : qsTr("Play")
    onClicked: model.togglePlay()

    background: Rectangle {
        radius: width / 2
        color: "white"
        opacity: button.enabled ? 1 : 0.35
    }

    contentItem: Item {
        Style.BusyIndicator {
            objectName: "spinner"
            anchors.centerIn: parent
            width: button.size * 0.55
            height: width
            running: button.model.busy
            visible: running
            color: "black"
        }

        Icon {
            objectName: "playSymbol"
            anchors.centerIn: parent
            // The play triangle looks centred a point to the right.
            anchors.horizontalCenterOffset: name === "play.fill" ? 1 : 0
            visible: !button.model.busy
            name: button.model.playSymbol
            size: button.size * 0.4
            font.bold: true
            color: "black"
        }
    }
}
