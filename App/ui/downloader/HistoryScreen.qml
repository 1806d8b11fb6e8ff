import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Morvane

// Finished downloads: search, a selection (Ctrl-click toggles, Shift-click extends), Remove Selected, Clear
// History behind a confirmation, and each entry's buttons and context menu.
Item {
    id: screen

    required property HistoryViewModel model

    // An entry's "Show Log": the view model now names the task in `logTask`; whoever opens the log sheet
    // calls model.closeLog() when it closes.
    signal logRequested(string taskId)

    Connections {
        target: screen.model
        function onLogTaskChanged() {
            if (screen.model.logTask !== "")
                screen.logRequested(screen.model.logTask)
        }
        // The dialog follows the view model from then on.
        function onConfirmingClearChanged() {
            if (screen.model.confirmingClear && clearDialog.status === Loader.Null)
                clearDialog.setSource("HistoryClearDialog.qml", {"model": screen.model})
        }
    }

    ColumnLayout {
        anchors.fill: parent
        spacing: 0

        RowLayout {
            Layout.fillWidth: true
            Layout.margins: 10
            spacing: 6

            TextField {
                objectName: "search"
                Layout.fillWidth: true
                placeholderText: "Search history"
                Accessible.name: placeholderText
                text: screen.model.search
                onTextEdited: screen.model.search = text
            }
            SymbolToolButton {
                objectName: "removeSelected"
                symbol: "minus.circle"
                size: 18
                help: "Remove Selected"
                enabled: screen.model.removeSelectedEnabled
                onClicked: screen.model.removeSelected()
            }
            SymbolToolButton {
                objectName: "clearHistory"
                symbol: "trash"
                size: 18
                help: "Clear History"
                enabled: screen.model.clearEnabled
                onClicked: screen.model.askClear()
            }
        }

        Item {
            Layout.fillWidth: true
            Layout.fillHeight: true

            ListView {
                objectName: "historyList"
                anchors.fill: parent
                visible: !screen.model.empty
                clip: true
                reuseItems: true
                spacing: 2
                leftMargin: 10
                rightMargin: 10
                model: screen.model.items
                ScrollBar.vertical: ScrollBar {}
                delegate: HistoryRow {
                    width: ListView.view.width - 20
                    onClicked: (id, modifiers) => screen.model.click(id, (modifiers & Qt.ControlModifier) !== 0,
                                                                     (modifiers & Qt.ShiftModifier) !== 0)
                    onMenuRequested: (id, scenePosition) => {
                        if (menu.status === Loader.Null)
                            menu.setSource("HistoryMenu.qml", {"model": screen.model})
                        menu.item.show(id, screen.mapFromItem(null, scenePosition))
                    }
                    onButtonTriggered: (id, action) => screen.model.trigger(id, action)
                }
            }

            Column {
                anchors.centerIn: parent
                visible: screen.model.empty
                spacing: 8

                Icon {
                    anchors.horizontalCenter: parent.horizontalCenter
                    name: "clock.arrow.circlepath"
                    size: 42
                    color: Theme.roleColour("tertiary")
                }
                Text {
                    text: "No history yet"
                    textFormat: Text.PlainText
                    color: Theme.text
                    font.pixelSize: Theme.title3
                    font.weight: Font.Medium
                }
            }
        }
    }

    // Built the first time one is needed: most visits open neither.
    Loader {
        id: menu
        objectName: "historyMenu"
    }
    Loader {
        id: clearDialog
        objectName: "clearDialog"
    }
}
