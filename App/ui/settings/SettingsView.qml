import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Morvane

// The settings as tabs, Music first. Whoever shows it gives it its size and place; a new view
// opens on Music, because nothing keeps which tab was chosen.
Control {
    id: view

    required property MusicSettingsModel music
    required property ToolsSettingsModel tools

    implicitWidth: 560
    implicitHeight: 460
    // The body size for every control and text of the tabs.
    font.pixelSize: Theme.body

    // Fills whatever it is given, so a short page scrolls its tab instead of cutting its last rows.
    ColumnLayout {
        anchors.fill: parent
        spacing: 0

        TabBar {
            id: tabs
            objectName: "settingsTabs"
            Layout.fillWidth: true

            Repeater {
                model: [
                    {"text": qsTr("Music"), "symbol": "music.note"},
                    {"text": qsTr("General"), "symbol": "gearshape"},
                    {"text": qsTr("Formats"), "symbol": "film"},
                    {"text": qsTr("Network"), "symbol": "network"},
                    {"text": qsTr("Tools"), "symbol": "wrench.and.screwdriver"}
                ]
                delegate: TabButton {
                    id: tabButton
                    required property var modelData
                    objectName: "tab:" + modelData.text
                    text: modelData.text
                    contentItem: Item {
                        Row {
                            anchors.centerIn: parent
                            spacing: 6
                            Icon {
                                anchors.verticalCenter: parent.verticalCenter
                                name: tabButton.modelData.symbol
                                color: tabButton.checked ? Theme.accent : Theme.dim
                            }
                            Label {
                                anchors.verticalCenter: parent.verticalCenter
                                text: tabButton.text
                                textFormat: Text.PlainText
                                color: tabButton.checked ? Theme.text : Theme.dim
                            }
                        }
                    }
                }
            }
        }

        StackLayout {
            Layout.fillWidth: true
            Layout.fillHeight: true
            currentIndex: tabs.currentIndex

            MusicSettings {
                objectName: "musicTab"
                model: view.music
            }
            GeneralSettings {}
            FormatSettings {}
            NetworkSettings {}
            ToolsSettings {
                model: view.tools
            }
        }
    }
}
