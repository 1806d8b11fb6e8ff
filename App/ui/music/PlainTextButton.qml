import QtQuick
import QtQuick.Controls
import Morvane

// A borderless text button in the dim colour ("Clear", "Clear History").
AbstractButton {
    id: button

    focusPolicy: Qt.TabFocus
    contentItem: Text {
        text: button.text
        color: Theme.dim
        font.pixelSize: Theme.body
    }

    FocusRing {
        shown: button.visualFocus
    }
}
