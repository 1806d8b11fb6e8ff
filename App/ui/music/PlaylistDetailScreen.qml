import QtQuick
import Morvane

// One user playlist: its songs, dragged to reorder, with Rename and Delete beside the list's
// buttons; "Playlist not found" once it is gone.
Item {
    id: detail

    required property PlaylistDetailModel model

    TrackListScreen {
        anchors.fill: parent
        visible: detail.model.found
        model: detail.model
        reorderable: true
        extraFile: "PlaylistActions.qml"
        extraProperties: ({
                "model": detail.model
            })
        onMoved: (from, to) => detail.model.move(from, to)
    }

    EmptyState {
        objectName: "playlistNotFound"
        anchors.fill: parent
        visible: !detail.model.found
        symbol: "music.note.list"
        title: qsTr("Playlist not found")
        message: qsTr("It may have been deleted.")
    }
}
