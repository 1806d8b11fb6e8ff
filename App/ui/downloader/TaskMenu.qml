import QtQuick
import QtQuick.Controls
import Morvane

// The context menu of a queue row, one for the whole list: filled with the row's entries when it
// opens, so it names the task by id and offers what the row offered at that moment.
Menu {
    id: menu

    required property DownloadQueueModel queue
    property string taskId: ""
    // Where the keyboard was when the menu opened, and goes back to once it closes (a closed menu
    // leaves it nowhere).
    property Item returnFocus: null

    onClosed: if (returnFocus)
        returnFocus.forceActiveFocus()

    // Opens at `position` in the list's coordinates, or at the pointer without one.
    function show(taskId, entries, position) {
        menu.taskId = taskId;
        returnFocus = (parent as Item).Window.activeFocusItem;
        while (count > 0)
            takeItem(0).destroy();
        // Entries belong to the menu, or the script's garbage collector may take them while it is open.
        for (const entry of entries) {
            if (entry.divider) {
                addItem(separator.createObject(menu.contentItem));
                continue;
            }
            const item = entryItem.createObject(menu.contentItem, {
                    "text": entry.text,
                    "objectName": entry.action
                }) as MenuItem;
            item.triggered.connect(() => queue.trigger(taskId, item.objectName));
            addItem(item);
        }
        if (position)
            popup(position.x, position.y);
        else
            popup();
    }

    Component {
        id: entryItem

        MenuItem {}
    }

    Component {
        id: separator

        MenuSeparator {}
    }
}
