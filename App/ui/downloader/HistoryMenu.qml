import QtQuick
import QtQuick.Controls
import Morvane

// The context menu of one history entry, rebuilt from the view model each time it opens (the file is
// looked for then).
Menu {
    id: menu

    required property HistoryViewModel model
    // Where the keyboard was when the menu opened, and goes back to once it closes (a closed menu
    // leaves it nowhere).
    property Item returnFocus: null

    onClosed: if (returnFocus)
        returnFocus.forceActiveFocus()

    // Fills the menu for the entry `id` and opens it at `position` (in the screen's coordinates).
    function show(id: string, position: point) {
        returnFocus = (parent as Item).Window.activeFocusItem
        while (count > 0)
            takeItem(0).destroy()
        // Entries belong to the menu, or the script's garbage collector may take them while it is open.
        for (const entry of model.menu(id)) {
            if (entry.divider)
                addItem(divider.createObject(menu.contentItem))
            else
                addItem(entryItem.createObject(menu.contentItem, {
                    "text": entry.text,
                    "entryId": id,
                    "entryAction": entry.action
                }))
        }
        popup(position.x, position.y)
    }

    Component {
        id: divider
        MenuSeparator {}
    }
    Component {
        id: entryItem
        MenuItem {
            property string entryId
            property string entryAction
            onTriggered: () => menu.model.trigger(entryId, entryAction)
        }
    }
}
