import QtQuick
import Morvane

// The speaker icon, a click on which mutes or gives 0.8, and the volume slider.
Row {
    id: row

    required property VolumeModel model
    property real sliderWidth: 90

    spacing: 6

    SymbolToolButton {
        objectName: "speakerButton"
        anchors.verticalCenter: parent.verticalCenter
        width: 18
        symbol: row.model.symbol
        size: 12
        colour: Theme.dim
        Accessible.name: qsTr("Mute")
        onClicked: row.model.toggleMute()
    }

    PlayerSlider {
        objectName: "volumeSlider"
        anchors.verticalCenter: parent.verticalCenter
        width: row.sliderWidth
        from: 0
        to: 1
        value: row.model.volume
        onMoved: row.model.setVolume(value)
    }
}
