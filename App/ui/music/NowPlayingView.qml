import QtQuick
import QtQuick.Controls
import Morvane

// The song playing, large, over a blur of its picture: titles, seek bar, the big transport row,
// the actions, and beside them the first songs of "Up Next".
Rectangle {
    id: view

    required property NowPlayingModel model

    // The sizes drawn at a large window are the largest: in less room the artwork shrinks to the
    // height the other rows leave it, and "Up Next" narrows, then goes, before anything is cut.
    // Its width also leaves the close button's corner clear of the artwork.
    readonly property real columnWidth: Math.min(420, width - 60)
    readonly property real upNextWidth: Math.min(330, width - 60 - 24 - columnWidth - 44)
    readonly property bool upNextShown: upNextWidth >= 190
    readonly property real artworkSide: Math.max(160, Math.min(380, height - 60 - 3 * 22 - seekBar.height
                                                                   - transport.height - actions.height
                                                                   - (titles.visible ? titles.height + 22 : 0)))

    color: Theme.bg

    AbstractButton {
        id: closeButton

        objectName: "closeButton"
        // First in the view's Tab chain, drawn over the backdrop.
        z: 1
        x: 18
        y: 18
        width: 36
        height: 36
        focusPolicy: Qt.TabFocus
        Accessible.name: qsTr("Close")
        onClicked: view.model.close()
        background: Rectangle {
            radius: width / 2
            color: Qt.rgba(1, 1, 1, 0.1)

            FocusRing {
                shown: closeButton.visualFocus
                radius: width / 2
            }
        }
        contentItem: Icon {
            horizontalAlignment: Text.AlignHCenter
            verticalAlignment: Text.AlignVCenter
            name: "chevron.down"
            size: 16
            font.weight: Font.DemiBold
        }
    }

    ArtworkLoader {
        id: large

        urls: view.model.largeArtwork
        radius: 18
    }

    Image {
        objectName: "backdrop"
        anchors.fill: parent
        visible: large.loaded
        source: large.backdrop
        fillMode: Image.PreserveAspectCrop
        opacity: 0.35
        clip: true
    }

    Rectangle {
        anchors.fill: parent
        visible: large.loaded
        gradient: Gradient {
            GradientStop { position: 0; color: "transparent" }
            GradientStop { position: 1; color: Theme.bg }
        }
    }

    Row {
        anchors.centerIn: parent
        spacing: 44
        padding: 30

        Column {
            anchors.verticalCenter: parent.verticalCenter
            spacing: 22

            Item {
                objectName: "largeArtworkFrame"
                anchors.horizontalCenter: parent.horizontalCenter
                width: view.artworkSide
                height: view.artworkSide

                Image {
                    // The shadow image has a 60-point margin round a 380-point square; it scales
                    // with the artwork.
                    readonly property real margin: view.artworkSide * 60 / 380

                    x: -margin
                    y: -margin + 12
                    width: view.artworkSide + 2 * margin
                    height: width
                    source: "image://artwork/shadow"
                }

                Image {
                    objectName: "largeArtwork"
                    anchors.fill: parent
                    visible: large.loaded
                    asynchronous: false
                    source: large.source
                    sourceSize.width: 380
                    sourceSize.height: 380
                }

                ArtworkView {
                    objectName: "artworkFallback"
                    anchors.fill: parent
                    visible: !large.loaded
                    urls: view.model.artwork
                    radius: 18
                }
            }

            Column {
                id: titles

                anchors.horizontalCenter: parent.horizontalCenter
                width: view.columnWidth
                spacing: 4
                visible: view.model.hasCurrent

                Text {
                    width: parent.width
                    horizontalAlignment: Text.AlignHCenter
                    text: view.model.title
                    textFormat: Text.PlainText
                    wrapMode: Text.Wrap
                    maximumLineCount: 2
                    elide: Text.ElideRight
                    color: Theme.text
                    font.pixelSize: 22
                    font.bold: true
                }

                Text {
                    width: parent.width
                    horizontalAlignment: Text.AlignHCenter
                    text: view.model.subtitle
                    textFormat: Text.PlainText
                    elide: Text.ElideRight
                    maximumLineCount: 1
                    color: Theme.dim
                    font.pixelSize: 14
                }
            }

            SeekBar {
                id: seekBar

                width: view.columnWidth
                model: view.model.seek
            }

            TransportControls {
                id: transport

                anchors.horizontalCenter: parent.horizontalCenter
                model: view.model.transport
                big: true
            }

            Row {
                id: actions

                objectName: "nowPlayingActions"
                anchors.horizontalCenter: parent.horizontalCenter
                spacing: 22

                NowPlayingAction {
                    objectName: "likeAction"
                    visible: view.model.hasCurrent
                    symbol: view.model.likeSymbol
                    text: view.model.likeText
                    onClicked: view.model.toggleLike()
                }

                NowPlayingAction {
                    objectName: "radioAction"
                    visible: view.model.hasCurrent
                    symbol: "dot.radiowaves.left.and.right"
                    text: qsTr("Radio")
                    onClicked: view.model.startRadio()
                }

                NowPlayingAction {
                    objectName: "downloadAction"
                    visible: view.model.hasCurrent
                    symbol: "arrow.down.circle"
                    text: qsTr("Download")
                    onClicked: view.model.download()
                }

                NowPlayingAction {
                    objectName: "nonStopAction"
                    symbol: "infinity"
                    text: qsTr("Non-Stop")
                    colour: view.model.nonStop ? Theme.accent : Theme.dim
                    onClicked: view.model.toggleNonStop()
                }
            }
        }

        Column {
            objectName: "upNextColumn"
            anchors.verticalCenter: parent.verticalCenter
            visible: view.upNextShown
            width: view.upNextWidth
            height: Math.min(view.height - 60, 640)
            topPadding: 40
            bottomPadding: 40
            spacing: 10

            Text {
                text: qsTr("Up Next")
                textFormat: Text.PlainText
                color: Theme.text
                font.pixelSize: 18
                font.bold: true
            }

            ListView {
                objectName: "upNextList"
                width: parent.width
                height: parent.height - 120
                visible: view.model.hasUpcoming
                clip: true
                reuseItems: true
                activeFocusOnTab: true
                spacing: 2
                model: view.model.upcoming
                ScrollBar.vertical: ScrollBar {
                    objectName: "upNextScrollBar"
                    policy: ScrollBar.AlwaysOn
                }
                delegate: QueueRow {
                    width: ListView.view.width - 20
                    x: 6
                    onPlay: uid => view.model.upcoming.play(uid)
                    onRemove: uid => view.model.upcoming.remove(uid)
                }
            }

            Text {
                objectName: "upNextEmpty"
                width: parent.width
                visible: !view.model.hasUpcoming
                wrapMode: Text.WordWrap
                text: view.model.emptyText
                textFormat: Text.PlainText
                color: Theme.dim
                font.pixelSize: Theme.callout
            }
        }
    }
}
