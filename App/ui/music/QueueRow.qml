import QtQuick
import Morvane

// One queue entry: picture, title and artist, and the length, which turns into a remove button
// under the pointer (never on the song playing). Its owner acts on a double click and on remove.
Item {
    id: row

    required property string uid
    required property string title
    required property string artist
    required property string durationText
    required property list<url> artwork
    property bool current: false
    readonly property bool hovered: hover.hovered

    // A double click, and the remove button.
    signal play(string uid)
    signal remove(string uid)

    implicitHeight: 44

    HoverHandler {
        id: hover
    }

    TapHandler {
        onTapped: if (tapCount === 2) row.play(row.uid)
    }

    Row {
        anchors.left: parent.left
        anchors.right: trailing.left
        anchors.rightMargin: 10
        anchors.verticalCenter: parent.verticalCenter
        spacing: 10

        ArtworkView {
            width: 36
            height: 36
            anchors.verticalCenter: parent.verticalCenter
            urls: row.artwork
            radius: 5
        }

        Column {
            anchors.verticalCenter: parent.verticalCenter
            width: parent.width - 46
            spacing: 1

            Text {
                width: parent.width
                text: row.title
                textFormat: Text.PlainText
                elide: Text.ElideRight
                maximumLineCount: 1
                color: row.current ? Theme.accent : Theme.text
                font.pixelSize: 13
                font.weight: Font.Medium
            }

            Text {
                width: parent.width
                text: row.artist
                textFormat: Text.PlainText
                elide: Text.ElideRight
                maximumLineCount: 1
                color: Theme.dim
                font.pixelSize: 12
            }
        }
    }

    Item {
        id: trailing

        anchors.right: parent.right
        anchors.verticalCenter: parent.verticalCenter
        width: Math.max(duration.implicitWidth, 20)
        height: 20

        Text {
            id: duration

            anchors.right: parent.right
            anchors.verticalCenter: parent.verticalCenter
            visible: !removeButton.visible
            text: row.durationText
            textFormat: Text.PlainText
            color: Theme.dim
            font.pixelSize: Theme.caption
        }

        SymbolToolButton {
            id: removeButton

            objectName: "removeButton"
            anchors.right: parent.right
            anchors.verticalCenter: parent.verticalCenter
            visible: row.hovered && !row.current
            symbol: "xmark"
            help: qsTr("Remove")
            size: 12
            colour: Theme.dim
            onClicked: row.remove(row.uid)
        }
    }
}
