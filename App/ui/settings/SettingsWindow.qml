import QtQuick
import Morvane

// The settings window: built anew at each opening, so it always starts on Music. Escape and Ctrl+W
// close it; the application's Ctrl+Q and Ctrl+, work in it too, as in the main window.
AppWindow {
    id: window

    required property MusicSettingsModel music
    required property ToolsSettingsModel tools

    // Ctrl+Q: the application's Quit.
    signal quitRequested()

    title: qsTr("Settings")
    width: 560
    height: 460
    minimumWidth: 560
    maximumWidth: 560
    minimumHeight: 460
    maximumHeight: 460

    Shortcut {
        sequences: ["Esc", "Ctrl+W"]
        onActivated: window.close()
    }
    Shortcut {
        sequence: "Ctrl+Q"
        onActivated: window.quitRequested()
    }
    // Settings are what this window shows: it keeps the keyboard, as the main window's Ctrl+, gives it.
    Shortcut {
        sequence: "Ctrl+,"
        onActivated: window.requestActivate()
    }

    SettingsView {
        anchors.fill: parent
        music: window.music
        tools: window.tools
    }
}
