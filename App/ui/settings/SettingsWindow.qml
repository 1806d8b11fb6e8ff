import QtQuick
import Morvane

// The settings window: built anew at each opening, so it always starts on Music.
AppWindow {
    id: window

    required property MusicSettingsModel music
    required property ToolsSettingsModel tools

    title: qsTr("Settings")
    width: 560
    height: 460
    minimumWidth: 560
    maximumWidth: 560
    minimumHeight: 460
    maximumHeight: 460

    SettingsView {
        anchors.fill: parent
        music: window.music
        tools: window.tools
    }
}
