import QtQuick
import QtQuick.Controls
import Morvane

// The results in one list: the title, count and actions, the playlists shelf, then the song rows,
// numbered from 1, each playing within the whole list.
ListView {
    id: results

    required property SearchScreenModel screenModel

    objectName: "resultsList"
    model: screenModel.tracks
    reuseItems: true
    topMargin: 24
    bottomMargin: 24
    boundsBehavior: Flickable.StopAtBounds
    ScrollBar.vertical: ScrollBar {}

    header: SearchResultsHeader {
        width: ListView.view.width
        model: (ListView.view as SearchResults).screenModel
    }

    delegate: TrackRow {
        objectName: "trackRow" + index
        x: 18
        width: ListView.view.width - 36
        list: ListView.view.model
        onMenuRequested: (row, at, x, y) => menus.open(row, at, x, y)
    }

    TabOrder {
        content: results.contentItem
    }

    TrackMenuHost {
        id: menus

        list: results.screenModel.tracks
    }
}
