import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Morvane

// A group of rows on one panel, with a plain header above it when it has one.
ColumnLayout {
    id: section

    property string header
    default property alias rows: body.data

    Layout.fillWidth: true
    spacing: 6

    Label {
        visible: section.header !== ""
        text: section.header
        textFormat: Text.PlainText
        color: Theme.dim
        font.pixelSize: Theme.subheadline
        font.bold: true
    }

    Rectangle {
        Layout.fillWidth: true
        implicitHeight: body.implicitHeight + 20
        radius: 8
        color: Theme.panel
        border.color: Theme.stroke

        ColumnLayout {
            id: body
            anchors.fill: parent
            anchors.margins: 10
            spacing: 8
        }
    }
}
