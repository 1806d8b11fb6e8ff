import QtQuick
import Morvane

// The setup screen in a window of the main window's size, over the fixture the gallery test hands in.
AppWindow {
    id: page

    required property SetupViewModel model

    width: 900
    height: 640

    SetupScreen {
        anchors.fill: parent
        model: page.model
    }
}
