import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Morvane

// One tool's line on the setup and diagnostics screens: its status, name and detail, and on the right the
// download's progress or the installed version.
RowLayout {
    id: line

    // A ComponentRowPresentation: name, statusKind, icon, color, detail, showsProgress, progress, versionText.
    required property var row

    spacing: 10

    Item {
        Layout.preferredWidth: 22
        Layout.preferredHeight: 22
        Layout.topMargin: 8
        Layout.bottomMargin: 8

        BusyIndicator {
            anchors.fill: parent
            visible: line.row.statusKind === "working"
            running: visible
        }
        Icon {
            anchors.centerIn: parent
            visible: line.row.icon !== ""
            name: line.row.icon
            size: 20
            color: Theme.roleColour(line.row.color)
        }
    }

    Column {
        Layout.fillWidth: true
        spacing: 2

        Text {
            text: line.row.name
            textFormat: Text.PlainText
            color: Theme.text
            font.pixelSize: Theme.body
            font.weight: Font.Medium
        }
        Text {
            width: parent.width
            text: line.row.detail
            textFormat: Text.PlainText
            color: Theme.dim
            font.pixelSize: Theme.caption
            elide: Text.ElideRight
        }
    }

    ProgressBar {
        Layout.preferredWidth: 90
        visible: line.row.showsProgress
        value: line.row.progress
    }
    Text {
        visible: line.row.versionText !== ""
        text: line.row.versionText
        textFormat: Text.PlainText
        color: Theme.dim
        font.pixelSize: Theme.caption
        font.family: "monospace"
    }
}
