import QtQuick
import QtQuick.Controls
import Morvane
import Morvane.Style as Style

// Asked before quitting while downloads run. "Quit" is the default; any other way out (Cancel,
// Escape) keeps the application running.
Style.Dialog {
    id: dialog

    // Emitted once per opening: true for "Quit".
    signal answered(bool quit)

    property bool chosen: false

    function choose(quit: bool) {
        chosen = true
        close()
        answered(quit)
    }

    objectName: "quitDialog"
    title: "Downloads are in progress"
    modal: true
    anchors.centerIn: Overlay.overlay
    closePolicy: Popup.CloseOnEscape
    defaultButton: quitButton
    onOpened: chosen = false
    onClosed: if (!chosen)
        answered(false)

    Label {
        width: Math.min(implicitWidth, 360)
        wrapMode: Text.Wrap
        text: "Quit anyway? Unfinished downloads will resume the next time you open Morvane."
        textFormat: Text.PlainText
        color: Theme.dim
    }

    footer: Row {
        layoutDirection: Qt.RightToLeft
        spacing: 8
        padding: 12

        Button {
            id: quitButton
            objectName: "confirmQuit"
            text: "Quit"
            highlighted: true
            focus: true
            onClicked: () => dialog.choose(true)
        }
        Button {
            objectName: "cancelQuit"
            text: "Cancel"
            onClicked: () => dialog.choose(false)
        }
    }
}
