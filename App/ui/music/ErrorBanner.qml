import QtQuick
import Morvane

// The player's last failure, floating below the top bar until the player clears it. A dark
// translucent capsule: no shader effects, which the software renderer cannot draw.
Item {
    id: banner

    // Empty while there is nothing to report.
    property string message
    // The text stays while the banner fades out.
    property string shownText

    // The widest the capsule grows before the text wraps.
    property real maxWidth: 640
    readonly property bool shown: message !== ""
    property real presence: shown ? 1 : 0

    onMessageChanged: {
        if (message !== "")
            shownText = message
    }
    Component.onCompleted: shownText = message

    Behavior on presence {
        NumberAnimation {
            duration: 200
            easing.type: Easing.InOutQuad
        }
    }

    visible: presence > 0
    opacity: presence
    width: capsule.width
    height: capsule.height

    Rectangle {
        id: capsule
        y: (banner.presence - 1) * 20
        width: row.width + 28
        height: row.height + 16
        radius: height / 2
        color: Qt.rgba(0.16, 0.16, 0.18, 0.92)
        border.color: Qt.rgba(0, 0, 0, 0.33)

        Row {
            id: row
            x: 14
            anchors.verticalCenter: parent.verticalCenter
            spacing: 6

            Icon {
                id: symbol
                anchors.verticalCenter: parent.verticalCenter
                name: "exclamationmark.triangle.fill"
                size: 14
                color: Theme.orange
            }
            Text {
                id: label
                objectName: "errorText"
                width: Math.min(implicitWidth, banner.maxWidth - 28 - symbol.width - row.spacing)
                text: banner.shownText
                textFormat: Text.PlainText
                color: Theme.text
                font.pixelSize: Theme.callout
                wrapMode: Text.Wrap
                maximumLineCount: 2
                elide: Text.ElideRight
            }
        }
    }
}
