import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Morvane

// The download-folder chooser, in the window's own look: it answers with the folder it shows, so an
// empty folder can be chosen, and it can make a folder. By keyboard: the arrows move in the list,
// Return opens a folder, Backspace or Alt+Up goes up, Escape cancels.
Dialog {
    id: chooser

    readonly property FolderChooserModel model: FolderChooserModel {}

    signal chosen(url folder)

    // Opens at `path`, the folder stored now.
    function show(path: string) {
        model.start(path)
        open()
    }

    parent: Overlay.overlay
    anchors.centerIn: parent
    width: Math.min(520, parent ? parent.width - 40 : 520)
    height: Math.min(440, parent ? parent.height - 40 : 440)
    modal: true
    focus: true
    closePolicy: Popup.CloseOnEscape
    title: model.titleText
    onOpened: folders.forceActiveFocus()

    Connections {
        target: chooser.model
        function onFolderChanged() {
            folders.currentIndex = chooser.model.startRow
        }
    }

    ColumnLayout {
        anchors.fill: parent
        spacing: 10
        Keys.onPressed: event => {
            if (event.key === Qt.Key_Backspace || (event.key === Qt.Key_Up && event.modifiers & Qt.AltModifier)) {
                chooser.model.goUp()
                event.accepted = true
            }
        }

        RowLayout {
            Layout.fillWidth: true
            spacing: 6

            SymbolToolButton {
                objectName: "upButton"
                symbol: "arrow.up"
                help: chooser.model.upText
                enabled: chooser.model.canGoUp
                onClicked: chooser.model.goUp()
            }
            SymbolToolButton {
                symbol: "house.fill"
                help: chooser.model.homeText
                onClicked: chooser.model.goHome()
            }
            TextField {
                objectName: "pathField"
                Layout.fillWidth: true
                text: chooser.model.folder
                Accessible.name: chooser.model.pathName
                onAccepted: chooser.model.goTo(text)
            }
            SymbolToolButton {
                objectName: "newFolderButton"
                symbol: "folder.badge.plus"
                help: chooser.model.newFolderText
                checked: chooser.model.naming
                onClicked: {
                    chooser.model.toggleNaming()
                    if (chooser.model.naming)
                        nameField.forceActiveFocus()
                }
            }
        }

        RowLayout {
            Layout.fillWidth: true
            visible: chooser.model.naming
            spacing: 6

            TextField {
                id: nameField
                objectName: "nameField"
                Layout.fillWidth: true
                placeholderText: chooser.model.nameText
                Accessible.name: chooser.model.nameText
                text: chooser.model.newName
                onTextEdited: chooser.model.newName = text
                onAccepted: chooser.model.create()
            }
            Button {
                objectName: "createButton"
                text: chooser.model.createText
                enabled: chooser.model.canCreate
                onClicked: chooser.model.create()
            }
        }

        Label {
            objectName: "chooserError"
            Layout.fillWidth: true
            visible: text !== ""
            text: chooser.model.error
            textFormat: Text.PlainText
            wrapMode: Text.Wrap
            color: Theme.red
        }

        Rectangle {
            Layout.fillWidth: true
            Layout.fillHeight: true
            color: Theme.panel
            border.color: Theme.stroke
            radius: 6

            ListView {
                id: folders
                objectName: "folderList"
                anchors.fill: parent
                anchors.margins: 4
                clip: true
                activeFocusOnTab: true
                highlightMoveDuration: 0
                model: chooser.model
                Accessible.role: Accessible.List
                Accessible.name: chooser.model.listName
                ScrollBar.vertical: ScrollBar {}
                Keys.onReturnPressed: chooser.model.enter(currentIndex)
                Keys.onEnterPressed: chooser.model.enter(currentIndex)

                delegate: Rectangle {
                    id: row

                    required property int index
                    required property string name
                    readonly property bool current: ListView.isCurrentItem

                    width: ListView.view.width
                    height: 28
                    radius: 4
                    color: !current ? "transparent" : Qt.rgba(Theme.accent.r, Theme.accent.g, Theme.accent.b,
                                                              row.ListView.view.activeFocus ? 0.45 : 0.2)
                    Accessible.role: Accessible.ListItem
                    Accessible.name: name
                    Accessible.selected: current

                    Row {
                        anchors.verticalCenter: parent.verticalCenter
                        x: 8
                        width: parent.width - 16
                        spacing: 8

                        Icon {
                            anchors.verticalCenter: parent.verticalCenter
                            name: "folder"
                            color: Theme.dim
                        }
                        Text {
                            anchors.verticalCenter: parent.verticalCenter
                            width: parent.width - 24
                            text: row.name
                            textFormat: Text.PlainText
                            elide: Text.ElideMiddle
                            color: Theme.text
                            font.pixelSize: Theme.body
                        }
                    }
                    TapHandler {
                        onTapped: {
                            row.ListView.view.currentIndex = row.index
                            row.ListView.view.forceActiveFocus()
                        }
                        onDoubleTapped: row.ListView.view.model.enter(row.index)
                    }
                }
            }

            Label {
                anchors.centerIn: parent
                visible: chooser.model.empty
                text: chooser.model.emptyText
                textFormat: Text.PlainText
                color: Theme.dim
            }
        }
    }

    footer: Row {
        layoutDirection: Qt.RightToLeft
        spacing: 8
        padding: 12

        Button {
            objectName: "chooseButton"
            text: chooser.model.chooseText
            highlighted: true
            enabled: chooser.model.canChoose
            onClicked: {
                chooser.chosen(chooser.model.folderUrl)
                chooser.close()
            }
        }
        Button {
            objectName: "cancelButton"
            text: chooser.model.cancelText
            onClicked: chooser.close()
        }
    }
}
