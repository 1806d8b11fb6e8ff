import QtQuick
import Morvane

// The three-bar level animation that marks the song playing. It moves only while `active` and on
// screen.
Item {
    id: bars

    property bool active: false

    implicitWidth: 13
    implicitHeight: 14

    EqualizerMeter {
        id: meter

        active: bars.active
    }

    Row {
        anchors.bottom: parent.bottom
        spacing: 2

        Repeater {
            model: 3

            Rectangle {
                required property int index

                anchors.bottom: parent.bottom
                width: 3
                height: meter.heights[index]
                radius: 1
                color: Theme.accent
            }
        }
    }
}
