import QtQuick
import Morvane

// What every card, tile and chip of a shelf or grid shares: a click, or Return or Space while the
// keyboard is on it, acts on its list's row; the keyboard reaches it as its list's current item;
// it reads as a button named by its title.
Item {
    id: item

    required property int index
    required property string title
    // The list the item belongs to, in a shelf or in a grid.
    readonly property CardListModel cards: ListView.view ? ListView.view.model : GridView.view.model
    property real ringRadius: 12

    function activate() {
        cards.activate(index)
    }

    focus: ListView.view ? ListView.isCurrentItem : GridView.isCurrentItem
    // The list's one stop of the Tab chain, so an empty list is none.
    activeFocusOnTab: ListView.view ? ListView.isCurrentItem : GridView.isCurrentItem
    Accessible.role: Accessible.Button
    Accessible.name: title
    Accessible.onPressAction: activate()
    Keys.onPressed: event => event.accepted = KeyboardAccess.press(item, event.key, event.modifiers)

    FocusRing {
        z: 1
        shown: item.activeFocus
        radius: item.ringRadius
    }
}
