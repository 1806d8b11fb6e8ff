import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Morvane

// One finished download in the history list: thumbnail, title, status line, file or error, link, and the
// row's own buttons. Clicks go to the list, which owns the selection and the menu. The keyboard
// reaches the row as its list's current item: Space selects as a click does (Ctrl and Shift as with
// the mouse), Return opens the entry, the Menu key opens the menu at the row, and Tab goes on through
// the current row's buttons.
Rectangle {
    id: row

    required property var model // for the entry's id, a name QML keeps for itself
    required property int index
    required property string title
    required property string sourceURL
    required property string statusText
    required property string statusIcon
    required property string statusColor
    required property string dateText
    required property string sizeText
    required property string detail
    required property string detailColor
    required property string loadableThumbnail
    required property var buttons
    required property bool selected
    // Only the current row's buttons are stops of the Tab chain, not every row's.
    readonly property int buttonFocus: ListView.isCurrentItem ? Qt.TabFocus : Qt.NoFocus

    signal clicked(string id, int modifiers)
    signal menuRequested(string id, point scenePosition)
    signal buttonTriggered(string id, string action)
    signal activated(string id)

    function activate() {
        activated(model.id)
    }
    function select(modifiers) {
        clicked(model.id, modifiers)
    }
    function openMenu() {
        menuRequested(model.id, mapToItem(null, 0, height))
    }

    objectName: "historyRow" + index
    height: 66
    radius: 6
    color: selected ? Qt.rgba(Theme.accent.r, Theme.accent.g, Theme.accent.b, 0.3) : "transparent"
    focus: ListView.isCurrentItem
    // The current row is the list's stop of the Tab chain, so Shift+Tab from its buttons comes back to it.
    activeFocusOnTab: ListView.isCurrentItem
    Accessible.role: Accessible.ListItem
    Accessible.name: title
    Accessible.description: statusText
    Accessible.selectable: true
    Accessible.selected: selected
    Keys.onPressed: event => event.accepted = KeyboardAccess.press(row, event.key, event.modifiers)

    FocusRing {
        shown: row.activeFocus
        inset: 0
    }

    MouseArea {
        anchors.fill: parent
        acceptedButtons: Qt.LeftButton | Qt.RightButton
        onClicked: mouse => {
            // The keyboard goes on from the row last clicked.
            row.ListView.view.currentIndex = row.index
            if (mouse.button === Qt.RightButton)
                row.menuRequested(row.model.id, mapToItem(null, mouse.x, mouse.y))
            else
                row.clicked(row.model.id, mouse.modifiers)
        }
    }

    RowLayout {
        anchors.fill: parent
        anchors.leftMargin: 8
        anchors.rightMargin: 8
        anchors.topMargin: 4
        anchors.bottomMargin: 4
        spacing: 12

        Rectangle {
            Layout.preferredWidth: 96
            Layout.preferredHeight: 54
            radius: 6
            color: Theme.panel
            clip: true

            Icon {
                anchors.centerIn: parent
                visible: thumbnail.status !== Image.Ready
                name: "film"
                size: 20
                color: Theme.dim
            }
            // Through the shared provider: one network manager, and the crop comes with its corners rounded.
            Image {
                id: thumbnail
                objectName: "historyThumbnail"
                anchors.fill: parent
                asynchronous: true
                sourceSize.width: 96
                sourceSize.height: 54
                source: row.loadableThumbnail !== "" ? "image://thumbnail/" + encodeURIComponent(row.loadableThumbnail) : ""
                visible: status === Image.Ready
            }
        }

        Column {
            Layout.fillWidth: true
            spacing: 3

            Text {
                width: parent.width
                text: row.title
                textFormat: Text.PlainText
                color: Theme.text
                font.pixelSize: Theme.body
                font.weight: Font.Medium
                elide: Text.ElideRight
            }
            Row {
                spacing: 8
                Row {
                    spacing: 3
                    Icon {
                        anchors.verticalCenter: parent.verticalCenter
                        name: row.statusIcon
                        size: 12
                        color: Theme.roleColour(row.statusColor)
                    }
                    Text {
                        text: row.statusText
                        textFormat: Text.PlainText
                        color: Theme.roleColour(row.statusColor)
                        font.pixelSize: Theme.caption
                    }
                }
                Text {
                    text: row.dateText
                    textFormat: Text.PlainText
                    color: Theme.dim
                    font.pixelSize: Theme.caption
                }
                Text {
                    visible: row.sizeText !== ""
                    text: row.sizeText
                    textFormat: Text.PlainText
                    color: Theme.dim
                    font.pixelSize: Theme.caption
                }
            }
            Text {
                width: parent.width
                text: row.detail
                textFormat: Text.PlainText
                color: Theme.roleColour(row.detailColor)
                font.pixelSize: Theme.caption
                elide: Text.ElideMiddle
            }
            Text {
                width: parent.width
                text: row.sourceURL
                textFormat: Text.PlainText
                color: Theme.roleColour("tertiary")
                font.pixelSize: Theme.footnote
                elide: Text.ElideMiddle
            }
        }

        Row {
            spacing: 2
            Repeater {
                model: row.buttons
                // Bound here: a delegate that reached the row would read it from a context of its own.
                onItemAdded: (index, item) => (item as ToolButton).focusPolicy = Qt.binding(() => row.buttonFocus)
                delegate: SymbolToolButton {
                    required property var modelData
                    symbol: modelData.icon
                    size: 18
                    help: modelData.text
                    onClicked: () => row.buttonTriggered(row.model.id, modelData.action)
                }
            }
        }
    }
}
