import QtQuick
import Morvane

// The Download screen tall enough to show a fetched link's whole form.
AppWindow {
    id: page

    required property DownloadScreenModel model

    width: 1020
    height: 1060

    DownloadScreen {
        anchors.fill: parent
        model: page.model
    }
}
