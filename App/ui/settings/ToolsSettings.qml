import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Morvane

// The "Tools" tab: each tool's state, the two tool switches, and the three actions.
SettingsForm {
    id: tab

    required property ToolsSettingsModel model

    FormSection {
        header: tab.model.toolsHeader

        Repeater {
            model: tab.model.tools
            delegate: RowLayout {
                required property string name
                required property string label
                Layout.fillWidth: true
                Label {
                    Layout.fillWidth: true
                    text: parent.name
                    textFormat: Text.PlainText
                }
                Label {
                    color: Theme.dim
                    text: parent.label
                    textFormat: Text.PlainText
                }
            }
        }
    }

    FormSection {
        SettingSwitch {
            text: tab.model.autoUpdateText
            key: "autoUpdateTools"
            fallback: true
        }
        SettingSwitch {
            text: tab.model.remoteEJSText
            key: "remoteEJS"
            fallback: true
        }
        RowLayout {
            objectName: "toolActions"
            Layout.fillWidth: true
            spacing: 8
            enabled: !tab.model.busy

            Button {
                text: tab.model.checkText
                onClicked: tab.model.checkForUpdates()
            }
            Button {
                text: tab.model.repairText
                onClicked: tab.model.repairDependencies()
            }
            Button {
                text: tab.model.revealText
                onClicked: tab.model.revealToolsFolder()
            }
            // Exists only while busy: an idle spinner would still animate.
            Loader {
                active: tab.model.busy
                sourceComponent: BusyIndicator {
                    objectName: "toolsSpinner"
                    implicitWidth: 24
                    implicitHeight: 24
                }
            }
        }
        Caption {
            objectName: "toolsStep"
            visible: tab.model.busy
            text: tab.model.stepText
        }
    }
}
