import QtQuick
import Morvane

// The Now Playing view over a content area of the main window's size.
AppWindow {
    id: page

    required property NowPlayingModel model

    width: 1060
    height: 700

    NowPlayingView {
        anchors.fill: parent
        model: page.model
    }
}
