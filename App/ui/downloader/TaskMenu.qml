import QtQuick
import QtQuick.Controls
import Morvane

// The context menu of a queue row, one for the whole list: filled with the row's entries when it
// opens, so it names the task by id and offers what the row offered at that moment.
Menu {
    id: menu

    required property DownloadQueueModel queue
    property string taskId: ""

    function show(taskId, entries) {
        menu.taskId = taskId;
        while (count > 0)
            takeItem(0).destroy();
        for (const entry of entries) {
            if (entry.divider) {
                addItem(separator.createObject(null));
                continue;
            }
            const item = entryItem.createObject(null, {
                    "text": entry.text,
                    "objectName": entry.action
                }) as MenuItem;
            item.triggered.connect(() => queue.trigger(taskId, item.objectName));
            addItem(item);
        }
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
