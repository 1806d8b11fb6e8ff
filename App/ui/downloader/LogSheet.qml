import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Morvane

// The log of one task, known by its id, in a modal sheet. The text arrives in blocks of lines so
// only the blocks in sight are laid out; Return runs "Done" whichever child has the focus.
Popup {
    id: sheet

    required property LogSheetModel model

    function show(taskId) {
        model.open(taskId);
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
    onClosed: model.close()

    background: Rectangle {
        color: Theme.side
        border.color: Theme.stroke
        radius: 8
    }

    ColumnLayout {
        anchors.fill: parent
        spacing: 0
        // Return reaches this from whichever child has the focus: none of them takes it.
        focus: true
        Keys.onReturnPressed: sheet.close()
        Keys.onEnterPressed: sheet.close()

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
            objectName: "logBlocks"
            Layout.fillWidth: true
            Layout.fillHeight: true
            clip: true
            model: sheet.model
            ScrollBar.vertical: ScrollBar {
                policy: ScrollBar.AlwaysOn
            }

            delegate: Item {
                id: block

                required property string text
                required property int index

                width: ListView.view.width
                implicitHeight: plain.implicitHeight

                // Plain text lays out several times faster than an editor, so the blocks in
                // sight show at once; the block under the pointer turns into a selectable copy.
                Text {
                    id: plain
                    x: 12
                    width: parent.width - 24
                    topPadding: block.index === 0 ? 12 : 0
                    text: block.text
                    visible: selectable.status !== Loader.Ready
                    wrapMode: Text.WrapAnywhere
                    color: Theme.text
                    font.family: "monospace"
                    font.pixelSize: Theme.caption
                    textFormat: Text.PlainText
                }

                HoverHandler {
                    id: pointer
                }

                Loader {
                    id: selectable
                    x: plain.x
                    width: plain.width
                    active: pointer.hovered
                    sourceComponent: TextEdit {
                        readOnly: true
                        selectByMouse: true
                        wrapMode: TextEdit.WrapAnywhere
                        color: Theme.text
                        selectionColor: Theme.accent
                        font.family: "monospace"
                        font.pixelSize: Theme.caption
                        textFormat: TextEdit.PlainText
                    }
                    // Handed over once: a block's text never changes while it lives.
                    onLoaded: {
                        const edit = item as TextEdit;
                        edit.topPadding = plain.topPadding;
                        edit.text = block.text;
                    }
                }
            }
        }
    }
}
