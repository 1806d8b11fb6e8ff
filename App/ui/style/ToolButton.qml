import QtQuick
import QtQuick.Templates as T
import Morvane

// A borderless button of a tool bar or a row: a surface shows only while hovered, pressed or checked.
T.ToolButton {
    id: control

    implicitWidth: Math.max(implicitBackgroundWidth + leftInset + rightInset, implicitContentWidth + leftPadding + rightPadding)
    implicitHeight: Math.max(implicitBackgroundHeight + topInset + bottomInset, implicitContentHeight + topPadding + bottomPadding)
    padding: 4
    spacing: 6
    flat: true
    font.pixelSize: Theme.body
    opacity: enabled ? 1 : 0.4
    // Return and keypad Enter click as Space does; the focused button takes them before any shortcut
    // of its window (a dialog's default button among them).
    Keys.onShortcutOverride: event => event.accepted = KeyboardAccess.confirms(event.key, event.modifiers)
    Keys.onPressed: event => event.accepted = KeyboardAccess.click(control, event.key, event.modifiers, event.isAutoRepeat)

    contentItem: Text {
        text: control.text
        textFormat: Text.PlainText
        font: control.font
        color: Theme.text
        horizontalAlignment: Text.AlignHCenter
        verticalAlignment: Text.AlignVCenter
        elide: Text.ElideRight
    }

    background: Face {
        implicitWidth: 28
        control: control
        pressed: control.down
        checked: control.checked
        bordered: !control.flat
    }
}
