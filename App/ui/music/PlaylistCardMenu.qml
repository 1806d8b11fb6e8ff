import QtQuick
import QtQuick.Controls
import Morvane

// A playlist card's menu: the playlist from its first song, in order or shuffled. The keyboard
// goes back to `returnFocus` as it closes (a closed menu leaves it nowhere).
Menu {
    id: menu

    required property CardListModel cards
    property int row: -1
    property Item returnFocus

    onClosed: if (returnFocus) returnFocus.forceActiveFocus()

    MenuItem {
        text: qsTr("Play")
        onTriggered: menu.cards.play(menu.row, false)
    }
    MenuItem {
        text: qsTr("Shuffle")
        onTriggered: menu.cards.play(menu.row, true)
    }
}
