import QtQuick
import Morvane

// The head of the search results: the title (the link's title wins) and count, the actions (Save as
// Playlist and Download All only for a playlist or mix link) and the playlists shelf.
Column {
    id: header

    required property SearchScreenModel model

    spacing: 22
    bottomPadding: 22

    Column {
        width: parent.width
        leftPadding: Theme.pageInset
        rightPadding: Theme.pageInset
        spacing: 4

        Text {
            objectName: "resultsTitle"
            width: parent.width - 2 * Theme.pageInset
            text: header.model.title
            textFormat: Text.PlainText
            wrapMode: Text.Wrap
            maximumLineCount: 2
            elide: Text.ElideRight
            color: Theme.text
            font.pixelSize: 26
            font.bold: true
        }

        Text {
            objectName: "resultsCount"
            text: header.model.count
            textFormat: Text.PlainText
            color: Theme.dim
            font.pixelSize: Theme.body
        }
    }

    Row {
        x: Theme.pageInset
        spacing: 10

        PillButton {
            objectName: "play"
            title: qsTr("Play")
            symbol: "play.fill"
            prominent: true
            onClicked: header.model.play()
        }

        PillButton {
            objectName: "shuffle"
            title: qsTr("Shuffle")
            symbol: "shuffle"
            onClicked: header.model.shuffle()
        }

        PillButton {
            objectName: "startRadio"
            title: qsTr("Start Radio")
            symbol: "dot.radiowaves.left.and.right"
            onClicked: header.model.startRadio()
        }

        PillButton {
            objectName: "saveAsPlaylist"
            visible: header.model.fromLink
            title: qsTr("Save as Playlist")
            symbol: "plus"
            onClicked: header.model.saveAsPlaylist()
        }

        PillButton {
            objectName: "downloadAll"
            visible: header.model.fromLink
            title: qsTr("Download All")
            symbol: "arrow.down.circle"
            onClicked: header.model.downloadAll()
        }
    }

    CardShelf {
        objectName: "playlistShelf"
        width: parent.width
        visible: header.model.hasPlaylists
        title: qsTr("Playlists")
        cards: header.model.playlists
    }
}
