import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Morvane

// The fetched playlist's entries to tick, with Select All and None. The list scrolls within
// 220 pixels and builds only the rows in view: playlists reach thousands of entries.
ColumnLayout {
    id: section

    required property DownloadFormModel model

    spacing: 6

    RowLayout {
        Layout.fillWidth: true

        Label {
            objectName: "selectionText"
            Layout.fillWidth: true
            text: section.model.selectionText
            textFormat: Text.PlainText
            color: Theme.dim
        }
        Button {
            objectName: "selectAll"
            text: section.model.selectAllText
            onClicked: section.model.entries.selectAll()
        }
        Button {
            objectName: "selectNone"
            text: section.model.selectNoneText
            onClicked: section.model.entries.selectNone()
        }
    }

    Rectangle {
        Layout.fillWidth: true
        implicitHeight: 1
        color: Theme.stroke
    }

    ListView {
        id: list
        objectName: "entryList"
        Layout.fillWidth: true
        Layout.preferredHeight: Math.min(contentHeight, 220)
        clip: true
        spacing: 2
        reuseItems: true
        boundsBehavior: Flickable.StopAtBounds
        model: section.model.entries
        ScrollBar.vertical: ScrollBar {}

        // The whole row is the check box's label: a click anywhere on it ticks the entry.
        delegate: Item {
            id: entry

            required property int index
            required property string number
            required property string title
            required property string duration
            required property bool checked

            width: ListView.view.width
            implicitHeight: box.implicitHeight

            CheckBox {
                id: box
                objectName: "entryCheck"
                width: parent.width
                padding: 0
                // Read out by assistive tools and keeps the box at the left edge; the row below
                // draws it.
                text: entry.title
                checked: entry.checked
                onToggled: entry.ListView.view.model.setChecked(entry.index, checked)

                contentItem: RowLayout {
                    spacing: 8

                    // Room for the box, which the style draws at the left edge.
                    Item {
                        implicitWidth: box.indicator ? box.indicator.width : 0
                    }
                    Text {
                        Layout.preferredWidth: 36
                        horizontalAlignment: Text.AlignRight
                        text: entry.number
                        textFormat: Text.PlainText
                        color: Theme.dim
                        font.pixelSize: Theme.body
                    }
                    Text {
                        Layout.fillWidth: true
                        text: entry.title
                        textFormat: Text.PlainText
                        color: Theme.text
                        elide: Text.ElideRight
                        font.pixelSize: Theme.body
                    }
                    Text {
                        Layout.rightMargin: 8
                        text: entry.duration
                        textFormat: Text.PlainText
                        color: Theme.dim
                        font.pixelSize: Theme.body
                    }
                }
            }
        }
    }
}
