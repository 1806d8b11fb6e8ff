import QtQuick
import Morvane

// A screen's action row: the prominent look beside the plain one.
AppWindow {
    width: 440
    height: 90

    Row {
        anchors.centerIn: parent
        spacing: 10
        PillButton {
            objectName: "play"
            title: "Play"
            symbol: "play.fill"
            prominent: true
        }
        PillButton {
            title: "Shuffle"
            symbol: "shuffle"
        }
        PillButton {
            title: "Start Radio"
            symbol: "dot.radiowaves.left.and.right"
        }
    }
}
