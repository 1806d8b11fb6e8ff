import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Morvane

// The palette, the text styles, the Basic controls as the palette restyles them, and every icon
// with its name.
AppWindow {
    width: 1280
    height: 800

    ColumnLayout {
        anchors.fill: parent
        anchors.margins: 20
        spacing: 14

        Row {
            spacing: 10
            Repeater {
                model: [
                    {"name": "bg", "colour": Theme.bg},
                    {"name": "side", "colour": Theme.side},
                    {"name": "panel", "colour": Theme.panel},
                    {"name": "stroke", "colour": Theme.stroke},
                    {"name": "accent", "colour": Theme.accent},
                    {"name": "dim", "colour": Theme.dim}
                ]
                delegate: Rectangle {
                    required property var modelData
                    width: 120
                    height: 64
                    radius: 8
                    color: modelData.colour
                    border.color: Theme.stroke
                    Text {
                        anchors.left: parent.left
                        anchors.bottom: parent.bottom
                        anchors.margins: 6
                        text: parent.modelData.name
                        color: Theme.text
                        font.pixelSize: Theme.caption
                    }
                }
            }
        }

        Row {
            spacing: 16
            Repeater {
                model: [
                    {"name": "Large Title", "size": Theme.largeTitle},
                    {"name": "Title", "size": Theme.title},
                    {"name": "Title 2", "size": Theme.title2},
                    {"name": "Title 3", "size": Theme.title3},
                    {"name": "Body", "size": Theme.body},
                    {"name": "Callout", "size": Theme.callout},
                    {"name": "Caption", "size": Theme.caption}
                ]
                delegate: Text {
                    required property var modelData
                    text: modelData.name
                    color: Theme.text
                    font.pixelSize: modelData.size
                }
            }
            Text {
                text: "Secondary"
                color: Theme.dim
                font.pixelSize: Theme.body
            }
        }

        Row {
            spacing: 12
            Button {
                text: "Button"
            }
            Button {
                text: "Highlighted"
                highlighted: true
            }
            TextField {
                placeholderText: "Link"
            }
            Switch {
                checked: true
            }
            CheckBox {
                text: "Check"
                checked: true
            }
            Slider {
                value: 0.6
            }
        }

        GridView {
            Layout.fillWidth: true
            Layout.fillHeight: true
            cellWidth: 154
            cellHeight: 54
            interactive: false
            model: Icons.names
            delegate: Column {
                required property string modelData
                width: 154
                spacing: 2
                Icon {
                    anchors.horizontalCenter: parent.horizontalCenter
                    name: parent.modelData
                    size: 24
                    color: Theme.accent
                }
                Text {
                    width: parent.width
                    horizontalAlignment: Text.AlignHCenter
                    elide: Text.ElideMiddle
                    text: parent.modelData
                    color: Theme.dim
                    font.pixelSize: Theme.caption
                }
            }
        }
    }
}
