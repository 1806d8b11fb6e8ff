import QtQuick
import QtQuick.Templates as T
import Morvane

// A button a screen draws itself (the round play button, a plain text button): no look of its own,
// only the keys every button answers.
T.AbstractButton {
    id: control

    implicitWidth: Math.max(implicitBackgroundWidth + leftInset + rightInset, implicitContentWidth + leftPadding + rightPadding)
    implicitHeight: Math.max(implicitBackgroundHeight + topInset + bottomInset, implicitContentHeight + topPadding + bottomPadding)

    // As the style's Button: Return and keypad Enter click, before any shortcut of the window.
    Keys.onShortcutOverride: event => event.accepted = KeyboardAccess.confirms(event.key, event.modifiers)
    Keys.onPressed: event => event.accepted = KeyboardAccess.click(control, event.key, event.modifiers, event.isAutoRepeat)
}
