import QtQuick
import QtQuick.Templates as T
import Morvane

// A thin track filled with the accent up to the value; an indeterminate one is a faint full track.
T.ProgressBar {
    id: control

    implicitWidth: Math.max(implicitBackgroundWidth + leftInset + rightInset, implicitContentWidth + leftPadding + rightPadding)
    implicitHeight: Math.max(implicitBackgroundHeight + topInset + bottomInset, implicitContentHeight + topPadding + bottomPadding)
    opacity: enabled ? 1 : 0.4

    contentItem: Item {
        implicitWidth: 160
        implicitHeight: 6

        Rectangle {
            width: control.indeterminate ? parent.width : control.visualPosition * parent.width
            height: parent.height
            radius: 3
            color: Theme.accent
            opacity: control.indeterminate ? 0.4 : 1
        }
    }

    background: Rectangle {
        implicitWidth: 160
        implicitHeight: 6
        y: (control.height - height) / 2
        radius: 3
        color: Qt.rgba(1, 1, 1, 0.12)
    }
}
