import QtQuick
import QtQuick.Controls
import Morvane

// The capsule button of a screen's action row; the prominent look is for the row's main action.
// Both looks have the same size and font and differ only in fill and text colour.
Button {
    id: pill

    property string title
    property string symbol
    property bool prominent: false

    readonly property color ink: prominent ? "black" : "white"

    text: title
    // Off (an empty list's Play): dimmed as a whole.
    opacity: enabled ? 1 : 0.4
    leftPadding: 16
    rightPadding: 16
    topPadding: 8
    bottomPadding: 8

    contentItem: Row {
        spacing: 6
        Icon {
            anchors.verticalCenter: parent.verticalCenter
            name: pill.symbol
            size: 14
            color: pill.ink
        }
        Text {
            anchors.verticalCenter: parent.verticalCenter
            text: pill.title
            textFormat: Text.PlainText
            color: pill.ink
            font.pixelSize: 13
            font.weight: Font.DemiBold
        }
    }
    background: Rectangle {
        radius: height / 2
        color: pill.prominent ? Theme.accent : Qt.rgba(1, 1, 1, 0.12)
        opacity: pill.down ? 0.8 : 1

        // The capsule replaces the style's surface, and with it the ring the style draws.
        FocusRing {
            shown: pill.visualFocus
            overAccent: pill.prominent
            radius: height / 2
        }
    }
}
