import QtQuick
import Morvane

// The "Formats" tab: container, audio format, embedding and subtitles.
SettingsForm {
    id: tab

    readonly property FormatSettingsModel model: FormatSettingsModel {}

    FormSection {
        SettingCombo {
            label: tab.model.containerLabel
            picker: tab.model.container
        }
        SettingSwitch {
            text: tab.model.compatibleText
            key: "preferCompatible"
            fallback: true
        }
        SettingCombo {
            objectName: "audioFormat"
            label: tab.model.audioFormatLabel
            picker: tab.model.audioFormat
        }
        SettingSwitch {
            text: tab.model.embedThumbnailText
            key: "embedThumbnail"
            fallback: true
        }
        SettingSwitch {
            text: tab.model.embedMetadataText
            key: "embedMetadata"
            fallback: true
        }
    }

    FormSection {
        header: tab.model.subtitlesHeader

        SettingSwitch {
            text: tab.model.writeSubsText
            key: "writeSubs"
            fallback: false
        }
        SettingField {
            label: tab.model.languagesLabel
            key: "subLangs"
            fallback: "en.*"
            enabled: tab.model.subtitleOptionsEnabled
        }
        SettingSwitch {
            text: tab.model.autoSubsText
            key: "autoSubs"
            fallback: false
            enabled: tab.model.subtitleOptionsEnabled
        }
        SettingSwitch {
            text: tab.model.embedSubsText
            key: "embedSubs"
            fallback: false
            enabled: tab.model.subtitleOptionsEnabled
        }
    }
}
