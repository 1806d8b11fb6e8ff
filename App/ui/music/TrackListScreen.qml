import QtQuick
import QtQuick.Controls
import Morvane

// A titled song list: the header (cover, title, count line, Play, Shuffle, Download and the
// screen's own buttons) scrolls with the rows in one list, so only the rows in sight are
// built. Only with `reorderable` does a row take a drag: it follows the pointer, the list scrolls
// while the pointer is near its top or bottom edge, and the drop names the row it lands before in
// the list as it stands then. Elsewhere a drag scrolls the list.
Item {
    id: screen

    required property SongListScreenModel model
    // The screen's own buttons after Download: a file of this folder and its properties.
    property string extraFile
    property var extraProperties: ({})
    property bool reorderable: false
    // The row being dragged; the pointer in the list's own coordinates, and where it was grabbed
    // (content y).
    property int draggedRow: -1
    property real pointerY: -1
    property real grabY: -1
    // Where the drop line stands (content y): it follows the pointer and the list's scrolling.
    readonly property real dropY: draggedRow >= 0 ? pointerY + songList.contentY : -1
    // -1 near the top edge, 1 near the bottom edge, 0 elsewhere or without a drag.
    readonly property int scrollEdge: draggedRow < 0 ? 0 : pointerY < 48 ? -1 : pointerY > songList.height - 48 ? 1 : 0

    // A row dropped before the row at `destination` of the list as it stands at the drop.
    signal moved(int source, int destination)

    function grab(row, y) {
        pointerY = y
        draggedRow = row
        grabY = dropY
        // The current row is never released, so the dragged one stays while it scrolls away.
        songList.currentIndex = row
    }

    function drop() {
        let before = songList.indexAt(songList.width / 2, dropY)
        if (before < 0)
            before = dropY < songList.originY + songList.headerItem.height ? 0 : songList.count
        else if (dropY - songList.itemAtIndex(before).y > songList.itemAtIndex(before).height / 2)
            ++before
        if (draggedRow >= 0)
            moved(draggedRow, before)
        draggedRow = -1
        pointerY = -1
    }

    ListView {
        id: songList

        objectName: "songList"
        anchors.fill: parent
        model: screen.model.tracks
        reuseItems: true
        bottomMargin: 18
        boundsBehavior: Flickable.StopAtBounds
        ScrollBar.vertical: ScrollBar {}

        header: SongListHeader {
            width: ListView.view.width
            model: (ListView.view.parent as TrackListScreen).model
            extraFile: (ListView.view.parent as TrackListScreen).extraFile
            extraProperties: (ListView.view.parent as TrackListScreen).extraProperties
        }

        delegate: TrackRow {
            id: trackRow

            readonly property TrackListScreen host: ListView.view.parent as TrackListScreen
            readonly property bool dragged: host.draggedRow === index

            objectName: "trackRow" + index
            x: Theme.pageInset
            width: ListView.view.width - 2 * Theme.pageInset
            z: dragged ? 1 : 0
            list: ListView.view.model
            onMenuRequested: (row, at, x, y) => menus.open(row, at, x, y)

            transform: Translate {
                y: trackRow.dragged ? trackRow.host.dropY - trackRow.host.grabY : 0
            }

            // Solid while it moves, so the rows it passes over do not show through it.
            Rectangle {
                z: -1
                anchors.fill: parent
                visible: trackRow.dragged
                radius: 8
                color: Theme.side
                border.color: Theme.stroke
            }

            DragHandler {
                target: null
                enabled: trackRow.host.reorderable
                xAxis.enabled: false
                onActiveChanged: () => {
                    if (active)
                        trackRow.host.grab(trackRow.index, trackRow.ListView.view.mapFromItem(null, centroid.scenePosition).y)
                    else
                        trackRow.host.drop()
                }
                onCentroidChanged: () => {
                    if (active)
                        trackRow.host.pointerY = trackRow.ListView.view.mapFromItem(null, centroid.scenePosition).y
                }
            }
        }

        TabOrder {
            content: songList.contentItem
        }

        SmoothedAnimation {
            target: songList
            property: "contentY"
            running: screen.scrollEdge !== 0
            velocity: 500
            to: screen.scrollEdge < 0 ? songList.originY - songList.topMargin
                                      : Math.max(songList.originY - songList.topMargin,
                                                 songList.originY + songList.contentHeight + songList.bottomMargin - songList.height)
        }

        // Where the dragged row will land: above the row, which is under the pointer.
        Rectangle {
            parent: songList.contentItem
            z: 2
            visible: screen.draggedRow >= 0 && screen.dropY >= 0
            x: Theme.pageInset
            y: screen.dropY
            width: songList.width - 2 * Theme.pageInset
            height: 2
            color: Theme.accent
        }
    }

    TrackMenuHost {
        id: menus

        list: screen.model.tracks
    }
}
