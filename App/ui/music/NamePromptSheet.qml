import QtQuick
import QtQuick.Controls
import QtQuick.Layouts
import Morvane

// The one sheet that asks for a line of text (a playlist's name, a link to import) for whichever
// prompt is set. Return in the field is the one way Return confirms, so a press confirms once.
// The sheet never clears the prompt as it closes: a confirmed prompt may already have set the next.
Popup {
    id: sheet

    required property NamePromptModel model

    parent: Overlay.overlay
    anchors.centerIn: parent
    modal: true
    focus: true
    padding: 20
    closePolicy: Popup.NoAutoClose
    visible: model.shown
    onOpened: field.forceActiveFocus()

    // A screen reader reads the sheet as a dialog (the item that holds its content) named by its
    // title.
    Binding {
        target: sheet.contentItem.parent.Accessible
        property: "name"
        value: sheet.model.title
    }

    background: Rectangle {
        color: Theme.side
        border.color: Theme.stroke
        radius: 10
    }

    ColumnLayout {
        spacing: 14
        Keys.onEscapePressed: sheet.model.cancel()

        Label {
            objectName: "promptTitle"
            text: sheet.model.title
            textFormat: Text.PlainText
            font.pixelSize: Theme.headline
            font.bold: true
        }
        TextField {
            id: field
            objectName: "nameField"
            Layout.preferredWidth: 320
            placeholderText: "Name"
            text: sheet.model.text
            onTextEdited: sheet.model.text = text
            onAccepted: sheet.model.commit()
        }
        RowLayout {
            Layout.fillWidth: true

            Item {
                Layout.fillWidth: true
            }
            Button {
                objectName: "cancelButton"
                text: "Cancel"
                onClicked: sheet.model.cancel()
            }
            Button {
                objectName: "commitButton"
                text: sheet.model.action
                highlighted: true
                enabled: sheet.model.canCommit
                onClicked: sheet.model.commit()
            }
        }
    }
}
