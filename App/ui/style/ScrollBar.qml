import QtQuick
import QtQuick.Templates as T

// A slim scroll bar, shown only while there is something to scroll. Where it lies over the content
// (as needed) it shows only while in use: scrolled, hovered or dragged; a list that keeps room
// for it sets it always on, and it shows whenever its content overflows.
T.ScrollBar {
    id: control

    implicitWidth: Math.max(implicitBackgroundWidth + leftInset + rightInset, implicitContentWidth + leftPadding + rightPadding)
    implicitHeight: Math.max(implicitBackgroundHeight + topInset + bottomInset, implicitContentHeight + topPadding + bottomPadding)
    padding: 2
    minimumSize: orientation === Qt.Horizontal ? height / width : width / height

    contentItem: Rectangle {
        objectName: "scrollHandle"
        implicitWidth: 6
        implicitHeight: 6
        radius: 3
        color: Qt.rgba(1, 1, 1, control.pressed ? 0.5 : control.hovered ? 0.4 : 0.25)
        visible: control.size < 1.0 && (control.policy === T.ScrollBar.AlwaysOn || (control.policy === T.ScrollBar.AsNeeded && control.active))
    }
}
