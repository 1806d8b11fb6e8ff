import QtQuick
import Morvane

// The history screen in a window of the main window's size, over the fixture the gallery test hands in.
AppWindow {
    id: page

    required property HistoryViewModel model

    width: 900
    height: 640

    HistoryScreen {
        anchors.fill: parent
        model: page.model
    }
}
