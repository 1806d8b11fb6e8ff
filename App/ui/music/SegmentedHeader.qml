pragma ComponentBehavior: Bound
import QtQuick
import QtQuick.Layouts
import Morvane

// The header of a page that switches its content: the title at the leading edge, the segments at a
// fixed width at the trailing edge. The lit segment is whatever `current` says, so it follows the
// state it is bound to; a click, or Left and Right while the segments hold the keyboard (one stop of
// the Tab chain, as a tab bar is), only reports which segment was chosen.
PageHeader {
    id: header

    property var segments: []
    // -1 lights none.
    property int current: -1
    property real pickerWidth: 240

    signal chosen(int index)

    inset: Theme.pageInset
    topPadding: 20
    bottomPadding: 20

    Rectangle {
        id: picker
        objectName: "segments"
        width: header.pickerWidth
        height: 26
        radius: 7
        color: Theme.panel
        border.color: Theme.stroke
        activeFocusOnTab: true
        Accessible.role: Accessible.PageTabList
        Accessible.name: header.title
        Keys.onLeftPressed: if (header.current > 0)
            header.chosen(header.current - 1)
        Keys.onRightPressed: if (header.current < header.segments.length - 1)
            header.chosen(header.current + 1)

        // Only the keyboard gives the segments focus: a click chooses without taking it.
        FocusRing {
            shown: picker.activeFocus
            radius: 9
        }

        RowLayout {
            id: row
            anchors.fill: parent
            anchors.margins: 2
            spacing: 0

            Repeater {
                // The segments stay as the lit one moves: a screen reader hears the selection change
                // on the same objects.
                model: header.segments

                delegate: Rectangle {
                    id: segment

                    required property int index
                    required property string modelData
                    readonly property bool lit: index === header.current
                    readonly property string text: modelData

                    objectName: "segment" + index
                    Accessible.role: Accessible.PageTab
                    Accessible.name: text
                    Accessible.selected: lit
                    // Equal shares of the picker.
                    Layout.fillWidth: true
                    Layout.fillHeight: true
                    Layout.preferredWidth: 1
                    radius: 5
                    color: lit ? Qt.rgba(1, 1, 1, 0.16) : "transparent"

                    Text {
                        anchors.fill: parent
                        anchors.leftMargin: 4
                        anchors.rightMargin: 4
                        text: segment.text
                        textFormat: Text.PlainText
                        horizontalAlignment: Text.AlignHCenter
                        verticalAlignment: Text.AlignVCenter
                        elide: Text.ElideRight
                        color: segment.lit ? Theme.text : Theme.dim
                        font.pixelSize: Theme.callout
                        font.weight: segment.lit ? Font.DemiBold : Font.Normal
                    }
                }
            }
        }

        // One area for every segment: a click reports the segment under it and sets nothing, so
        // the lit segment keeps following the state.
        MouseArea {
            anchors.fill: row
            onClicked: mouse => header.chosen(Math.floor(mouse.x * header.segments.length / width))
        }
    }
}
