import QtQuick
import Morvane

// The music window's settings page: the settings window's tabs, at most 640 wide and centred, or
// the diagnostics. The segment is this screen's own, so coming back to the page starts again on
// Preferences.
Item {
    id: screen

    required property MusicSettingsModel music
    required property ToolsSettingsModel tools
    required property DiagnosticsViewModel diagnostics

    // 0 Preferences, 1 Diagnostics.
    property int tab: 0

    SegmentedHeader {
        id: header
        objectName: "settingsHeader"
        anchors.top: parent.top
        anchors.left: parent.left
        anchors.right: parent.right
        title: qsTr("Settings")
        segments: [qsTr("Preferences"), qsTr("Diagnostics")]
        current: screen.tab
        pickerWidth: 240
        onChosen: index => screen.tab = index
    }

    function show() {
        if (tab === 0)
            content.setSource("../settings/SettingsView.qml", {
                "music": music,
                "tools": tools
            })
        else
            content.setSource("../downloader/DiagnosticsScreen.qml", {
                "model": diagnostics
            })
    }

    onTabChanged: show()
    Component.onCompleted: show()

    Loader {
        id: content
        objectName: "settingsContent"
        anchors.top: header.bottom
        anchors.bottom: parent.bottom
        anchors.horizontalCenter: parent.horizontalCenter
        width: screen.tab === 0 ? Math.min(640, parent.width) : parent.width
    }
}
