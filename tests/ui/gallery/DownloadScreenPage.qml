import QtQuick
import Morvane

// The Download screen in a window of the main window's size, over the fixture the gallery test hands in.
AppWindow {
    id: page

    required property DownloadScreenModel model

    width: 900
    height: 640

    DownloadScreen {
        anchors.fill: parent
        model: page.model
    }
}
