import QtQuick
import QtQuick.Controls
import Morvane

// The queue's rows in queue order. A dragged row is named by its task id, and so is the task it
// lands before: both are resolved against the queue as it is at the drop, so a list that changed
// during the drag moves only the dragged task, or nothing when it is gone.
ListView {
    id: list

    required property DownloadQueueModel queue

    // The task being dragged, and where it would land: before `dropBefore` ("" for the end).
    property string draggedTask: ""
    property string dropBefore: ""
    property real dropLineY: 0

    // A row dragged to `y` (in the list's content) lands before the row under the pointer when in
    // its upper half, else before the next one.
    function dragTo(taskId, y) {
        draggedTask = taskId;
        const row = indexAt(width / 2, y);
        if (row < 0) {
            const above = y < 0 && count > 0;
            dropBefore = above ? queue.idAt(0) : "";
            dropLineY = above ? 0 : contentHeight;
            return;
        }
        const under = itemAtIndex(row);
        const upper = y < under.y + under.height / 2;
        dropBefore = queue.idAt(upper ? row : row + 1);
        dropLineY = upper ? under.y : under.y + under.height;
    }

    function drop() {
        if (draggedTask !== "")
            queue.moveTask(draggedTask, dropBefore);
        draggedTask = "";
        dropBefore = "";
    }

    // At the pointer, or below `row` when the keyboard asks.
    function showMenu(taskId, entries, row) {
        menu.show(taskId, entries, row ? mapFromItem(row, 0, row.height) : undefined);
    }

    clip: true
    reuseItems: true
    model: queue
    ScrollBar.vertical: ScrollBar {}

    Rectangle {
        visible: list.draggedTask !== ""
        y: list.dropLineY - height / 2
        width: list.width
        height: 2
        color: Theme.accent
    }

    TaskMenu {
        id: menu
        objectName: "taskMenu"
        queue: list.queue
    }
}
