import QtQuick
import Morvane

// The player bar at the main window's width, over the fixture the gallery test hands in.
AppWindow {
    id: page

    required property PlayerBarModel model

    width: 1280
    height: 78

    PlayerBar {
        anchors.fill: parent
        model: page.model
    }
}
