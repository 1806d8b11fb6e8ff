import QtQuick
import QtQuick.Templates as T

// A slim scroll bar that shows whenever its content overflows, not only while scrolling, so a cut
// list or form always says there is more.
T.ScrollBar {
    id: control

    implicitWidth: Math.max(implicitBackgroundWidth + leftInset + rightInset, implicitContentWidth + leftPadding + rightPadding)
    implicitHeight: Math.max(implicitBackgroundHeight + topInset + bottomInset, implicitContentHeight + topPadding + bottomPadding)
    padding: 2
    minimumSize: orientation === Qt.Horizontal ? height / width : width / height

    contentItem: Rectangle {
        implicitWidth: 6
        implicitHeight: 6
        radius: 3
        color: Qt.rgba(1, 1, 1, control.pressed ? 0.5 : control.hovered ? 0.4 : 0.25)
        visible: control.policy === T.ScrollBar.AlwaysOn || (control.policy === T.ScrollBar.AsNeeded && control.size < 1.0)
    }
}
