import QtQuick
import Morvane

// The diagnostics screen in a window of the main window's size, over the fixture the gallery test hands in.
AppWindow {
    id: page

    required property DiagnosticsViewModel model

    width: 900
    height: 640

    DiagnosticsScreen {
        anchors.fill: parent
        model: page.model
    }
}
