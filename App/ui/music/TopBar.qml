import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Morvane

// The strip across the top of the music window: the brand, the home button, the music search
// field, the audio output picker's place and the overflow menu.
Rectangle {
    id: bar

    required property TopBarModel model
    // The audio output picker; its 28 × 28 place stays empty without one.
    required property OutputListModel outputs

    // Go ▸ Search: the cursor goes to the field, its old query selected so that typing replaces it.
    function focusSearch() {
        input.forceActiveFocus()
        input.selectAll()
    }

    implicitHeight: 52
    color: Theme.side

    RowLayout {
        anchors.fill: parent
        anchors.topMargin: 8
        anchors.bottomMargin: 8
        spacing: 14

        // As wide as the sidebar below, the symbol above the sidebar's symbols.
        Item {
            Layout.preferredWidth: 216
            Layout.fillHeight: true

            Row {
                x: 20
                anchors.verticalCenter: parent.verticalCenter
                spacing: 8
                Icon {
                    anchors.verticalCenter: parent.verticalCenter
                    name: "waveform.circle.fill"
                    size: 20
                    color: Theme.accent
                }
                Text {
                    anchors.verticalCenter: parent.verticalCenter
                    text: "Morvane"
                    textFormat: Text.PlainText
                    color: Theme.text
                    font.pixelSize: 14
                    font.bold: true
                }
            }
        }

        RowLayout {
            Layout.fillWidth: true
            Layout.maximumWidth: 556
            spacing: 8

            SymbolToolButton {
                objectName: "homeButton"
                Layout.preferredWidth: 28
                symbol: "house.fill"
                size: 17
                colour: Theme.dim
                Accessible.name: "Home"
                onClicked: bar.model.goHome()
            }

            Rectangle {
                id: field
                objectName: "searchField"
                Layout.fillWidth: true
                Layout.minimumWidth: 200
                Layout.preferredWidth: 520
                Layout.maximumWidth: 520
                implicitHeight: input.implicitHeight + 14
                radius: height / 2
                color: Qt.rgba(1, 1, 1, 0.08)
                border.width: 1
                border.color: input.activeFocus ? Qt.rgba(Theme.accent.r, Theme.accent.g, Theme.accent.b, 0.7) : Theme.stroke

                RowLayout {
                    anchors.fill: parent
                    anchors.leftMargin: 12
                    anchors.rightMargin: 12
                    spacing: 8

                    Icon {
                        name: "magnifyingglass"
                        size: 15
                        color: Theme.dim
                    }
                    TextField {
                        id: input
                        objectName: "searchInput"
                        Layout.fillWidth: true
                        padding: 0
                        background: null
                        placeholderText: "Search songs, artists, or paste a YouTube link"
                        Accessible.name: qsTr("Search")
                        font.pixelSize: Theme.body
                        text: bar.model.query
                        onTextEdited: bar.model.query = text
                        onAccepted: bar.model.submit()
                    }
                    SymbolToolButton {
                        objectName: "clearSearch"
                        visible: bar.model.clearVisible
                        Layout.preferredWidth: 18
                        Layout.preferredHeight: 18
                        padding: 0
                        symbol: "xmark.circle.fill"
                        colour: Theme.dim
                        Accessible.name: "Clear"
                        onClicked: bar.model.clear()
                    }
                }
            }
        }

        Item {
            Layout.fillWidth: true
        }

        OutputPicker {
            objectName: "outputPicker"
            Layout.preferredWidth: 28
            Layout.preferredHeight: 28
            model: bar.outputs
        }

        SymbolToolButton {
            id: menuButton
            objectName: "overflowMenuButton"
            Layout.preferredWidth: 30
            symbol: "ellipsis.circle"
            size: 17
            colour: Theme.dim
            Accessible.name: "More"
            onClicked: menu.popup(menuButton, 0, menuButton.height)
        }

        Item {
            Layout.preferredWidth: 6
        }
    }

    Menu {
        id: menu
        objectName: "overflowMenu"

        // Entries made by script belong to the menu: the menu's list alone does not keep them from the
        // script's garbage collector, which would leave entries that do nothing when chosen.
        Component.onCompleted: {
            for (const entry of bar.model.menu) {
                if (entry.divider)
                    addItem(divider.createObject(menu.contentItem))
                else
                    addItem(entryItem.createObject(menu.contentItem, {
                        "text": entry.text,
                        "entryAction": entry.action
                    }))
            }
        }
    }
    Component {
        id: divider
        MenuSeparator {}
    }
    Component {
        id: entryItem
        MenuItem {
            property string entryAction
            onTriggered: () => bar.model.trigger(entryAction)
        }
    }
}
