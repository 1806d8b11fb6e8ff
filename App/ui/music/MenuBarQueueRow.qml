import QtQuick
import Morvane

// One of the next songs in the small player: picture, title and artist; a click plays it.
Item {
    id: row

    required property string uid
    required property string title
    required property string artist
    required property list<url> artwork

    signal play(string uid)

    implicitHeight: 32

    TapHandler {
        onTapped: row.play(row.uid)
    }

    Row {
        anchors.fill: parent
        spacing: 8

        ArtworkView {
            anchors.verticalCenter: parent.verticalCenter
            width: 28
            height: 28
            urls: row.artwork
            radius: 4
        }

        Column {
            anchors.verticalCenter: parent.verticalCenter
            width: parent.width - 36

            Text {
                width: parent.width
                text: row.title
                textFormat: Text.PlainText
                elide: Text.ElideRight
                maximumLineCount: 1
                color: Theme.text
                font.pixelSize: 12
            }

            Text {
                width: parent.width
                text: row.artist
                textFormat: Text.PlainText
                elide: Text.ElideRight
                maximumLineCount: 1
                color: Theme.dim
                font.pixelSize: 11
            }
        }
    }
}
