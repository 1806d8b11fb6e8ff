import QtQuick
import QtQuick.Controls
import Morvane

// The music window's destinations, its playlists among them. A click routes there and closes
// Now Playing; the current route's entry is drawn selected. The keyboard enters on that entry, the
// arrows pass the headers, and Return or Space acts as the click.
Rectangle {
    id: sidebar

    required property SidebarModel model

    color: Theme.side

    ListView {
        id: list
        objectName: "sidebarList"
        anchors.fill: parent
        anchors.leftMargin: 10
        anchors.rightMargin: 10
        topMargin: 12
        bottomMargin: 12
        clip: true
        spacing: 2
        reuseItems: true
        boundsBehavior: Flickable.StopAtBounds
        model: sidebar.model
        activeFocusOnTab: true
        keyNavigationEnabled: false
        ScrollBar.vertical: ScrollBar {}

        onActiveFocusChanged: if (activeFocus) currentIndex = sidebar.model.selectedRow()
        Keys.onUpPressed: currentIndex = sidebar.model.step(currentIndex, -1)
        Keys.onDownPressed: currentIndex = sidebar.model.step(currentIndex, 1)

        delegate: Item {
            id: row

            required property int index
            required property bool isHeader
            required property string symbol
            required property string title
            required property string badge
            required property bool selected
            required property string key
            required property string spokenName

            function activate() {
                ListView.view.model.activate(index)
            }

            objectName: "sidebar:" + key
            width: ListView.view.width
            height: isHeader ? headerText.implicitHeight + 20 : 31
            focus: ListView.isCurrentItem
            Accessible.role: isHeader ? Accessible.StaticText : Accessible.ListItem
            Accessible.name: spokenName
            Accessible.selected: selected
            Accessible.onPressAction: activate()
            Keys.onPressed: event => event.accepted = KeyboardAccess.press(row, event.key, event.modifiers)

            Text {
                id: headerText
                visible: row.isHeader
                x: 10
                y: 16
                text: row.title
                textFormat: Text.PlainText
                color: Qt.rgba(1, 1, 1, 0.35)
                font.pixelSize: 11
                font.weight: Font.DemiBold
            }

            Rectangle {
                visible: !row.isHeader
                anchors.fill: parent
                radius: 8
                color: row.selected ? Qt.rgba(1, 1, 1, 0.1) : "transparent"

                Icon {
                    id: icon
                    x: 10
                    width: 20
                    anchors.verticalCenter: parent.verticalCenter
                    horizontalAlignment: Text.AlignHCenter
                    name: row.isHeader ? "" : row.symbol
                    size: 14
                    color: row.selected ? Theme.accent : Theme.dim
                }
                Text {
                    anchors.left: icon.right
                    anchors.leftMargin: 10
                    anchors.right: badgeCapsule.visible ? badgeCapsule.left : parent.right
                    anchors.rightMargin: 10
                    anchors.verticalCenter: parent.verticalCenter
                    text: row.title
                    textFormat: Text.PlainText
                    color: Theme.text
                    font.pixelSize: 13
                    font.weight: row.selected ? Font.DemiBold : Font.Normal
                    elide: Text.ElideRight
                    maximumLineCount: 1
                }
                Rectangle {
                    id: badgeCapsule
                    objectName: "badge"
                    visible: row.badge !== ""
                    anchors.right: parent.right
                    anchors.rightMargin: 10
                    anchors.verticalCenter: parent.verticalCenter
                    width: badgeText.implicitWidth + 12
                    height: badgeText.implicitHeight + 2
                    radius: height / 2
                    color: Theme.accent

                    Text {
                        id: badgeText
                        anchors.centerIn: parent
                        text: row.badge
                        textFormat: Text.PlainText
                        color: "black"
                        font.pixelSize: Theme.caption2
                        font.bold: true
                    }
                }
                MouseArea {
                    anchors.fill: parent
                    enabled: !row.isHeader
                    onClicked: row.activate()
                }
                FocusRing {
                    shown: row.activeFocus
                    inset: 0
                    radius: 8
                }
            }
        }
    }
}
