import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Morvane

// Shown instead of the music window until every tool is installed and verified: the overall progress, the
// current step, a row per tool and, after a failed install, Retry.
Item {
    id: screen

    required property SetupViewModel model

    ColumnLayout {
        anchors.centerIn: parent
        width: Math.min(parent.width - 80, 520)
        spacing: 22

        Icon {
            Layout.alignment: Qt.AlignHCenter
            name: "arrow.down.circle.fill"
            size: 56
            color: Theme.accent
        }

        Column {
            Layout.fillWidth: true
            spacing: 6

            Text {
                width: parent.width
                horizontalAlignment: Text.AlignHCenter
                text: "Setting up Morvane"
                textFormat: Text.PlainText
                color: Theme.text
                font.pixelSize: Theme.largeTitle
                font.weight: Font.DemiBold
            }
            Text {
                width: parent.width
                horizontalAlignment: Text.AlignHCenter
                wrapMode: Text.WordWrap
                text: screen.model.intro
                textFormat: Text.PlainText
                color: Theme.dim
                font.pixelSize: Theme.body
            }
        }

        Column {
            Layout.alignment: Qt.AlignHCenter
            Layout.preferredWidth: Math.min(parent.width, 460)
            spacing: 6

            ProgressBar {
                width: parent.width
                value: screen.model.overall
            }
            RowLayout {
                width: parent.width
                Text {
                    Layout.fillWidth: true
                    text: screen.model.current
                    textFormat: Text.PlainText
                    color: Theme.text
                    font.pixelSize: Theme.callout
                    elide: Text.ElideRight
                }
                Text {
                    text: screen.model.percentText
                    textFormat: Text.PlainText
                    color: Theme.dim
                    font.pixelSize: Theme.callout
                }
            }
        }

        Rectangle {
            Layout.fillWidth: true
            Layout.preferredHeight: tools.implicitHeight + 8
            radius: 12
            color: Theme.panel
            border.color: Theme.stroke

            Column {
                id: tools
                anchors.fill: parent
                anchors.leftMargin: 14
                anchors.rightMargin: 14
                anchors.topMargin: 4
                anchors.bottomMargin: 4

                Repeater {
                    model: screen.model.rows
                    delegate: Column {
                        id: toolLine
                        required property var modelData
                        width: parent ? parent.width : 0

                        ComponentRow {
                            width: parent.width
                            row: toolLine.modelData
                        }
                        // A divider between rows, none after the last (the challenge scripts).
                        Rectangle {
                            width: parent.width
                            height: 1
                            color: Theme.stroke
                            visible: toolLine.modelData.name !== "yt-dlp-ejs"
                        }
                    }
                }
            }
        }

        Column {
            Layout.alignment: Qt.AlignHCenter
            visible: screen.model.failed
            spacing: 8

            Text {
                anchors.horizontalCenter: parent.horizontalCenter
                text: "Some components couldn’t be installed. Check your internet connection and try again."
                textFormat: Text.PlainText
                color: Theme.red
                font.pixelSize: Theme.callout
            }
            SymbolButton {
                objectName: "retry"
                anchors.horizontalCenter: parent.horizontalCenter
                highlighted: true
                enabled: screen.model.retryEnabled
                symbol: "arrow.clockwise"
                text: "Retry"
                onClicked: screen.model.retry()
            }
        }
    }
}
