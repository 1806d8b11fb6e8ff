import QtQuick
import Morvane

// What a screen or panel shows when it has nothing to list: a symbol, a heading and a message,
// centred in whatever space it is given.
Item {
    id: state

    property string symbol
    property string title
    property string message

    implicitWidth: column.implicitWidth + 80
    implicitHeight: column.implicitHeight + 80

    Column {
        id: column
        anchors.centerIn: parent
        width: Math.min(parent.width - 80, Math.max(heading.implicitWidth, explanation.implicitWidth, 44))
        spacing: 10

        Icon {
            anchors.horizontalCenter: parent.horizontalCenter
            name: state.symbol
            size: 44
            color: Qt.rgba(1, 1, 1, 0.25)
        }
        Text {
            id: heading
            width: parent.width
            horizontalAlignment: Text.AlignHCenter
            wrapMode: Text.Wrap
            text: state.title
            textFormat: Text.PlainText
            color: Theme.text
            font.pixelSize: Theme.title3
            font.weight: Font.DemiBold
        }
        Text {
            id: explanation
            anchors.horizontalCenter: parent.horizontalCenter
            width: Math.min(parent.width, 380)
            horizontalAlignment: Text.AlignHCenter
            wrapMode: Text.Wrap
            text: state.message
            textFormat: Text.PlainText
            color: Theme.dim
            font.pixelSize: Theme.body
        }
    }
}
