import QtQuick
import QtQuick.Templates as T
import Morvane

// A menu command: its label (elided when long), its shortcut right-aligned and dimmed in the
// desktop's own words, a check mark when checkable and checked, an arrow when it opens a submenu.
T.MenuItem {
    id: control

    // The shortcut as the desktop writes it ("Ctrl+Shift+V"), empty when the command has none.
    readonly property string shortcutText: action ? KeyText.native(action.shortcut) : ""

    implicitWidth: Math.max(implicitBackgroundWidth + leftInset + rightInset, implicitContentWidth + leftPadding + rightPadding)
    implicitHeight: Math.max(implicitBackgroundHeight + topInset + bottomInset, implicitContentHeight + topPadding + bottomPadding)
    padding: 4
    leftPadding: 24
    rightPadding: subMenu ? 24 : 10
    font.pixelSize: Theme.body
    opacity: enabled ? 1 : 0.4

    // The label with "&&" shown as the ampersand it stands for.
    readonly property string shownText: text.replace(/&(.)/g, "$1")
    readonly property real shortcutSpace: shortcutText === "" ? 0 : shortcutMetrics.advanceWidth + 24

    TextMetrics {
        id: labelMetrics
        font: control.font
        text: control.shownText
    }
    TextMetrics {
        id: shortcutMetrics
        font: control.font
        text: control.shortcutText
    }

    contentItem: Item {
        implicitWidth: Math.ceil(labelMetrics.advanceWidth + control.shortcutSpace)
        implicitHeight: Math.ceil(labelMetrics.height)

        Text {
            anchors.left: parent.left
            anchors.right: parent.right
            // Margins, not a width from the parent's: a menu being torn down resizes its items.
            anchors.rightMargin: control.shortcutSpace
            anchors.verticalCenter: parent.verticalCenter
            text: control.shownText
            textFormat: Text.PlainText
            font: control.font
            color: Theme.text
            elide: Text.ElideRight
        }
        Text {
            objectName: "shortcut"
            anchors.right: parent.right
            anchors.verticalCenter: parent.verticalCenter
            text: control.shortcutText
            textFormat: Text.PlainText
            font: control.font
            color: control.highlighted ? Qt.rgba(1, 1, 1, 0.8) : Theme.dim
        }
    }

    // Placed by their parent, the item: a menu being torn down may still lay them out.
    indicator: Icon {
        x: 6
        y: parent ? (parent.height - height) / 2 : 0
        visible: control.checkable && control.checked
        name: "checkmark"
        size: 14
    }

    arrow: Icon {
        x: parent ? parent.width - width - 6 : 0
        y: parent ? (parent.height - height) / 2 : 0
        visible: control.subMenu !== null
        name: "chevron.right"
        size: 14
    }

    background: Rectangle {
        implicitWidth: 160
        implicitHeight: 24
        radius: 4
        color: control.down ? Qt.darker(Theme.accent, 1.25) : control.highlighted ? Theme.accent : "transparent"
    }
}
