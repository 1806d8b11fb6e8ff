import QtQuick
import QtQuick.Controls
import Morvane
import Morvane.Style as Style

// "Clear all history?", open while the view model asks: only the destructive button clears; any other way
// out changes nothing. Cancel is the default, so Return never clears by surprise.
Style.Dialog {
    id: dialog

    required property HistoryViewModel model

    title: "Clear all history?"
    modal: true
    anchors.centerIn: Overlay.overlay
    defaultButton: cancelButton
    Component.onCompleted: if (model.confirmingClear)
        open()
    onClosed: model.cancelClear()

    Connections {
        target: dialog.model
        function onConfirmingClearChanged() {
            if (dialog.model.confirmingClear)
                dialog.open()
            else
                dialog.close()
        }
    }

    Label {
        text: "Downloaded files are not deleted."
        textFormat: Text.PlainText
        color: Theme.dim
    }

    footer: Row {
        layoutDirection: Qt.RightToLeft
        spacing: 8
        padding: 12

        Style.Button {
            objectName: "confirmClear"
            text: "Clear History"
            textColor: Theme.red
            onClicked: () => dialog.model.confirmClear()
        }
        Button {
            id: cancelButton
            text: "Cancel"
            onClicked: () => dialog.model.cancelClear()
        }
    }
}
