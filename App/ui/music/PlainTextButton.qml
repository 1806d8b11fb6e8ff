import QtQuick
import QtQuick.Controls
import Morvane

// A borderless text button in the dim colour ("Clear", "Clear History", "Quit").
AbstractButton {
    id: button

    focusPolicy: Qt.NoFocus
    font.pixelSize: Theme.body
    contentItem: Text {
        text: button.text
        textFormat: Text.PlainText
        color: Theme.dim
        font: button.font
    }
}
