import QtQuick
import QtQuick.Controls
import Morvane

// The notice while a search runs.
Item {
    id: face

    required property SearchScreenModel model

    Row {
        objectName: "loadingFace"
        x: Theme.pageInset
        y: 24 + Theme.pageInset
        spacing: 10

        BusyIndicator {
            anchors.verticalCenter: parent.verticalCenter
            implicitWidth: 18
            implicitHeight: 18
            running: true
        }

        Text {
            anchors.verticalCenter: parent.verticalCenter
            text: face.model.notice
            textFormat: Text.PlainText
            color: Theme.dim
            font.pixelSize: Theme.body
        }
    }
}
