import QtQuick
import QtQuick.Templates as T
import Morvane

// A dialog: its title in bold, its body, and the buttons its footer holds, on the raised surface.
// Return and keypad Enter press its default button wherever the keyboard is in it, unless a
// focused button takes them. The default button has the keyboard, with its ring, each time it opens.
T.Dialog {
    id: control

    property T.AbstractButton defaultButton: null

    onOpened: {
        if (!defaultButton)
            return
        defaultButton.forceActiveFocus(Qt.TabFocusReason)
        // A button that already had it, given as the dialog opened, would keep that reason and no ring.
        defaultButton.focusReason = Qt.TabFocusReason
    }

    implicitWidth: Math.max(implicitBackgroundWidth + leftInset + rightInset, contentWidth + leftPadding + rightPadding,
                            implicitHeaderWidth, implicitFooterWidth)
    implicitHeight: Math.max(implicitBackgroundHeight + topInset + bottomInset,
                             contentHeight + topPadding + bottomPadding + (implicitHeaderHeight > 0 ? implicitHeaderHeight + spacing : 0)
                             + (implicitFooterHeight > 0 ? implicitFooterHeight + spacing : 0))
    padding: 16
    topPadding: 8
    font.pixelSize: Theme.body

    header: Text {
        visible: control.title !== ""
        topPadding: 16
        leftPadding: 16
        rightPadding: 16
        text: control.title
        textFormat: Text.PlainText
        font.pixelSize: Theme.headline
        font.bold: true
        color: Theme.text
        elide: Text.ElideRight
    }

    background: Raised {
        radius: 10

        // Held by the dialog's own surface: it answers only while the dialog is the window's top popup.
        Shortcut {
            sequences: ["Return", "Enter"]
            enabled: control.opened && control.defaultButton !== null && control.defaultButton.enabled
            onActivated: KeyboardAccess.click(control.defaultButton, Qt.Key_Return, Qt.NoModifier)
        }
    }

    T.Overlay.modal: Rectangle {
        color: Qt.rgba(0, 0, 0, 0.45)
    }
    T.Overlay.modeless: Rectangle {
        color: "transparent"
    }
}
