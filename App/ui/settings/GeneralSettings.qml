import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Morvane

// The "General" tab: where and how downloads are saved.
SettingsForm {
    id: tab

    readonly property GeneralSettingsModel model: GeneralSettingsModel {}
    readonly property Setting folder: Setting {
        key: "downloadFolder"
        fallback: ""
    }
    readonly property Setting template: Setting {
        key: "outputTemplate"
        fallback: "%(title)s [%(id)s].%(ext)s"
    }

    FormSection {
        RowLayout {
            Layout.fillWidth: true
            spacing: 8

            Label {
                text: tab.model.folderLabel
                textFormat: Text.PlainText
            }
            Label {
                objectName: "folderPath"
                Layout.fillWidth: true
                horizontalAlignment: Text.AlignRight
                elide: Text.ElideMiddle
                color: Theme.dim
                text: tab.folder.value
                textFormat: Text.PlainText
            }
            Button {
                objectName: "chooseFolder"
                text: tab.model.chooseText
                onClicked: chooser.show(tab.folder.value)
            }
        }
    }

    FormSection {
        SettingField {
            label: tab.model.templateLabel
            key: tab.template.key
            fallback: tab.template.fallback
            font.family: "monospace"
        }
        Caption {
            text: tab.model.variablesText
        }
        Button {
            text: tab.model.resetText
            font.pixelSize: Theme.callout
            onClicked: tab.model.resetTemplate()
        }
        SettingSwitch {
            text: tab.model.numberingText
            key: "playlistNumbering"
            fallback: true
        }
    }

    FormSection {
        SettingSpin {
            stepper: tab.model.maxConcurrent
        }
        SettingSwitch {
            text: tab.model.notificationsText
            key: "notifications"
            fallback: true
        }
        SettingSwitch {
            text: tab.model.clipboardText
            key: "clipboardMonitor"
            fallback: false
        }
    }

    FolderChooser {
        id: chooser
        objectName: "folderChooser"
        onChosen: folder => tab.model.chooseFolder(folder)
    }
}
