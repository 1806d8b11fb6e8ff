import QtQuick
import Morvane

// The queue panel at its width in the music window.
AppWindow {
    id: page

    required property QueuePanelModel model

    width: 320
    height: 620

    QueuePanel {
        anchors.fill: parent
        model: page.model
    }
}
