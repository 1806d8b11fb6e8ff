import QtQuick
import QtQuick.Templates as T
import Morvane

// A push button: bordered by default, plain when `flat`, prominent (the accent) when `highlighted`.
T.Button {
    id: control

    // Its label's colour, for the few buttons whose Part colours them (a destructive red).
    property color textColor: Theme.text

    implicitWidth: Math.max(implicitBackgroundWidth + leftInset + rightInset, implicitContentWidth + leftPadding + rightPadding)
    implicitHeight: Math.max(implicitBackgroundHeight + topInset + bottomInset, implicitContentHeight + topPadding + bottomPadding)
    padding: 5
    horizontalPadding: 12
    spacing: 6
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
        color: control.textColor
        horizontalAlignment: Text.AlignHCenter
        verticalAlignment: Text.AlignVCenter
        elide: Text.ElideRight
    }

    background: Face {
        control: control
        pressed: control.down
        checked: control.checked
        bordered: !control.flat
        prominent: control.highlighted
    }
}
