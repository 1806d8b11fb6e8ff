import QtQuick
import QtQuick.Layouts
import Morvane

// Elapsed time, seek slider and length. The slider shows the model's value and writes through
// its moves; the press starts a drag and the release sends the one seek.
RowLayout {
    id: bar

    required property SeekModel model

    spacing: 8

    Text {
        objectName: "elapsedLabel"
        Layout.preferredWidth: 42
        horizontalAlignment: Text.AlignRight
        text: bar.model.elapsedText
        textFormat: Text.PlainText
        color: Theme.dim
        font.pixelSize: 11
    }

    PlayerSlider {
        objectName: "seekSlider"
        Layout.fillWidth: true
        from: 0
        to: bar.model.maximum
        value: bar.model.value
        enabled: bar.model.enabled
        onMoved: bar.model.moveTo(value)
        onPressedChanged: pressed ? bar.model.begin() : bar.model.end()
    }

    Text {
        objectName: "durationLabel"
        Layout.preferredWidth: 42
        horizontalAlignment: Text.AlignLeft
        text: bar.model.durationText
        textFormat: Text.PlainText
        color: Theme.dim
        font.pixelSize: 11
    }
}
