import QtQuick
import Morvane

// The coordinator's short message, in a capsule lifted from the window's bottom edge; it slides
// and fades in and out. Its view model clears it.
Item {
    id: view

    required property string text

    // Keeps the last message while it slides out.
    property string shown
    readonly property bool active: text !== ""

    onTextChanged: if (text !== "")
        shown = text
    Component.onCompleted: shown = text

    implicitWidth: capsule.width
    implicitHeight: capsule.height + 18
    opacity: active ? 1 : 0
    visible: opacity > 0

    Behavior on opacity {
        NumberAnimation {
            duration: 200
        }
    }

    // The shadow: black at a third, a little larger than the capsule.
    Rectangle {
        anchors.centerIn: capsule
        anchors.verticalCenterOffset: 1
        width: capsule.width + 4
        height: capsule.height + 4
        radius: height / 2
        color: Qt.rgba(0, 0, 0, 0.33)
    }

    Rectangle {
        id: capsule
        objectName: "toast"
        anchors.horizontalCenter: parent.horizontalCenter
        y: view.active ? 0 : view.height
        width: message.implicitWidth + 28
        height: message.implicitHeight + 16
        radius: height / 2
        color: Qt.lighter(Theme.side, 1.9)
        border.color: Theme.stroke

        Behavior on y {
            NumberAnimation {
                duration: 200
                easing.type: Easing.OutCubic
            }
        }

        Text {
            id: message
            anchors.centerIn: parent
            text: view.shown
            textFormat: Text.PlainText
            color: Theme.text
            font.pixelSize: Theme.callout
            font.weight: Font.Medium
        }
    }
}
