import QtQuick
import QtQuick.Templates as T
import Morvane

// One menu title of the menu bar, lit while its menu is open or the pointer is on it.
T.MenuBarItem {
    id: control

    implicitWidth: Math.max(implicitBackgroundWidth + leftInset + rightInset, implicitContentWidth + leftPadding + rightPadding)
    implicitHeight: Math.max(implicitBackgroundHeight + topInset + bottomInset, implicitContentHeight + topPadding + bottomPadding)
    verticalPadding: 3
    horizontalPadding: 10
    font.pixelSize: Theme.body
    opacity: enabled ? 1 : 0.4

    // A menu closed by Escape under the pointer would leave the bar waiting for a click to close it.
    Connections {
        target: control.menu
        function onClosed() {
            if (control.hovered && control.highlighted)
                KeyboardAccess.menuClosed(control.menuBar)
        }
    }

    contentItem: Text {
        // "&File" underlines nothing here; "&&" is a literal ampersand.
        text: control.text.replace(/&(.)/g, "$1")
        textFormat: Text.PlainText
        font: control.font
        color: Theme.text
        verticalAlignment: Text.AlignVCenter
    }

    background: Rectangle {
        radius: 4
        color: control.down || control.highlighted ? Qt.rgba(1, 1, 1, 0.12) : control.hovered ? Qt.rgba(1, 1, 1, 0.06) : "transparent"

        FocusRing {
            shown: control.visualFocus
        }
    }
}
