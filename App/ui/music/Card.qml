import QtQuick
import QtQuick.Controls
import Morvane

// One card of a shelf or grid: a song, a station, a playlist or a playlist found by search. The
// whole card takes the click; a right click opens a song's menu, or a playlist's Play and Shuffle.
Item {
    id: card

    required property int index
    required property string kind
    required property string key
    required property string title
    required property string subtitle
    required property list<url> artwork
    required property string badge
    required property bool current
    // The list the card belongs to, in a shelf or in a grid.
    readonly property CardListModel cards: ListView.view ? ListView.view.model : GridView.view.model

    // Room for the artwork and two lines of title under it, whatever the title's length.
    readonly property real fullHeight: 222

    objectName: "card:" + key
    width: 164
    height: fullHeight

    Column {
        width: parent.width
        spacing: 8

        CardArt {
            urls: card.artwork
            symbol: card.badge

            // A station is marked as one at all times, not only under the pointer.
            Rectangle {
                visible: card.kind === "station"
                x: 8
                y: 8
                width: 26
                height: 26
                radius: 13
                color: Qt.rgba(0, 0, 0, 0.55)

                Icon {
                    anchors.centerIn: parent
                    name: "dot.radiowaves.left.and.right"
                    size: 14
                }
            }
        }
        Column {
            width: parent.width
            spacing: 2

            Text {
                objectName: "cardTitle"
                width: parent.width
                text: card.title
                textFormat: Text.PlainText
                color: card.current ? Theme.accent : Theme.text
                font.pixelSize: 13
                font.weight: Font.DemiBold
                wrapMode: Text.Wrap
                maximumLineCount: 2
                elide: Text.ElideRight
            }
            Text {
                width: parent.width
                text: card.subtitle
                textFormat: Text.PlainText
                color: Theme.dim
                font.pixelSize: 12
                maximumLineCount: 1
                elide: Text.ElideRight
            }
        }
    }

    MouseArea {
        anchors.fill: parent
        acceptedButtons: Qt.LeftButton | Qt.RightButton
        onClicked: mouse => {
            if (mouse.button === Qt.LeftButton) {
                card.cards.activate(card.index)
                return
            }
            if (card.kind === "track") {
                if (songMenu.status === Loader.Null)
                    songMenu.setSource("TrackMenuHost.qml", {"list": card.cards})
                songMenu.item.open(card.index, card, mouse.x, mouse.y)
                return
            }
            if (card.kind !== "playlist")
                return
            if (menu.status === Loader.Null)
                menu.setSource("PlaylistCardMenu.qml", {"cards": card.cards})
            menu.item.row = card.index
            menu.item.popup()
        }
    }

    // Built the first time they are asked for.
    Loader {
        id: menu
    }
    Loader {
        id: songMenu
    }
}
