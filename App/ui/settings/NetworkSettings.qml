import QtQuick
import Morvane

// The "Network" tab: the options every yt-dlp run gets, stored as typed.
SettingsForm {
    id: tab

    readonly property NetworkSettingsModel model: NetworkSettingsModel {}

    FormSection {
        SettingCombo {
            label: tab.model.cookiesLabel
            picker: tab.model.cookies
        }
        SettingField {
            label: tab.model.userAgentLabel
            key: "userAgent"
            placeholderText: tab.model.userAgentPlaceholder
        }
        SettingField {
            label: tab.model.proxyLabel
            key: "proxy"
            placeholderText: tab.model.proxyPlaceholder
        }
        SettingField {
            label: tab.model.rateLimitLabel
            key: "rateLimit"
            placeholderText: tab.model.rateLimitPlaceholder
        }
        SettingSpin {
            stepper: tab.model.retries
        }
        SettingSpin {
            stepper: tab.model.fragments
        }
        SettingSpin {
            stepper: tab.model.timeout
        }
    }

    FormSection {
        header: tab.model.extraArgsHeader

        SettingField {
            key: "extraArgs"
            name: tab.model.extraArgsHeader
            placeholderText: tab.model.extraArgsPlaceholder
            font.family: "monospace"
        }
        Caption {
            text: tab.model.extraArgsNote
        }
    }
}
