import QtQuick
import QtQuick.Controls
import Morvane

// The small player of the tray panel and the Mini Player window: the current song with like and
// Non-Stop, seek bar, transport, volume, the last playback error, the next eight songs behind a
// disclosure, and the ways to the main window and out.
Column {
    id: player

    required property MenuBarPlayerModel model
    // Whether the queue is open; each new panel starts closed.
    property bool showQueue: false

    width: 330
    padding: 16
    spacing: 12

    Row {
        width: parent.width - 2 * player.padding
        spacing: 12

        ArtworkView {
            anchors.verticalCenter: parent.verticalCenter
            width: 84
            height: 84
            urls: player.model.artwork
            radius: 10
        }

        Column {
            anchors.verticalCenter: parent.verticalCenter
            width: parent.width - 84 - parent.spacing
            spacing: 4

            Text {
                objectName: "titleLabel"
                width: parent.width
                text: player.model.hasCurrent ? player.model.title : qsTr("Nothing playing")
                textFormat: Text.PlainText
                wrapMode: Text.Wrap
                elide: Text.ElideRight
                maximumLineCount: 2
                color: Theme.text
                font.pixelSize: 14
                font.weight: Font.DemiBold
            }

            Text {
                objectName: "statusLabel"
                width: parent.width
                text: player.model.hasCurrent ? player.model.statusText : qsTr("Open Morvane to search for music.")
                textFormat: Text.PlainText
                elide: Text.ElideRight
                maximumLineCount: 1
                wrapMode: player.model.hasCurrent ? Text.NoWrap : Text.Wrap
                color: Theme.dim
                font.pixelSize: player.model.hasCurrent ? 12 : Theme.caption
            }

            Row {
                visible: player.model.hasCurrent
                topPadding: 2
                spacing: 10

                SymbolToolButton {
                    objectName: "likeButton"
                    symbol: player.model.likeSymbol
                    help: player.model.liked ? qsTr("Unlike") : qsTr("Like")
                    size: 14
                    onClicked: player.model.toggleLike()
                }

                SymbolToolButton {
                    objectName: "nonStopButton"
                    symbol: "infinity"
                    help: qsTr("Non-Stop Playback")
                    size: 14
                    colour: player.model.nonStop ? Theme.accent : Theme.dim
                    onClicked: player.model.toggleNonStop()
                }
            }
        }
    }

    SeekBar {
        width: parent.width - 2 * player.padding
        model: player.model.seek
    }

    TransportControls {
        anchors.horizontalCenter: parent.horizontalCenter
        model: player.model.transport
    }

    VolumeSlider {
        anchors.horizontalCenter: parent.horizontalCenter
        model: player.model.volume
        sliderWidth: 200
    }

    Text {
        objectName: "errorLabel"
        width: parent.width - 2 * player.padding
        visible: player.model.errorMessage !== ""
        text: player.model.errorMessage
        textFormat: Text.PlainText
        wrapMode: Text.Wrap
        elide: Text.ElideRight
        maximumLineCount: 2
        color: Theme.orange
        font.pixelSize: Theme.caption
    }

    Column {
        width: parent.width - 2 * player.padding

        // The disclosure: every tap toggles, quick pairs included; a stop of the Tab chain, toggled by
        // Return or Space.
        Item {
            id: disclosure

            function activate() {
                player.showQueue = !player.showQueue
            }

            objectName: "queueDisclosure"
            width: parent.width
            height: disclosureRow.implicitHeight
            activeFocusOnTab: true
            Accessible.role: Accessible.Button
            Accessible.name: player.model.queueTitle
            Accessible.onPressAction: activate()
            Keys.onPressed: event => event.accepted = KeyboardAccess.press(disclosure, event.key, event.modifiers)

            TapHandler {
                onTapped: disclosure.activate()
            }

            FocusRing {
                shown: disclosure.activeFocus
            }

            Row {
                id: disclosureRow

                spacing: 4

                Icon {
                    anchors.verticalCenter: parent.verticalCenter
                    name: player.showQueue ? "chevron.down" : "chevron.right"
                    size: 14
                    color: Theme.dim
                }

                Text {
                    objectName: "queueTitle"
                    anchors.verticalCenter: parent.verticalCenter
                    text: player.model.queueTitle
                    textFormat: Text.PlainText
                    color: Theme.text
                    font.pixelSize: 12
                    font.weight: Font.Medium
                }
            }
        }

        Column {
            objectName: "queueRows"
            width: parent.width
            visible: player.showQueue && player.model.hasUpcoming
            topPadding: 4
            spacing: 2

            Repeater {
                model: player.model.upcoming
                delegate: MenuBarQueueRow {
                    width: parent.width
                    onPlay: uid => player.model.upcoming.play(uid)
                }
            }
        }

        Text {
            objectName: "queueEmpty"
            visible: player.showQueue && !player.model.hasUpcoming
            topPadding: 4
            bottomPadding: 4
            text: player.model.emptyQueueText
            textFormat: Text.PlainText
            color: Theme.dim
            font.pixelSize: Theme.caption
        }
    }

    Rectangle {
        width: parent.width - 2 * player.padding
        height: 1
        color: Theme.stroke
    }

    Item {
        width: parent.width - 2 * player.padding
        height: openButton.implicitHeight

        PlainTextButton {
            id: openButton

            objectName: "openMainButton"
            anchors.left: parent.left
            text: qsTr("Open Morvane")
            font.pixelSize: 12
            onClicked: player.model.openMain()
        }

        PlainTextButton {
            objectName: "quitButton"
            anchors.right: parent.right
            text: qsTr("Quit")
            font.pixelSize: 12
            onClicked: player.model.quit()
        }
    }
}
