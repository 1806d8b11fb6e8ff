import QtQuick
import QtQuick.Layouts
import Morvane

// A titled box of the diagnostics screen; its children stack inside it.
ColumnLayout {
    id: group

    required property string title
    default property alias content: body.data

    Layout.fillWidth: true
    // In line with the page's title and segments.
    Layout.leftMargin: Theme.pageInset
    Layout.rightMargin: Theme.pageInset
    Layout.topMargin: 4
    spacing: 6

    Text {
        text: group.title
        textFormat: Text.PlainText
        color: Theme.text
        font.pixelSize: Theme.headline
        font.bold: true
    }
    Rectangle {
        Layout.fillWidth: true
        Layout.preferredHeight: body.implicitHeight + 20
        radius: 8
        color: Theme.panel
        border.color: Theme.stroke

        ColumnLayout {
            id: body
            anchors.fill: parent
            anchors.margins: 10
            spacing: 6
        }
    }
}
