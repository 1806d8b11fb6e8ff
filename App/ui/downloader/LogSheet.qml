import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Morvane

// The log of one task, known by its id, in a modal sheet. The text arrives in blocks of lines so
// only the blocks in sight are laid out; Return runs "Done" whichever child has the focus.
Popup {
    id: sheet

    required property LogSheetModel model
    // What had the keyboard when the sheet opened, outside popups: it takes it back as the sheet
    // closes.
    property Item returnFocus: null

    function show(taskId, title) {
        const focused = sheet.parent.Window.activeFocusItem;
        returnFocus = KeyboardAccess.inPopup(focused) ? null : focused;
        model.open(taskId, title);
        open();
    }

    parent: Overlay.overlay
    anchors.centerIn: parent
    width: Math.max(640, parent ? parent.width * 0.7 : 0)
    height: Math.max(420, parent ? parent.height * 0.7 : 0)
    modal: true
    focus: true
    padding: 0
    closePolicy: Popup.CloseOnEscape
    onClosed: {
        model.close();
        if (returnFocus)
            returnFocus.forceActiveFocus();
    }

    // A screen reader reads the sheet as a dialog (the item that holds its content) named by its
    // task.
    Binding {
        target: sheet.contentItem.parent.Accessible
        property: "name"
        value: sheet.model.name
    }

    background: Rectangle {
        color: Theme.side
        border.color: Theme.stroke
        radius: 8
    }

    ColumnLayout {
        id: content

        anchors.fill: parent
        spacing: 0
        // Return reaches this from whichever child has the focus: none of them takes it; nor do
        // they take the copy keys, which copy the selection the model keeps.
        focus: true
        Keys.onReturnPressed: sheet.close()
        Keys.onEnterPressed: sheet.close()
        Keys.onPressed: event => {
            if (event.matches(StandardKey.Copy)) {
                sheet.model.copySelection();
                event.accepted = true;
            }
        }

        RowLayout {
            Layout.fillWidth: true
            Layout.margins: 12
            spacing: 8

            Label {
                text: "Download Log"
                textFormat: Text.PlainText
                font.pixelSize: Theme.headline
                font.bold: true
            }
            Item {
                Layout.fillWidth: true
            }
            Button {
                objectName: "refresh"
                text: "Refresh"
                onClicked: sheet.model.refresh()
            }
            Button {
                objectName: "copy"
                text: "Copy"
                onClicked: sheet.model.copy()
            }
            Button {
                objectName: "revealFile"
                text: "Reveal File"
                onClicked: sheet.model.revealFile()
            }
            Button {
                objectName: "done"
                text: "Done"
                highlighted: true
                onClicked: sheet.close()
            }
        }

        Rectangle {
            Layout.fillWidth: true
            Layout.preferredHeight: 1
            color: Theme.stroke
        }

        ListView {
            id: blocks
            objectName: "logBlocks"
            Layout.fillWidth: true
            Layout.fillHeight: true
            clip: true
            model: sheet.model
            ScrollBar.vertical: ScrollBar {
                policy: ScrollBar.AlwaysOn
            }

            // Moves the selection's end to the text under a point of the view (clamped to the
            // view); below the last block is the end of the text.
            function dragTo(point) {
                const y = Math.max(0, Math.min(point.y, height - 1));
                const index = indexAt(point.x + contentX, y + contentY);
                const block = itemAtIndex(index);
                if (block)
                    sheet.model.drag(index, block.positionAt(blocks, point.x, y));
                else
                    sheet.model.drag(count - 1, 2147483647);
            }

            delegate: Item {
                id: block

                required property string text
                required property int index
                required property int selectedFrom
                required property int selectedTo

                // The position in this block's text under a point of `item`.
                function positionAt(item, x, y) {
                    const point = edit.mapFromItem(item, x, y);
                    return edit.positionAt(point.x, point.y);
                }

                width: ListView.view.width
                implicitHeight: edit.implicitHeight
                onSelectedFromChanged: edit.select(selectedFrom, selectedTo)
                onSelectedToChanged: edit.select(selectedFrom, selectedTo)

                // The selection is the view's, across blocks: the editor only shows its part.
                TextEdit {
                    id: edit
                    x: 12
                    width: parent.width - 24
                    topPadding: block.index === 0 ? 12 : 0
                    text: block.text
                    readOnly: true
                    activeFocusOnPress: false
                    persistentSelection: true
                    wrapMode: TextEdit.WrapAnywhere
                    color: Theme.text
                    selectionColor: Theme.accent
                    font.family: "monospace"
                    font.pixelSize: Theme.caption
                    textFormat: TextEdit.PlainText
                    Component.onCompleted: select(block.selectedFrom, block.selectedTo)
                }

                MouseArea {
                    anchors.fill: parent
                    cursorShape: Qt.IBeamCursor
                    // A drag selects; the view must not take it for a flick.
                    preventStealing: true
                    onPressed: mouse => {
                        // A press may have taken the focus out of the sheet; its keys live here.
                        content.forceActiveFocus();
                        sheet.model.press(block.index, block.positionAt(this, mouse.x, mouse.y));
                    }
                    onPositionChanged: mouse => blocks.dragTo(mapToItem(blocks, mouse.x, mouse.y))
                }
            }
        }
    }
}
