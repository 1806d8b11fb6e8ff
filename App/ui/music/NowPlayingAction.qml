import QtQuick
import QtQuick.Controls
import Morvane

// One action of the Now Playing view: a symbol and its text.
AbstractButton {
    id: action

    property string symbol
    property color colour: Theme.dim

    focusPolicy: Qt.NoFocus
    Accessible.name: text
    contentItem: Row {
        spacing: 5

        Icon {
            anchors.verticalCenter: parent.verticalCenter
            name: action.symbol
            size: 13
            color: action.colour
        }

        Text {
            anchors.verticalCenter: parent.verticalCenter
            text: action.text
            textFormat: Text.PlainText
            color: action.colour
            font.pixelSize: 13
        }
    }
}
