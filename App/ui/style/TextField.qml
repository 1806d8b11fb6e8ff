import QtQuick
import QtQuick.Templates as T
import Morvane

// A one-line text field: a quiet well that takes the accent outline while it has the focus. Its
// height is the same empty or full.
T.TextField {
    id: control

    implicitWidth: implicitBackgroundWidth + leftInset + rightInset
    implicitHeight: Math.max(implicitBackgroundHeight + topInset + bottomInset, contentHeight + topPadding + bottomPadding)
    padding: 6
    leftPadding: 8
    rightPadding: 8
    font.pixelSize: Theme.body
    color: Theme.text
    selectionColor: Theme.accent
    selectedTextColor: Theme.text
    placeholderTextColor: Theme.dim
    verticalAlignment: TextInput.AlignVCenter
    opacity: enabled ? 1 : 0.4

    Text {
        x: control.leftPadding
        y: control.topPadding
        width: control.width - (control.leftPadding + control.rightPadding)
        height: control.height - (control.topPadding + control.bottomPadding)
        visible: !control.length && !control.preeditText
        text: control.placeholderText
        textFormat: Text.PlainText
        font: control.font
        color: control.placeholderTextColor
        verticalAlignment: control.verticalAlignment
        elide: Text.ElideRight
    }

    background: Rectangle {
        implicitWidth: 160
        implicitHeight: 28
        radius: 6
        color: Qt.rgba(1, 1, 1, control.hovered && !control.activeFocus ? 0.08 : 0.06)
        border.width: control.activeFocus ? 2 : 1
        border.color: control.activeFocus ? Theme.accent : Theme.stroke
    }
}
