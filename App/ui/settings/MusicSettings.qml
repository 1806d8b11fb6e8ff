import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Morvane
import Morvane.Style as Style

// The "Music" tab: non-stop playback, song downloads and the listening history.
SettingsForm {
    id: tab

    required property MusicSettingsModel model

    FormSection {
        header: tab.model.playbackHeader

        Switch {
            objectName: "nonStop"
            Layout.fillWidth: true
            text: tab.model.nonStopText
            checked: tab.model.nonStop
            onToggled: tab.model.nonStop = checked
        }
        Caption {
            text: tab.model.nonStopCaption
        }
    }

    FormSection {
        header: tab.model.downloadsHeader

        SettingCombo {
            objectName: "musicAudioFormat"
            label: tab.model.formatLabel
            picker: tab.model.audioFormat
        }
        SettingSwitch {
            text: tab.model.embedArtworkText
            key: "embedThumbnail"
            fallback: true
        }
        SettingSwitch {
            text: tab.model.embedMetadataText
            key: "embedMetadata"
            fallback: true
        }
        Caption {
            text: tab.model.downloadsCaption
        }
    }

    FormSection {
        header: tab.model.privacyHeader

        Caption {
            text: tab.model.privacyCaption
        }
        Style.Button {
            objectName: "clearListeningHistory"
            text: tab.model.clearHistoryText
            textColor: Theme.red
            onClicked: tab.model.clearHistory()
        }
    }
}
