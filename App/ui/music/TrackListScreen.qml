import QtQuick
import QtQuick.Controls
import Morvane

// A titled song list: the header (cover, title, count line, Play, Shuffle, Download and the
// screen's own buttons) scrolls with the rows in one list, so only the rows in sight are
// built. With `reorderable` a row is dragged to a new place; the drop names the row it lands
// before in the list as it stands then.
Item {
    id: screen

    required property SongListScreenModel model
    // The screen's own buttons after Download: a file of this folder and its properties.
    property string extraFile
    property var extraProperties: ({})
    property bool reorderable: false
    // The row being dragged, and where the drop line stands (content y).
    property int draggedRow: -1
    property real dropY: -1

    // A row dropped before the row at `destination` of the list as it stands at the drop.
    signal moved(int source, int destination)

    function drop() {
        let before = songList.indexAt(songList.width / 2, dropY)
        if (before < 0)
            before = dropY < songList.originY + songList.headerItem.height ? 0 : songList.count
        else if (dropY - songList.itemAtIndex(before).y > songList.itemAtIndex(before).height / 2)
            ++before
        if (draggedRow >= 0)
            moved(draggedRow, before)
        draggedRow = -1
        dropY = -1
    }

    ListView {
        id: songList

        objectName: "songList"
        anchors.fill: parent
        model: screen.model.tracks
        reuseItems: true
        // One stop of the Tab chain; the arrows move from song to song.
        activeFocusOnTab: true
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

            objectName: "trackRow" + index
            x: 28
            width: ListView.view.width - 56
            list: ListView.view.model
            onMenuRequested: (row, at, x, y) => menus.open(row, at, x, y)

            DragHandler {
                target: null
                xAxis.enabled: false
                onActiveChanged: () => {
                    if (!screen.reorderable)
                        return
                    if (active)
                        screen.draggedRow = trackRow.index
                    else
                        screen.drop()
                }
                onCentroidChanged: () => {
                    if (active && screen.reorderable)
                        screen.dropY = trackRow.mapToItem(songList.contentItem, centroid.position).y
                }
            }
        }

        // Where the dragged row will land.
        Rectangle {
            parent: songList.contentItem
            visible: screen.draggedRow >= 0 && screen.dropY >= 0
            x: 28
            y: screen.dropY
            width: songList.width - 56
            height: 2
            color: Theme.accent
        }
    }

    TrackMenuHost {
        id: menus

        list: screen.model.tracks
    }
}
