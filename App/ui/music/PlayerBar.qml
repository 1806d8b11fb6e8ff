import QtQuick
import QtQuick.Layouts
import Morvane

// The strip along the bottom of the music window: what is playing, the transport and seek
// controls, and the tools (Non-Stop, download, queue, volume).
Rectangle {
    id: bar

    required property PlayerBarModel model

    implicitHeight: 78
    color: Theme.side

    RowLayout {
        anchors.fill: parent
        anchors.leftMargin: 16
        anchors.rightMargin: 16
        spacing: 16

        // The song; a click opens or closes Now Playing.
        Item {
            objectName: "nowPlayingGroup"
            Layout.preferredWidth: 300
            Layout.fillHeight: true

            TapHandler {
                onTapped: bar.model.open()
            }

            RowLayout {
                anchors.fill: parent
                spacing: 12

                ArtworkView {
                    Layout.preferredWidth: 54
                    Layout.preferredHeight: 54
                    urls: bar.model.artwork
                    radius: 8
                }

                ColumnLayout {
                    visible: bar.model.hasCurrent
                    Layout.fillWidth: true
                    spacing: 3

                    Text {
                        objectName: "titleLabel"
                        Layout.fillWidth: true
                        text: bar.model.title
                        textFormat: Text.PlainText
                        elide: Text.ElideRight
                        maximumLineCount: 1
                        color: Theme.text
                        font.pixelSize: 13
                        font.weight: Font.DemiBold
                    }

                    Text {
                        objectName: "statusLabel"
                        Layout.fillWidth: true
                        text: bar.model.statusText
                        textFormat: Text.PlainText
                        elide: Text.ElideRight
                        maximumLineCount: 1
                        color: Theme.dim
                        font.pixelSize: 12
                    }
                }

                SymbolToolButton {
                    objectName: "likeButton"
                    visible: bar.model.hasCurrent
                    symbol: bar.model.likeSymbol
                    help: bar.model.liked ? qsTr("Unlike") : qsTr("Like")
                    size: 15
                    colour: bar.model.liked ? Theme.accent : Theme.dim
                    onClicked: bar.model.toggleLike()
                }

                Text {
                    objectName: "nothingLabel"
                    visible: !bar.model.hasCurrent
                    Layout.fillWidth: true
                    text: qsTr("Nothing playing")
                    textFormat: Text.PlainText
                    color: Theme.dim
                    font.pixelSize: 13
                }
            }
        }

        // The room between the two groups; the transport takes up to 560 of it, centred.
        Item {
            Layout.fillWidth: true
            Layout.fillHeight: true

            ColumnLayout {
                objectName: "transportGroup"
                anchors.centerIn: parent
                width: Math.min(560, parent.width)
                spacing: 4

                TransportControls {
                    Layout.alignment: Qt.AlignHCenter
                    model: bar.model.transport
                }

                SeekBar {
                    Layout.fillWidth: true
                    model: bar.model.seek
                }
            }
        }

        Row {
            objectName: "toolsGroup"
            Layout.preferredWidth: 290
            Layout.alignment: Qt.AlignVCenter
            layoutDirection: Qt.RightToLeft
            spacing: 14

            VolumeSlider {
                anchors.verticalCenter: parent.verticalCenter
                model: bar.model.volume
                sliderWidth: 90
            }

            SymbolToolButton {
                objectName: "queueButton"
                anchors.verticalCenter: parent.verticalCenter
                symbol: "list.bullet"
                help: qsTr("Queue")
                colour: bar.model.showQueue ? Theme.accent : Theme.dim
                onClicked: bar.model.toggleQueue()
            }

            SymbolToolButton {
                objectName: "downloadButton"
                anchors.verticalCenter: parent.verticalCenter
                symbol: "arrow.down.circle"
                help: qsTr("Download this song")
                colour: Theme.dim
                enabled: bar.model.hasCurrent
                onClicked: bar.model.download()
            }

            SymbolToolButton {
                objectName: "nonStopButton"
                anchors.verticalCenter: parent.verticalCenter
                symbol: "infinity"
                help: bar.model.nonStopHelp
                bold: true
                colour: bar.model.nonStop ? Theme.accent : Theme.dim
                onClicked: bar.model.toggleNonStop()
            }
        }
    }
}
