import QtQuick
import Morvane

// A page's large title with the page's buttons at the trailing edge, their middles level. Where the
// two do not fit side by side the buttons move under the title, at the leading edge, and a title
// too long for the width alone wraps: the buttons never run over the title.
Item {
    id: header

    property alias title: heading.text
    readonly property alias heading: heading
    // Room kept free after the title for what the page shows beside it.
    property real titleTrail: 0
    // From the leading and trailing edges.
    property real inset: 0
    property real topPadding: 0
    property real bottomPadding: 0
    default property alias actions: actionRow.data
    // The list this header heads, if any. While the list is at its top it stays there as the header
    // grows or shrinks (the buttons moving under the title or back), so the title never slides
    // out of sight above it.
    property Flickable view
    property bool viewAtTop: true
    readonly property real available: width - 2 * inset
    readonly property bool stacked: heading.implicitWidth + titleTrail + 16 + actionRow.implicitWidth > available
    // The height of the line the title and the buttons share, side by side.
    readonly property real lineHeight: Math.max(heading.height, actionRow.height)

    implicitHeight: topPadding + (stacked ? heading.height + 12 + actionRow.height : lineHeight) + bottomPadding

    Connections {
        target: header.view

        function onContentYChanged() {
            header.viewAtTop = header.view.contentY <= header.view.originY - header.view.topMargin + 0.5
        }
        function onOriginYChanged() {
            if (header.viewAtTop)
                header.view.contentY = header.view.originY - header.view.topMargin
        }
    }

    Text {
        id: heading
        objectName: "pageTitle"
        x: header.inset
        y: header.topPadding + (header.stacked ? 0 : (header.lineHeight - height) / 2)
        width: Math.min(implicitWidth, header.available - header.titleTrail)
        wrapMode: Text.Wrap
        textFormat: Text.PlainText
        color: Theme.text
        font.pixelSize: 32
        font.bold: true
    }

    Row {
        id: actionRow
        objectName: "pageActions"
        x: header.stacked ? header.inset : header.width - header.inset - width
        y: header.topPadding + (header.stacked ? heading.height + 12 : (header.lineHeight - height) / 2)
        spacing: 8
    }
}
