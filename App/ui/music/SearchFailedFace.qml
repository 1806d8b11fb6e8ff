import QtQuick
import Morvane

// A failed search: its message and "Try again", which repeats the last search.
Item {
    id: face

    required property SearchScreenModel model

    Column {
        objectName: "failedFace"
        y: 24 + 40
        width: parent.width
        spacing: 10

        Icon {
            anchors.horizontalCenter: parent.horizontalCenter
            name: "exclamationmark.magnifyingglass"
            size: 36
            color: Qt.rgba(1, 1, 1, 0.3)
        }

        Text {
            anchors.horizontalCenter: parent.horizontalCenter
            width: Math.min(implicitWidth, 440, parent.width - 80)
            horizontalAlignment: Text.AlignHCenter
            wrapMode: Text.Wrap
            text: face.model.message
            textFormat: Text.PlainText
            color: Theme.dim
            font.pixelSize: Theme.body
        }

        PillButton {
            objectName: "tryAgain"
            anchors.horizontalCenter: parent.horizontalCenter
            title: qsTr("Try again")
            symbol: "arrow.clockwise"
            onClicked: face.model.tryAgain()
        }
    }
}
