import QtQuick
import QtQuick.Templates as T

// A sheet or pop-up on the raised surface; a modal one dims the window behind it.
T.Popup {
    id: control

    implicitWidth: Math.max(implicitBackgroundWidth + leftInset + rightInset, contentWidth + leftPadding + rightPadding)
    implicitHeight: Math.max(implicitBackgroundHeight + topInset + bottomInset, contentHeight + topPadding + bottomPadding)
    padding: 12

    background: Raised {
        radius: 10
    }

    T.Overlay.modal: Rectangle {
        color: Qt.rgba(0, 0, 0, 0.45)
    }
    T.Overlay.modeless: Rectangle {
        color: "transparent"
    }
}
