import QtQuick
import QtQuick.Templates as T
import Morvane

// A switch: a pill that turns the accent when on, with a white knob, its label before it when it has one.
T.Switch {
    id: control

    implicitWidth: Math.max(implicitBackgroundWidth + leftInset + rightInset, implicitContentWidth + leftPadding + rightPadding)
    implicitHeight: Math.max(implicitBackgroundHeight + topInset + bottomInset, implicitContentHeight + topPadding + bottomPadding,
                             implicitIndicatorHeight + topPadding + bottomPadding)
    // No side padding: label and knob line up with the labels and fields of the rows around them.
    verticalPadding: 2
    spacing: 10
    font.pixelSize: Theme.body
    opacity: enabled ? 1 : 0.4

    indicator: Rectangle {
        x: control.width - width - control.rightPadding
        y: control.topPadding + (control.availableHeight - height) / 2
        implicitWidth: 32
        implicitHeight: 18
        radius: height / 2
        color: control.checked ? (control.down ? Qt.darker(Theme.accent, 1.25) : Theme.accent)
                               : Qt.rgba(1, 1, 1, control.down ? 0.3 : control.hovered ? 0.24 : 0.18)

        Rectangle {
            x: control.checked ? parent.width - width - 2 : 2
            anchors.verticalCenter: parent.verticalCenter
            width: parent.height - 4
            height: width
            radius: width / 2
            color: "white"
        }
        FocusRing {
            shown: control.visualFocus
            overAccent: control.checked
            radius: height / 2
        }
    }

    contentItem: Text {
        rightPadding: control.indicator.width + control.spacing
        text: control.text
        textFormat: Text.PlainText
        font: control.font
        color: Theme.text
        verticalAlignment: Text.AlignVCenter
        elide: Text.ElideRight
    }
}
