import QtQuick
import QtQuick.Templates as T
import Morvane

// One tab: dimmed text until chosen, then full text over an accent underline. Left and Right choose
// the tab beside this one, which has the keyboard, and give the keyboard to it.
T.TabButton {
    id: control

    function chooseBeside(step: int) {
        const bar = T.TabBar.tabBar
        const next = bar ? bar.itemAt(T.TabBar.index + step) : null
        if (!next)
            return
        bar.setCurrentIndex(T.TabBar.index + step)
        next.forceActiveFocus(Qt.TabFocusReason)
    }

    Keys.onLeftPressed: chooseBeside(-1)
    Keys.onRightPressed: chooseBeside(1)

    implicitWidth: Math.max(implicitBackgroundWidth + leftInset + rightInset, implicitContentWidth + leftPadding + rightPadding)
    implicitHeight: Math.max(implicitBackgroundHeight + topInset + bottomInset, implicitContentHeight + topPadding + bottomPadding)
    padding: 8
    horizontalPadding: 12
    font.pixelSize: Theme.body
    opacity: enabled ? 1 : 0.4

    contentItem: Text {
        text: control.text
        textFormat: Text.PlainText
        font: control.font
        color: control.checked ? Theme.text : Theme.dim
        horizontalAlignment: Text.AlignHCenter
        verticalAlignment: Text.AlignVCenter
        elide: Text.ElideRight
    }

    background: Rectangle {
        implicitHeight: 34
        color: Qt.rgba(1, 1, 1, control.down ? 0.1 : control.hovered ? 0.05 : 0)

        Rectangle {
            anchors.left: parent.left
            anchors.right: parent.right
            anchors.bottom: parent.bottom
            height: 2
            visible: control.checked
            color: Theme.accent
        }
        FocusRing {
            shown: control.visualFocus
            inset: 2
        }
    }
}
