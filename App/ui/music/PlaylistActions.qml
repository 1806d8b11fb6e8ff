import QtQuick
import Morvane

// The playlist's own buttons beside Play, Shuffle and Download: Rename and Delete.
Row {
    id: actions

    required property PlaylistDetailModel model

    spacing: 10

    SymbolToolButton {
        objectName: "rename"
        symbol: "pencil"
        help: qsTr("Rename")
        colour: Theme.dim
        onClicked: actions.model.rename()
    }

    SymbolToolButton {
        objectName: "delete"
        symbol: "trash"
        help: qsTr("Delete playlist")
        colour: Theme.dim
        onClicked: actions.model.deletePlaylist()
    }
}
