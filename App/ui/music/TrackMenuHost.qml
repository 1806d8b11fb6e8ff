import QtQuick
import Morvane

// The one song menu of a screen or a card: made for the row's song when asked, gone once closed.
Item {
    id: host

    // What makes the menu of a row: a list of song rows (TrackListModel) or of cards
    // (CardListModel), both through menu(row, owner).
    required property var list

    function open(row: int, at: Item, x: real, y: real) {
        const menu = menuView.createObject(host)
        menu.controller = list.menu(row, menu)
        menu.build()
        // Placed in the host's coordinates: a row may go while its menu is open.
        const point = at.mapToItem(host, x, y)
        menu.popup(point.x, point.y)
    }

    Component {
        id: menuView

        TrackMenuView {
            onClosed: destroy()
        }
    }
}
