import QtQuick
import QtQuick.Controls
import Morvane

// The user's playlists as a grid of cards, as many 164-to-190-point columns as fit, with the two
// ways to make one above it.
GridView {
    id: grid

    required property PlaylistsModel playlists

    readonly property real available: width - 2 * Theme.pageInset
    readonly property int columns: Math.max(1, Math.floor((available + 18) / (164 + 18)))

    objectName: "playlistGrid"
    leftMargin: Theme.pageInset
    // Each cell carries its spacing after it: the last one's goes into the margin.
    rightMargin: Theme.pageInset - 18
    bottomMargin: 40
    cellWidth: Math.min(190, (available - 18 * (columns - 1)) / columns) + 18
    cellHeight: 222 + 22
    clip: true
    boundsBehavior: Flickable.StopAtBounds
    model: playlists.cards
    ScrollBar.vertical: ScrollBar {}

    header: PageHeader {
        id: top

        readonly property PlaylistsScreen screen: GridView.view as PlaylistsScreen

        width: top.screen.available
        view: top.screen
        topPadding: 26
        bottomPadding: 20
        title: qsTr("Playlists")

        PillButton {
            objectName: "newPlaylist"
            title: qsTr("New Playlist")
            symbol: "plus"
            prominent: true
            onClicked: top.screen.playlists.newPlaylist()
        }
        PillButton {
            objectName: "importPlaylist"
            title: qsTr("Import from YouTube")
            symbol: "square.and.arrow.down"
            onClicked: top.screen.playlists.importPlaylist()
        }
    }

    delegate: Card {}

    TabOrder {
        content: grid.contentItem
    }

    footer: EmptyState {
        id: none

        readonly property PlaylistsScreen screen: GridView.view as PlaylistsScreen

        objectName: "noPlaylists"
        width: none.screen.available
        height: none.screen.playlists.empty ? 300 : 0
        visible: none.screen.playlists.empty
        symbol: "music.note.list"
        title: qsTr("No playlists yet")
        message: qsTr("Create one, import a YouTube playlist, or use “Add to Playlist” on any song.")
    }
}
