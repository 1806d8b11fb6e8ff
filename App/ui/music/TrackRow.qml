import QtQuick
import QtQuick.Layouts
import Morvane

// One song of a vertical song list: its place, cover, title and artist, the downloaded mark, the
// heart, the length and the menu button. A double click plays the list from the song; a secondary
// click opens the same menu as the ellipsis. The heart and the menu button come forward under the
// pointer; the song playing is marked in the number column, or on the cover when there is none.
// The keyboard reaches the row as a whole (its list moves with the arrows): Return or Space plays
// as the double click does, the Menu key opens the menu at the ellipsis.
Item {
    id: row

    required property int index
    required property string title
    required property string artist
    required property string durationText
    required property int number
    required property bool current
    required property bool liked
    required property bool downloaded
    required property list<url> artwork
    required property string menuName
    required property TrackListModel list
    property bool showNumber: true
    readonly property bool hovered: hover.hovered

    // The menu of the song, to open at (x, y) of `at`.
    signal menuRequested(int index, Item at, real x, real y)

    function activate() {
        list.play(index)
    }
    function openMenu() {
        menuRequested(index, menuButton, 0, menuButton.height)
    }

    implicitHeight: 52
    focus: ListView.isCurrentItem
    // The list's one stop of the Tab chain, so an empty list is none.
    activeFocusOnTab: ListView.isCurrentItem
    Accessible.role: Accessible.ListItem
    Accessible.name: title
    Accessible.description: artist
    Accessible.onPressAction: activate()
    Keys.onPressed: event => event.accepted = KeyboardAccess.press(row, event.key, event.modifiers)

    HoverHandler {
        id: hover
    }

    TapHandler {
        onTapped: if (tapCount === 2) row.list.play(row.index)
    }

    TapHandler {
        acceptedButtons: Qt.RightButton
        onTapped: eventPoint => row.menuRequested(row.index, row, eventPoint.position.x, eventPoint.position.y)
    }

    Rectangle {
        anchors.fill: parent
        radius: 8
        color: row.hovered ? Qt.rgba(1, 1, 1, 0.07) : "transparent"
    }

    FocusRing {
        shown: row.activeFocus
        inset: 0
        radius: 8
    }

    RowLayout {
        anchors.fill: parent
        anchors.leftMargin: 10
        anchors.rightMargin: 10
        spacing: 12

        Item {
            objectName: "numberColumn"
            visible: row.showNumber
            Layout.preferredWidth: 26
            Layout.fillHeight: true

            EqualizerBars {
                anchors.centerIn: parent
                visible: row.current
                active: row.list.playing
            }

            Icon {
                anchors.centerIn: parent
                visible: !row.current && row.hovered
                name: "play.fill"
                size: Theme.caption + 2
            }

            Text {
                anchors.centerIn: parent
                visible: !row.current && !row.hovered
                text: row.number
                textFormat: Text.PlainText
                color: Theme.dim
                font.pixelSize: Theme.callout
            }
        }

        ArtworkView {
            Layout.preferredWidth: 42
            Layout.preferredHeight: 42
            urls: row.artwork
            radius: 6

            // Without a number column the mark sits on the cover.
            Rectangle {
                anchors.fill: parent
                visible: row.current && !row.showNumber
                radius: 6
                color: Qt.rgba(0, 0, 0, 0.5)

                EqualizerBars {
                    anchors.centerIn: parent
                    active: row.list.playing
                }
            }
        }

        Column {
            Layout.fillWidth: true
            spacing: 2

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

            Row {
                width: parent.width
                spacing: 4

                Icon {
                    objectName: "downloadedMark"
                    anchors.verticalCenter: parent.verticalCenter
                    visible: row.downloaded
                    name: "arrow.down.circle.fill"
                    size: 10
                    color: Theme.dim
                }

                Text {
                    width: parent.width - (row.downloaded ? 14 : 0)
                    text: row.artist
                    textFormat: Text.PlainText
                    elide: Text.ElideRight
                    maximumLineCount: 1
                    color: Theme.dim
                    font.pixelSize: 12
                }
            }
        }

        SymbolToolButton {
            objectName: "likeButton"
            // The flexible gap of at least 8 between the text and the heart.
            Layout.leftMargin: 8 + parent.spacing
            symbol: row.liked ? "heart.fill" : "heart"
            focusPolicy: Qt.NoFocus
            Accessible.name: row.liked ? qsTr("Unlike") : qsTr("Like")
            size: 14
            colour: row.liked ? Theme.accent : Theme.dim
            opacity: row.hovered || row.liked ? 1 : 0
            onClicked: row.list.toggleLike(row.index)
        }

        Text {
            Layout.preferredWidth: 48
            horizontalAlignment: Text.AlignRight
            text: row.durationText
            textFormat: Text.PlainText
            color: Theme.dim
            font.pixelSize: 12
        }

        Item {
            Layout.preferredWidth: 26
            Layout.preferredHeight: 22

            SymbolToolButton {
                id: menuButton

                objectName: "menuButton"
                anchors.centerIn: parent
                width: 22
                height: 22
                symbol: "ellipsis"
                focusPolicy: Qt.NoFocus
                Accessible.name: row.menuName
                colour: Theme.dim
                opacity: row.hovered ? 1 : 0.35
                onClicked: row.openMenu()
            }
        }
    }
}
