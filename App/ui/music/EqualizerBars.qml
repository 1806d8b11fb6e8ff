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

        Rectangle {
            anchors.bottom: parent.bottom
            width: 3
            height: meter.heights[0]
            radius: 1
            color: Theme.accent
        }

        Rectangle {
            anchors.bottom: parent.bottom
            width: 3
            height: meter.heights[1]
            radius: 1
            color: Theme.accent
        }

        Rectangle {
            anchors.bottom: parent.bottom
            width: 3
            height: meter.heights[2]
            radius: 1
            color: Theme.accent
        }
    }
}
