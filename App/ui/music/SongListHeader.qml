import QtQuick
import Morvane

// The head of a song list: the cover (the first song's, or the list's symbol while empty), the
// title and count line, Play, Shuffle and Download (off while empty) with the screen's own
// buttons, and the empty message.
Column {
    id: header

    required property SongListScreenModel model
    // The screen's own buttons after Download: a file of this folder and its properties.
    property string extraFile
    property var extraProperties: ({})

    leftPadding: Theme.pageInset
    rightPadding: Theme.pageInset
    topPadding: 18
    bottomPadding: 8
    spacing: 16

    Row {
        spacing: 20

        Item {
            width: 150
            height: 150

            ArtworkView {
                objectName: "listCover"
                anchors.fill: parent
                visible: !header.model.empty
                urls: header.model.cover
                radius: 14
            }

            Rectangle {
                objectName: "symbolCover"
                anchors.fill: parent
                visible: header.model.empty
                radius: 14
                color: Theme.panel

                Icon {
                    anchors.centerIn: parent
                    name: header.model.symbol
                    size: Theme.largeTitle
                    color: Theme.dim
                }
            }
        }

        Column {
            anchors.bottom: parent.bottom
            spacing: 6

            Text {
                objectName: "listTitle"
                width: header.width - 2 * Theme.pageInset - 170
                text: header.model.title
                textFormat: Text.PlainText
                wrapMode: Text.Wrap
                maximumLineCount: 2
                elide: Text.ElideRight
                color: Theme.text
                font.pixelSize: 34
                font.bold: true
            }

            Text {
                objectName: "listDetail"
                text: header.model.detail
                textFormat: Text.PlainText
                color: Theme.dim
                font.pixelSize: Theme.body
            }
        }
    }

    Row {
        spacing: 10

        PillButton {
            objectName: "play"
            anchors.verticalCenter: parent.verticalCenter
            enabled: !header.model.empty
            title: qsTr("Play")
            symbol: "play.fill"
            prominent: true
            onClicked: header.model.play()
        }

        PillButton {
            objectName: "shuffle"
            anchors.verticalCenter: parent.verticalCenter
            enabled: !header.model.empty
            title: qsTr("Shuffle")
            symbol: "shuffle"
            onClicked: header.model.shuffle()
        }

        PillButton {
            objectName: "download"
            anchors.verticalCenter: parent.verticalCenter
            enabled: !header.model.empty
            title: qsTr("Download")
            symbol: "arrow.down.circle"
            onClicked: header.model.download()
        }

        Loader {
            anchors.verticalCenter: parent.verticalCenter
            Component.onCompleted: if (header.extraFile !== "")
                setSource(header.extraFile, header.extraProperties)
        }
    }

    Text {
        objectName: "emptyMessage"
        width: parent.width - 2 * Theme.pageInset
        visible: header.model.empty
        padding: 30
        horizontalAlignment: Text.AlignHCenter
        wrapMode: Text.Wrap
        text: header.model.emptyMessage
        textFormat: Text.PlainText
        color: Theme.dim
        font.pixelSize: Theme.body
    }
}
