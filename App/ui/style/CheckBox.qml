import QtQuick
import QtQuick.Templates as T
import Morvane

// A check box: a rounded square, filled with the accent and a check mark when ticked, its label beside it.
T.CheckBox {
    id: control

    implicitWidth: Math.max(implicitBackgroundWidth + leftInset + rightInset, implicitContentWidth + leftPadding + rightPadding)
    implicitHeight: Math.max(implicitBackgroundHeight + topInset + bottomInset, implicitContentHeight + topPadding + bottomPadding,
                             implicitIndicatorHeight + topPadding + bottomPadding)
    padding: 2
    spacing: 8
    font.pixelSize: Theme.body
    opacity: enabled ? 1 : 0.4

    indicator: Rectangle {
        x: control.leftPadding
        y: control.topPadding + (control.availableHeight - height) / 2
        implicitWidth: 16
        implicitHeight: 16
        radius: 4
        color: control.checkState !== Qt.Unchecked ? (control.down ? Qt.darker(Theme.accent, 1.25) : Theme.accent)
                                                   : Qt.rgba(1, 1, 1, control.down ? 0.2 : control.hovered ? 0.14 : 0.08)
        border.width: control.checkState === Qt.Unchecked ? 1 : 0
        border.color: Qt.rgba(1, 1, 1, 0.3)

        Icon {
            anchors.centerIn: parent
            visible: control.checkState === Qt.Checked
            name: "checkmark"
            size: 14
        }
        Rectangle {
            anchors.centerIn: parent
            visible: control.checkState === Qt.PartiallyChecked
            width: 8
            height: 2
            color: Theme.text
        }
        FocusRing {
            shown: control.visualFocus
            overAccent: control.checkState !== Qt.Unchecked
        }
    }

    contentItem: Text {
        leftPadding: control.indicator.width + control.spacing
        text: control.text
        textFormat: Text.PlainText
        font: control.font
        color: Theme.text
        verticalAlignment: Text.AlignVCenter
        elide: Text.ElideRight
    }
}
