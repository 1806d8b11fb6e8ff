import QtQuick
import Morvane

// A titled row that scrolls sideways (by drag, a sideways wheel or Shift with the wheel), its first
// item in line with the heading; only the items in view are built. The host gives the items and their
// height. The keyboard reaches the row as one stop, its current item; the arrows move along it and
// the row scrolls to keep the item in view.
Column {
    id: shelf

    property string title
    property string subtitle
    property var model
    property Component delegate
    property real rowHeight
    // The keyboard is on one of the items.
    readonly property bool itemsFocused: items.activeFocus

    spacing: 12

    Column {
        x: Theme.pageInset
        width: shelf.width - 2 * Theme.pageInset
        spacing: 2

        Text {
            width: parent.width
            text: shelf.title
            textFormat: Text.PlainText
            color: Theme.text
            font.pixelSize: 22
            font.bold: true
            elide: Text.ElideRight
        }
        Text {
            width: parent.width
            visible: shelf.subtitle !== ""
            text: shelf.subtitle
            textFormat: Text.PlainText
            color: Theme.dim
            font.pixelSize: 13
            elide: Text.ElideRight
        }
    }

    // Shift with the wheel scrolls the shelf sideways, the desktop's convention, not the page.
    WheelHandler {
        target: null
        acceptedModifiers: Qt.ShiftModifier
        onWheel: event => {
            const delta = event.angleDelta.x !== 0 ? event.angleDelta.x : event.angleDelta.y
            const start = items.originX - items.leftMargin
            const end = Math.max(start, items.originX + items.contentWidth + items.rightMargin - items.width)
            items.contentX = Math.max(start, Math.min(end, items.contentX - delta))
        }
    }

    ListView {
        id: items

        objectName: "shelfItems"
        width: shelf.width
        // 2 above and below, so a card grown under the pointer is not cut.
        height: shelf.rowHeight + 4
        orientation: ListView.Horizontal
        spacing: 16
        leftMargin: Theme.pageInset
        rightMargin: Theme.pageInset
        clip: true
        boundsBehavior: Flickable.StopAtBounds
        model: shelf.model
        delegate: shelf.delegate

        onCurrentIndexChanged: if (activeFocus) positionViewAtIndex(currentIndex, ListView.Contain)
    }
}
